#include "viewer/qt/form_dialog.h"

#include "viewer/qt/message_box.h"

#include <QLineEdit>

void TellUser(QDialog* dialog, const std::optional<DialogNotice>& notice, QWidget* focus)
{
    if (!notice)
        return;
    ShowMessageBox(dialog, "Varnview", ToQString(notice->text), notice->icon);
    if (!focus)
        return;
    focus->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(focus))
        edit->selectAll();
}
