#include "viewer/qt/library_messages.h"

#include "varnel.h"
#include "viewer/qt/message_box.h"

#include <QApplication>
#include <QPointer>
#include <QThread>
#include <QWidget>

namespace {
// Written only on the user-interface thread, and read there.
QPointer<QWidget> messageParent;

void ShowLibraryMessage(const QString& text)
{
    ShowMessageBox(messageParent, "Varnel", text, MessageIcon::Warning);
}

int LibraryMessageHandler(const char* text)
{
    QString message = QString::fromUtf8(text);
    QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() == application->thread()) {
        ShowLibraryMessage(message);
        return 1;
    }
    if (application)
        QMetaObject::invokeMethod(
            application, [message] { ShowLibraryMessage(message); }, Qt::QueuedConnection);
    return 1;
}
} // namespace

void InstallLibraryMessageHandler(QWidget* parent)
{
    messageParent = parent;
    VarnelSetMessageHandler(LibraryMessageHandler);
}

void RestoreLibraryMessageHandler()
{
    VarnelSetMessageHandler(nullptr);
    messageParent = nullptr;
}
