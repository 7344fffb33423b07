// The program's modal message boxes, for its own messages and the library's.
#pragma once

#include "viewer/shell.h"

#include <QString>

class QWidget;

// Shows text as plain text (it may hold a suit's name or a path) under the
// caption and waits for the answer; Esc answers Cancel, or Ok.
MessageAnswer ShowMessageBox(QWidget* parent, const QString& caption, const QString& text,
                             MessageIcon icon, MessageButtons buttons = MessageButtons::Ok);
