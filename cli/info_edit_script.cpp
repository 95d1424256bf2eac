// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/info_edit_script.h"

#include <algorithm>
#include <cstring>

#include "info/field_code.h"

namespace quibo {
namespace {

// The first row with exactly this code that may be edited, selected.
bool SelectEditableRow(MainDialog& dialog, RecordedFields& fields, const std::string& code) {
    const std::vector<InfoRow>& rows = dialog.Report().rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].code != code) continue;
        fields.Select(static_cast<int>(i));
        if (dialog.CanEditSelection()) return true;
    }
    fields.Select(-1);
    return false;
}

}  // namespace

std::optional<std::string> CheckFieldCode(const std::string& code) {
    if (code.size() != 4) return "a field code has four characters: \"" + code + "\"";
    return std::nullopt;
}

std::optional<std::string> ParseSetArgument(const std::string& argument, EditOperation& operation) {
    std::size_t equals = argument.find('=');
    if (equals == std::string::npos) return "--set takes CODE=TEXT: \"" + argument + "\"";
    operation.kind = EditOperation::Kind::Set;
    operation.code = argument.substr(0, equals);
    operation.text = argument.substr(equals + 1);
    if (auto error = FieldCodeProblem(operation.code)) return error;
    if (operation.text.find('\0') != std::string::npos || operation.text.size() > kInfoTextCapacity)
        return "a field text has at most 1,023 bytes";
    return std::nullopt;
}

bool ScriptedInfoEditor::Run(const InfoFieldName*, std::string& text, char (&code)[5], InfoEditKind) {
    text = text_;
    if (code_) {
        std::memset(code, 0, sizeof code);
        std::memcpy(code, code_->data(), std::min<std::size_t>(code_->size(), 4));
    }
    return true;
}

bool ScriptCopyObserver::ConfirmReplace(const std::string& target) {
    messages_.Show({target + " already exists and is not replaced.", "Save As", MessageButtons::Ok,
                    MessageIcon::Exclamation});
    return false;
}

void ScriptCopyObserver::Failed(const std::string& text) {
    messages_.Show({text, "Save As", MessageButtons::Ok, MessageIcon::Exclamation});
}

bool ApplyEditOperations(MainDialog& dialog, RecordedFields& fields, ScriptedInfoEditor& editor,
                         CollectedMessages& messages, const std::vector<EditOperation>& operations) {
    if (dialog.RefuseEditPastImage()) return false;
    for (const EditOperation& operation : operations) {
        bool found = SelectEditableRow(dialog, fields, operation.code);
        bool committed = false;
        if (operation.kind == EditOperation::Kind::Delete) {
            if (!found) {
                messages.Show({"No RIFF Info field " + operation.code + " to delete.", "Delete", MessageButtons::Ok,
                               MessageIcon::Exclamation});
                return false;
            }
            committed = dialog.OnDeleteField();
        } else if (found) {
            editor.Answer(operation.text, std::nullopt);
            committed = dialog.OnEditField();
        } else {
            editor.Answer(operation.text, operation.code);
            committed = dialog.OnNewField();
        }
        if (!committed) return false;
    }
    return true;
}

bool WriteEdits(MainDialog& dialog, ScriptFileDialogs& dialogs, const std::optional<std::string>& output) {
    if (!dialog.ImageModified()) return true;
    if (!output) return dialog.ConfirmAndWrite();
    dialogs.SetSavePath(output);
    return dialog.OnSaveAs() && dialog.FileAnalysed();
}

std::optional<std::string> ParseFourCCArgument(const std::string& argument, FourCCChange& change) {
    const std::size_t equals = argument.find('=');
    const std::string field = equals == std::string::npos ? "" : argument.substr(0, equals);
    change.fourCC = argument.substr(equals == std::string::npos ? 0 : equals + 1);
    if (field == "handler") change.fields = FourCCFields::Handler;
    else if (field == "compression") change.fields = FourCCFields::Compression;
    else if (!field.empty()) return "\"" + field + "\" is neither handler nor compression";
    if (!IsPrintableFourCC(change.fourCC))
        return "\"" + change.fourCC + "\" is no FourCC: it takes four printable ASCII characters";
    return std::nullopt;
}

bool ApplyFourCCChange(MainDialog& dialog, CollectedMessages& messages, const FourCCChange& change, bool force) {
    if (const auto warning = dialog.DecoderChangeWarning(change.fourCC, change.fields); warning && !force) {
        messages.Show({*warning + " --force changes it all the same. File will not be modified", "Change FourCC",
                       MessageButtons::Ok, MessageIcon::Exclamation});
        return false;
    }
    return dialog.ChangeVideoFourCC(change.fourCC, change.fields);
}

}  // namespace quibo
