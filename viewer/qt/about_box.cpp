#include "viewer/qt/about_box.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

void ShowAboutBox(QWidget* parent, const QString& text)
{
    QDialog dialog(parent);
    dialog.setWindowTitle("About Varnview");
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    dialog.adjustSize();

    // The whole window, frame included, where the desktop tells its frame
    // before the window is shown.
    dialog.winId();
    QSize size = dialog.frameGeometry().size();
    QRect screen = dialog.screen()->geometry();
    dialog.move(screen.x() + (screen.width() - size.width()) / 2,
                screen.y() + (screen.height() - size.height()) / 2);
    dialog.exec();
}
