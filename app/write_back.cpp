// SPDX-License-Identifier: GPL-3.0-or-later
// Save, Save As and the unsaved-changes question.
#include <cstring>
#include <vector>

#include "app/main_dialog.h"
#include "res/control_ids.h"

namespace quibo {

bool MainDialog::StillAsLoaded(FileHandle& file, bool sameFile) {
    std::string change;
    SizeResult size = file.Size();
    if (sameFile && file.Identity() != loadedIdentity_) {
        change = "another file has taken its name";
    } else if (!size.ok || size.bytes != loadedSize_) {
        change = "its length is now " + (size.ok ? std::to_string(size.bytes) : std::string("unknown")) +
                 " bytes, not " + std::to_string(loadedSize_.value_or(-1));
    } else {
        std::vector<std::uint8_t> now(loadedLength_);
        ReadResult read = file.ReadFromStart(now.data(), now.size());
        if (!read.ok) {
            ReportSystemError("File Read Error", "Error reading file %s:\n\n", filePath_, read.error);
            return false;
        }
        if (read.count == now.size() && std::memcmp(now.data(), loadedImage_.get(), now.size()) == 0) return true;
        change = "its first bytes are not those Quibo read";
    }
    services_.messages.Show({ReplacePathPlaceholder("%s has changed since Quibo read it: ", filePath_) + change +
                                 ".\n\nNothing was written; the edits are kept. Open the file again to edit it as "
                                 "it is now.",
                             "File Changed on Disk", MessageButtons::Ok, MessageIcon::Exclamation});
    return false;
}

bool MainDialog::WriteImageTo(FileHandle& file, const std::string& path) {
    WriteResult written = file.WriteAtStart(fileImage_.get(), writeLength_);
    if (written.ok && written.count == writeLength_) return true;
    ReportSystemError("File Write Failure", "Write operation failed for %s:\n\n", path, written.error);
    return false;
}

bool MainDialog::WriteImage() {
    // The exclusive lock is held from the check to the end of the write.
    OpenResult opened = services_.files.OpenExclusiveReadWrite(filePath_);
    if (!opened.handle) {
        ReportSystemError("File Open Failure", "Unable to open file %s:\n\n", filePath_, opened.error);
        return false;
    }
    if (!StillAsLoaded(*opened.handle, true) || !WriteImageTo(*opened.handle, filePath_)) return false;
    // The file now starts with the image: a later save checks against it.
    std::memcpy(loadedImage_.get(), fileImage_.get(), loadedLength_);
    imageModified_ = false;
    return true;
}

bool MainDialog::ConfirmAndWrite() {
    if (services_.messages.Show({"Overwrite the input file with updated version?", "File Modification Confirmation",
                                 MessageButtons::OkCancel, MessageIcon::Question}) != MessageAnswer::Ok)
        return false;
    FieldSurface& fields = services_.fields;
    fields.SetChecked(control::kFileStatus, true);
    fields.SetEnabled(control::kFileStatus, true);
    bool written = WriteImage();
    fields.SetText(control::kFileStatus, written ? "Update successful" : "* Update failed *");
    return written;
}

int MainDialog::AskSaveChanges(const std::string& caption) {
    MessageAnswer answer = services_.messages.Show({ReplacePathPlaceholder("Save changes to %s?", filePath_), caption,
                                                    MessageButtons::YesNoCancel, MessageIcon::Question});
    if (answer == MessageAnswer::Cancel) return -1;
    if (answer == MessageAnswer::Yes) ConfirmAndWrite();
    return 1;
}

bool MainDialog::OnSaveAs() {
    std::optional<std::string> chosen =
        services_.dialogs.AskSavePath({"Save modified copy of AVI file to...", AviFileFilters(), filePath_});
    if (!chosen || services_.copier == nullptr || services_.copyObserver == nullptr) return false;
    // The edits go into the copy before it takes its name: there is never a
    // copy without them. It is copied from the file as it is now, which must
    // still be the file that was read.
    auto finish = [&](FileHandle& copy) { return StillAsLoaded(copy, false) && WriteImageTo(copy, *chosen); };
    if (services_.copier->Copy(filePath_, *chosen, *services_.copyObserver, finish) != 0) return false;
    imageModified_ = false;
    pendingFileName_ = *chosen;
    OnFileOpen();
    FieldSurface& fields = services_.fields;
    fields.SetChecked(control::kFileStatus, true);
    fields.SetEnabled(control::kFileStatus, true);
    fields.SetText(control::kFileStatus, "Copying and modification successful");
    return true;
}

}  // namespace quibo
