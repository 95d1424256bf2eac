// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit, Delete and New commands of the RIFF Info list.
#include <algorithm>
#include <cstring>

#include "riff/riff_layout.h"
#include "app/main_dialog.h"
#include "info/field_code.h"
#include "info/info_field_table.h"
#include "info/info_rebuild.h"
#include "info/new_info_list.h"

namespace quibo {

bool MainDialog::RefuseEditPastImage() {
    if (!pastImage_.infoList) return false;
    services_.messages.Show({"The INFO list of this file lies at byte " + std::to_string(*pastImage_.infoList) +
                                 ", past the first " + std::to_string(kImageCapacity) +
                                 " bytes, which are all Quibo rewrites. File will not be modified",
                             "Edit Failed", MessageButtons::Ok, MessageIcon::Exclamation});
    return true;
}

bool MainDialog::OnEditField() {
    if (!fileImage_ || RefuseEditPastImage()) return false;
    std::memcpy(workImage_.get(), fileImage_.get(), kImageCapacity);
    return ApplyInfoEdit(InfoEditKind::Edit);
}

bool MainDialog::OnDeleteField() {
    if (!fileImage_ || RefuseEditPastImage()) return false;
    std::memcpy(workImage_.get(), fileImage_.get(), kImageCapacity);
    return ApplyInfoEdit(InfoEditKind::Delete);
}

bool MainDialog::OnNewField() {
    if (!fileImage_ || RefuseEditPastImage()) return false;
    std::memcpy(workImage_.get(), fileImage_.get(), kImageCapacity);
    if (report_.walk.firstInfoChunk) {
        // The new field goes in front of the first field of the INFO list.
        request_.target = *report_.walk.firstInfoChunk;
    } else {
        std::optional<std::size_t> junk = JunkForNewInfoList(report_.walk, fileImage_.get());
        bool fits = junk.has_value();
        TemplateUndo undo;
        if (fits) {
            undo.offset = *junk;
            undo.length = std::min(sizeof undo.bytes, kImageCapacity - *junk);
            std::memcpy(undo.bytes, fileImage_.get() + *junk, undo.length);
            fits = LayNewInfoList(fileImage_.get(), *junk);
            // The JUNK of a cut file may reach past its bytes.
            imageDirtyEnd_ = kImageCapacity;
        }
        if (!fits) {
            services_.messages.Show({"No Room to Insert. File will not be modified", "Edit Failed", MessageButtons::Ok,
                                     MessageIcon::Exclamation});
            return false;
        }
        templateUndo_ = undo;
        request_.target = *junk + kTemplateFieldOffset;
    }
    request_.kind = InfoEditKind::Insert;
    std::memcpy(request_.code, "----", 5);
    request_.text.clear();
    return ApplyInfoEdit(InfoEditKind::Insert);
}

void MainDialog::UndoNewInfoList() {
    if (!templateUndo_) return;
    std::memcpy(fileImage_.get() + templateUndo_->offset, templateUndo_->bytes, templateUndo_->length);
    templateUndo_.reset();
}

void MainDialog::ShowEditFailure(const std::string& caption) {
    services_.messages.Show({"Edit Failed. File will not be modified", caption, MessageButtons::Ok,
                             MessageIcon::Exclamation});
}

bool MainDialog::ApplyInfoEdit(InfoEditKind kind) {
    if (kind != InfoEditKind::Insert) {
        const InfoRow* row = SelectedRow();
        if (row == nullptr) return false;
        if (!row->location) {
            services_.messages.Show({"Field not editable", "Internal Error", MessageButtons::Ok, MessageIcon::None});
            return false;
        }
        request_.kind = kind;
        request_.target = *row->location;
        request_.text = row->text;
        std::memset(request_.code, 0, sizeof request_.code);
        std::memcpy(request_.code, row->code.data(), std::min<std::size_t>(row->code.size(), 4));
        if (kind == InfoEditKind::Delete) {
            std::string question =
                "Delete info node " + std::string(request_.code) + " (" + InfoFieldNameFor(row->code) + ")?";
            if (services_.messages.Show({question, "Confirm", MessageButtons::OkCancel, MessageIcon::Question}) !=
                MessageAnswer::Ok)
                return false;
        }
    }
    if (kind != InfoEditKind::Delete) {
        std::string text = request_.text;
        char code[5];
        std::memcpy(code, request_.code, sizeof code);
        if (services_.editor == nullptr || !services_.editor->Run(InfoFieldTable, text, code, kind)) {
            std::memcpy(fileImage_.get(), workImage_.get(), kImageCapacity);
            templateUndo_.reset();
            return false;
        }
        // A new code must be one that reads back as a field that can be
        // edited again; a field keeps the code it has.
        if ((kind == InfoEditKind::Insert || std::strncmp(code, request_.code, 4) != 0) &&
            FieldCodeProblem(std::string_view(code, ::strnlen(code, 4)))) {
            std::memcpy(fileImage_.get(), workImage_.get(), kImageCapacity);
            templateUndo_.reset();
            ShowEditFailure("Invalid Field Code");
            return false;
        }
        // The stored text ends at its first NUL.
        request_.text.assign(text.c_str());
        std::memcpy(request_.code, code, 4);
        request_.code[4] = '\0';
    }

    RebuildResult rebuilt = RebuildInfoTree(fileImage_.get(), workImage_.get(), loadedLength_, request_);
    bool committed = rebuilt.outcome == RebuildOutcome::Committed;
    if (committed) {
        std::memcpy(fileImage_.get(), workImage_.get(), kImageCapacity);
        // Unsaved edits before this one may have reached further.
        writeLength_ = imageModified_ ? std::max(writeLength_, rebuilt.highWaterMark) : rebuilt.highWaterMark;
        templateUndo_.reset();
    } else {
        UndoNewInfoList();
        ShowEditFailure(rebuilt.outcome == RebuildOutcome::NoRoom ? "No Room to Reorganize" : "Unspecified Error");
    }
    OnViewRefresh();
    if (committed) imageModified_ = true;
    return committed;
}

}  // namespace quibo
