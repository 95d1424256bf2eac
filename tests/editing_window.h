// The main window with a scripted INFO editor, the real copy of Save As
// with a recording observer and a Save dialog that answers as told, over
// any FileAccess: memory for crafted images, POSIX for real files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "platform/posix_file_copy.h"
#include "platform/recorded_fields.h"
#include "recording_copy_observer.h"
#include "riff_builder.h"
#include "scripted_info_editor.h"
#include "scripted_message_boxes.h"

namespace quibo::test {

// Opens nothing; the Save dialog answers `savePath` (nothing: Cancel).
class ScriptedSaveDialog final : public FileDialogs {
public:
    std::optional<std::string> AskOpenPath(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> AskSavePath(const FileDialogRequest& request) override {
        titles.push_back(request.title);
        return savePath;
    }

    std::optional<std::string> savePath;
    std::vector<std::string> titles;
};

template <class Files>
struct EditingWindow {
    void OpenByName(const std::string& path) {
        dialog.SetPendingFileName(path);
        dialog.OnFileOpen();
    }
    bool Edit(int row, const std::string& code, const std::string& text) {
        fields.Select(row);
        editor.Answer(code, text);
        bool committed = dialog.OnEditField();
        editor.ForgetUnused();
        return committed;
    }
    // Deletes the row, confirming the question.
    bool Delete(int row) {
        fields.Select(row);
        messages.Answer(MessageAnswer::Ok);
        return dialog.OnDeleteField();
    }
    bool New(const std::string& code, const std::string& text) {
        editor.Answer(code, text);
        bool committed = dialog.OnNewField();
        editor.ForgetUnused();
        return committed;
    }

    // The file's bytes as the image holds them now.
    Bytes Image() const { return Bytes(reinterpret_cast<const char*>(dialog.FileImage()), dialog.LoadedLength()); }
    // Each INFO row as "CODE=contents".
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (const InfoRowText& row : fields.Rows()) rows.push_back(row.code + "=" + row.contents);
        return rows;
    }
    // The last message shown, or an empty one.
    Message LastMessage() const { return messages.Shown().empty() ? Message{} : messages.Shown().back(); }

    Files files;
    ScriptedMessageBoxes messages;
    ScriptedSaveDialog dialogs;
    RecordedFields fields;
    ScriptedInfoEditor editor;
    PosixFileCopy copier;
    RecordingCopyObserver copyObserver;
    MainDialog dialog{{files, messages, dialogs, fields, &editor, &copier, &copyObserver}};
};

}  // namespace quibo::test
