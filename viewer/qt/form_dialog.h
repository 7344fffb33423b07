// What the option dialogs share: the texts between a form and its controls,
// and a form's notice shown over the dialog with the focus put back.
#pragma once

#include "viewer/dialog_fields.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <string>

inline QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

inline std::string FromQString(const QString& text)
{
    return text.toStdString();
}

// Shows the notice, if any, over the dialog, then gives the focus to the
// control it names (focus, null for none) with its text selected, so the
// user types over the refused value. The dialog stays open.
void TellUser(QDialog* dialog, const std::optional<DialogNotice>& notice, QWidget* focus);
