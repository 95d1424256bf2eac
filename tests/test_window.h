// The main window's behaviour driven as tests need it: message boxes and
// file dialogs that answer from a script and record what they were asked,
// a scripted INFO editor, the real copy of Save As with a recording
// observer, and a field surface to read back, over any FileAccess: memory
// for crafted images, POSIX for real files.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_dialog.h"
#include "memory_files.h"
#include "platform/posix_file_access.h"
#include "platform/posix_file_copy.h"
#include "platform/recorded_fields.h"
#include "recording_copy_observer.h"
#include "res/command_ids.h"
#include "res/control_ids.h"
#include "riff/riff_layout.h"
#include "riff_builder.h"
#include "scripted_info_editor.h"
#include "temp_dir.h"

namespace quibo::test {

// Answers each message box from a script (Ok once it is used up).
class ScriptedMessageBoxes final : public MessageBoxes {
public:
    void Answer(MessageAnswer answer) { script_.push_back(answer); }
    MessageAnswer Show(const Message& message) override {
        shown_.push_back(message);
        if (script_.empty()) return MessageAnswer::Ok;
        MessageAnswer answer = script_.front();
        script_.pop_front();
        return answer;
    }
    const std::vector<Message>& Shown() const { return shown_; }
    // Drops the answers no question asked for.
    void ForgetUnused() { script_.clear(); }

private:
    std::deque<MessageAnswer> script_;
    std::vector<Message> shown_;
};

// The Open dialog answers from a script (Cancel once it is used up); the
// Save dialog answers `savePath` (nothing: Cancel).
class ScriptedFileDialogs final : public FileDialogs {
public:
    void Answer(std::optional<std::string> path) { script_.push_back(std::move(path)); }
    std::optional<std::string> AskOpenPath(const FileDialogRequest& request) override {
        requests_.push_back(request);
        if (script_.empty()) return std::nullopt;
        std::optional<std::string> answer = script_.front();
        script_.pop_front();
        return answer;
    }
    std::optional<std::string> AskSavePath(const FileDialogRequest& request) override {
        saveTitles.push_back(request.title);
        return savePath;
    }
    const std::vector<FileDialogRequest>& Requests() const { return requests_; }

    std::optional<std::string> savePath;
    std::vector<std::string> saveTitles;

private:
    std::deque<std::optional<std::string>> script_;
    std::vector<FileDialogRequest> requests_;
};

template <class Files>
struct TestWindow {
    explicit TestWindow(std::vector<std::string> codecPlaces = {}, InstalledDecoderSource* decoders = nullptr)
        : dialog({files, messages, dialogs, fields, &editor, &copier, &copyObserver, decoders},
                 std::move(codecPlaces)) {}

    // Opens `path` as the command line does, or through the Open dialog.
    void OpenByName(const std::string& path) {
        dialog.SetPendingFileName(path);
        dialog.OnFileOpen();
    }
    void Open(const std::string& path) {
        dialogs.Answer(path);
        dialog.OnFileOpen();
    }
    // Loads `bytes` as the file "/data/test.avi".
    void Load(const Bytes& bytes) {
        files.Add("/data/test.avi", bytes);
        Open("/data/test.avi");
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

    const std::string& Text(int controlId) const { return fields.Text(controlId); }
    const std::string& Status() const { return Text(control::kFileStatus); }
    // The file's bytes as the image holds them now.
    Bytes Image() const { return Bytes(reinterpret_cast<const char*>(dialog.FileImage()), dialog.LoadedLength()); }
    // Each INFO row as "CODE=contents".
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (const InfoRowText& row : fields.Rows()) rows.push_back(row.code + "=" + row.contents);
        return rows;
    }
    // The boxes shown, each as "caption: text"; the last one.
    std::vector<std::string> Shown() const {
        std::vector<std::string> shown;
        for (const Message& message : messages.Shown()) shown.push_back(message.caption + ": " + message.text);
        return shown;
    }
    Message LastMessage() const { return messages.Shown().empty() ? Message{} : messages.Shown().back(); }

    Files files;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    RecordedFields fields;
    ScriptedInfoEditor editor;
    PosixFileCopy copier;
    RecordingCopyObserver copyObserver;
    MainDialog dialog;
};

// Installed decoders from a script, counting how often they were asked for.
class ScriptedDecoders final : public InstalledDecoderSource {
public:
    explicit ScriptedDecoders(std::vector<InstalledDecoder> given) : decoders(std::move(given)) {}
    std::vector<InstalledDecoder> Decoders() override {
        ++asked;
        return decoders;
    }
    std::vector<InstalledDecoder> decoders;
    int asked = 0;
};

// Parses `text` as the codec database file.
inline bool ParseCodecText(CodecDatabase& database, const std::string& text) {
    auto buffer = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(buffer.get(), text.data(), text.size());
    return database.Parse(std::move(buffer), text.size());
}

// The window over crafted images in memory, as a test fixture.
class DialogTest : public testing::Test, public TestWindow<MemoryFiles> {};

}  // namespace quibo::test
