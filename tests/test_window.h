// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as tests need it: message boxes, file dialogs and the INFO editor answer from scripts and
// record what they were asked; the real Save As copy with a recording observer; over any FileAccess.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <csignal>
#include <deque>
#include <functional>
#include <utility>

#include "app/main_dialog.h"
#include "memory_files.h"
#include "platform/posix_file_access.h"
#include "platform/posix_file_copy.h"
#include "platform/recorded_fields.h"
#include "res/command_ids.h"
#include "res/control_ids.h"
#include "riff_builder.h"
#include "temp_dir.h"

namespace quibo::test {

// Answers given in turn; nothing once they are used up.
template <class T>
struct Script {
    std::optional<T> Next() {
        if (answers.empty()) return std::nullopt;
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    // Drops the answers nothing asked for.
    void ForgetUnused() { answers.clear(); }
    std::deque<T> answers;
};

struct EditorReply {
    bool ok;
    std::optional<std::string> code = {}, text = {};  // unset: what the editor was handed
};

// An InfoEditor that records what it was handed and answers from a script: OK with a new code and text, OK with what it
// was handed, or Cancel (also once the script is used up).
class ScriptedInfoEditor final : public InfoEditor, public Script<EditorReply> {
public:
    struct Call {
        std::string text;
        std::string code;
        InfoEditKind mode;
    };

    void Answer(std::string code, std::string text) { answers.push_back({true, std::move(code), std::move(text)}); }
    void Confirm() { answers.push_back({true}); }
    void Cancel() { answers.push_back({false}); }

    bool Run(const InfoFieldName*, std::string& text, char (&code)[5], InfoEditKind mode) override {
        calls.push_back({text, code, mode});
        const std::optional<EditorReply> reply = Next();
        if (!reply || !reply->ok) return false;
        if (reply->code) {
            std::memset(code, 0, sizeof code);
            reply->code->copy(code, 4);
        }
        if (reply->text) text = *reply->text;
        return true;
    }

    std::vector<Call> calls;
};

// A CopyObserver that answers the replace question as told, can cancel the copy or kill its process at a chosen
// progress report, and records what it was told.
class RecordingCopyObserver final : public CopyObserver {
public:
    bool ConfirmReplace(const std::string& target) override {
        replaceAsked.push_back(target);
        return allowReplace;
    }
    bool Progress(std::uint64_t, std::uint64_t) override {
        if (++progressReports == killAtReport) ::raise(SIGKILL);
        return progressReports != cancelAtReport;
    }
    void Failed(const std::string& text) override { failures.push_back(text); }

    bool allowReplace = false;
    int cancelAtReport = 0;  // the report (counted from 1) that cancels; 0: none
    int killAtReport = 0;    // the report that ends the process at once; 0: none
    int progressReports = 0;
    std::vector<std::string> replaceAsked;
    std::vector<std::string> failures;
};

// Answers each message box from a script (Ok once it is used up).
class ScriptedMessageBoxes final : public MessageBoxes, public Script<MessageAnswer> {
public:
    void Answer(MessageAnswer answer) { answers.push_back(answer); }
    MessageAnswer Show(const Message& message) override {
        shown.push_back(message);
        return Next().value_or(MessageAnswer::Ok);
    }

    std::vector<Message> shown;
};

// The Open dialog answers from a script (Cancel once it is used up); the
// Save dialog answers `savePath` (nothing: Cancel).
class ScriptedFileDialogs final : public FileDialogs, Script<std::optional<std::string>> {
public:
    void Answer(std::optional<std::string> path) { answers.push_back(std::move(path)); }
    std::optional<std::string> AskOpenPath(const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return Next().value_or(std::nullopt);
    }
    std::optional<std::string> AskSavePath(const FileDialogRequest& request) override {
        saveTitles.push_back(request.title);
        return savePath;
    }

    std::vector<FileDialogRequest> openRequests;
    std::optional<std::string> savePath;
    std::vector<std::string> saveTitles;
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
        for (const Message& message : messages.shown) shown.push_back(message.caption + ": " + message.text);
        return shown;
    }
    Message LastMessage() const { return messages.shown.empty() ? Message{} : messages.shown.back(); }

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

// What is wrong with a file saved in place, given the file before the save, the edited image and how far the save
// wrote: "" when the file keeps its length and movie list, starts with the image and keeps every byte from the written
// length on.
inline std::string SaveProblem(const Bytes& before, const Bytes& after, const Bytes& image, std::size_t written) {
    if (after.size() != before.size()) return "the file's length changed";
    if (written > after.size()) return "more was written than the file holds";
    if (after.compare(0, image.size(), image) != 0) return "the file's start is not the edited image";
    if (after.compare(written, Bytes::npos, before, written) != 0) return "a byte past the written length changed";
    if (MovieList(after) != MovieList(before)) return "the movie list changed";
    return "";
}

// The window over crafted images in memory, as a test fixture.
class DialogTest : public testing::Test, public TestWindow<MemoryFiles> {};

}  // namespace quibo::test
