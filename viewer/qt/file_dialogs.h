// The file dialogs of the File menu and the question before a take goes,
// over Qt's standard dialogs.
#pragma once

#include "viewer/shell.h"

#include <string>

class QWidget;

enum class FileDialogMode { Open, Save };

// The chosen file's full path in the file system's encoding; "" when
// cancelled. A save asks before replacing a file, and sends the user back
// to the dialog for a read-only file or a folder that does not exist.
std::string ChooseFile(QWidget* parent, const Shell::FileDialog& request, FileDialogMode mode);

// "Save the take before closing?"; Esc and the close box answer Cancel.
Shell::SaveTakeAnswer AskSaveTake(QWidget* parent);
