#include "viewer/qt/file_dialogs.h"

#include "viewer/qt/message_box.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {
const QString Caption = "Varnview";

// Why a chosen save target is refused; empty when it is fine.
QString RefusedSaveTarget(const QString& path)
{
    QFileInfo target(path);
    if (!target.absoluteDir().exists())
        return QString("The folder %1 does not exist.").arg(target.absolutePath());
    if (target.exists() && !target.isWritable())
        return QString("%1 is read-only.").arg(path);
    return {};
}
} // namespace

std::string ChooseFile(QWidget* parent, const Shell::FileDialog& request, FileDialogMode mode)
{
    QFileDialog dialog(parent);
    dialog.setNameFilter(QString::fromUtf8(request.filter));
    dialog.setDefaultSuffix(QString::fromUtf8(request.defaultSuffix));
    if (!request.folder.empty())
        dialog.setDirectory(QFile::decodeName(request.folder.c_str()));
    if (mode == FileDialogMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile); // asks before replacing
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.selectFile(QFile::decodeName(request.proposedName.c_str()));
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return "";
        QString path = dialog.selectedFiles().first();
        QString refusal = mode == FileDialogMode::Save ? RefusedSaveTarget(path) : QString();
        if (refusal.isEmpty())
            return QFile::encodeName(path).toStdString();
        ShowMessageBox(&dialog, Caption, refusal, MessageIcon::Exclamation);
    }
}

Shell::SaveTakeAnswer AskSaveTake(QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, Caption, "Save the take before closing?",
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return Shell::SaveTakeAnswer::Save;
    case QMessageBox::Discard: return Shell::SaveTakeAnswer::Discard;
    default: return Shell::SaveTakeAnswer::Cancel;
    }
}
