// SPDX-License-Identifier: GPL-3.0-or-later
// The INFO edits of the command line (--set, --delete), run through the
// main window's own edit commands, and their write-back (Save or Save As).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "cli/collected_messages.h"
#include "info/info_editor.h"
#include "platform/file_copy.h"
#include "platform/file_dialogs.h"
#include "platform/recorded_fields.h"

namespace quibo {

struct EditOperation {
    enum class Kind { Set, Delete } kind;
    std::string code;  // four characters
    std::string text;  // Set only
};

// A change of the first video stream's FourCC (--set-fourcc).
struct FourCCChange {
    std::string fourCC;
    FourCCFields fields = FourCCFields::Both;
};

// "CODE", "handler=CODE" or "compression=CODE" into a change; an error text
// when it is none of them or CODE is not four printable ASCII characters.
std::optional<std::string> ParseFourCCArgument(const std::string& argument, FourCCChange& change);

// Makes the change in the analysed file's image, unless FFmpeg would then
// decode it with another decoder and `force` is not given. True when made.
bool ApplyFourCCChange(MainDialog& dialog, CollectedMessages& messages, const FourCCChange& change, bool force);

// "CODE=TEXT" into a Set operation; an error text when it is not one or
// when CODE cannot name a field.
std::optional<std::string> ParseSetArgument(const std::string& argument, EditOperation& operation);
// An error text when `code` is not four characters (any field present can
// be deleted).
std::optional<std::string> CheckFieldCode(const std::string& code);

// The editor, answering with what the command line asked for.
class ScriptedInfoEditor final : public InfoEditor {
public:
    void Answer(std::string text, std::optional<std::string> code) {
        text_ = std::move(text);
        code_ = std::move(code);
    }
    bool Run(const InfoFieldName* codeTable, std::string& text, char (&code)[5], InfoEditKind mode) override;

private:
    std::string text_;
    std::optional<std::string> code_;
};

// Save As asks no questions of a script: an existing target is not replaced.
class ScriptCopyObserver final : public CopyObserver {
public:
    explicit ScriptCopyObserver(CollectedMessages& messages) : messages_(messages) {}
    bool ConfirmReplace(const std::string& target) override;
    bool Progress(std::uint64_t, std::uint64_t) override { return true; }
    void Failed(const std::string& text) override;

private:
    CollectedMessages& messages_;
};

// The Open dialog is never needed; the Save dialog names --output.
class ScriptFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> AskOpenPath(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> AskSavePath(const FileDialogRequest&) override { return savePath_; }
    void SetSavePath(std::optional<std::string> path) { savePath_ = std::move(path); }

private:
    std::optional<std::string> savePath_;
};

// Applies the operations in order to the analysed file; stops at the first
// that fails. True when every one was committed.
bool ApplyEditOperations(MainDialog& dialog, RecordedFields& fields, ScriptedInfoEditor& editor,
                         CollectedMessages& messages, const std::vector<EditOperation>& operations);

// Writes the edits in place (Save) or into a copy at `output` (Save As).
// True when they reached the disk.
bool WriteEdits(MainDialog& dialog, ScriptFileDialogs& dialogs, const std::optional<std::string>& output);

}  // namespace quibo
