#include "viewer/qt/message_box.h"

#include <QMessageBox>

MessageAnswer ShowMessageBox(QWidget* parent, const QString& caption, const QString& text,
                             MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(
        icon == MessageIcon::None ? QMessageBox::NoIcon : QMessageBox::Warning, caption, text,
        buttons == MessageButtons::Ok ? QMessageBox::Ok : QMessageBox::Retry | QMessageBox::Cancel,
        parent);
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
    case QMessageBox::Retry: return MessageAnswer::Retry;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
    }
}
