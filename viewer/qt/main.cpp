// Varnview: the suit's live view, recorder and player.
#include "viewer/qt/main_window.h"

#include <QApplication>
#include <QSessionManager>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    MainWindow window(Viewer());
    // At the desktop's logout the window closes as if asked to, so the
    // settings are written and an unsaved take is not lost.
    QObject::connect(
        &application, &QGuiApplication::commitDataRequest, &window,
        [&window](QSessionManager& manager) { window.CommitData(manager); }, Qt::DirectConnection);
    window.Start();
    return application.exec();
}
