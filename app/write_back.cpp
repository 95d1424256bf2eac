// Save, Save As and the unsaved-changes question.
#include "app/main_dialog.h"
#include "res/control_ids.h"

namespace quibo {
bool MainDialog::WriteImage() {
    OpenResult opened = services_.files.OpenExclusiveReadWrite(filePath_);
    if (!opened.handle) {
        ReportSystemError("File Open Failure", "Unable to open file %s:\n\n", filePath_, opened.error);
        return false;
    }
    WriteResult written = opened.handle->WriteAtStart(fileImage_.get(), writeLength_);
    if (written.ok && written.count == writeLength_) {
        imageModified_ = false;
        return true;
    }
    ReportSystemError("File Write Failure", "Write operation failed for %s:\n\n", filePath_, written.error);
    return false;
}

void MainDialog::ConfirmAndWrite() {
    if (services_.messages.Show({"Overwrite the input file with updated version?", "File Modification Confirmation",
                                 MessageButtons::OkCancel, MessageIcon::Question}) != MessageAnswer::Ok)
        return;
    FieldSurface& fields = services_.fields;
    fields.SetChecked(control::kFileStatus, true);
    fields.SetEnabled(control::kFileStatus, true);
    bool written = WriteImage();
    fields.SetText(control::kFileStatus, written ? "Update successful" : "* Update failed *");
}

int MainDialog::AskSaveChanges(const std::string& caption) {
    MessageAnswer answer = services_.messages.Show({ReplacePathPlaceholder("Save changes to %s?", filePath_), caption,
                                                    MessageButtons::YesNoCancel, MessageIcon::Question});
    if (answer == MessageAnswer::Cancel) return -1;
    if (answer == MessageAnswer::Yes) ConfirmAndWrite();
    return 1;
}

void MainDialog::OnSaveAs() {
    std::optional<std::string> chosen =
        services_.dialogs.AskSavePath({"Save modified copy of AVI file to...", AviFileFilters(), filePath_});
    if (!chosen) return;
    if (services_.copier == nullptr || services_.copyObserver == nullptr ||
        services_.copier->Copy(filePath_, *chosen, *services_.copyObserver) != 0)
        return;
    filePath_ = *chosen;
    bool written = WriteImage();
    pendingFileName_ = *chosen;
    OnFileOpen();
    if (!written) return;
    FieldSurface& fields = services_.fields;
    fields.SetChecked(control::kFileStatus, true);
    fields.SetEnabled(control::kFileStatus, true);
    fields.SetText(control::kFileStatus, "Copying and modification successful");
}

}  // namespace quibo
