// SPDX-License-Identifier: GPL-3.0-or-later
// A real AVI file held in memory and opened through MainDialog, as the
// program opens one, with the project's codec database loaded.
// QUIBO_BENCH_FILE names the file; the bundled sample is the default.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "app/main_dialog.h"
#include "cli/collected_messages.h"
#include "codecs/codec_database.h"
#include "platform/recorded_fields.h"
#include "tests/memory_files.h"

namespace quibo::bench {

class NoFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> AskOpenPath(const FileDialogRequest&) override { return std::nullopt; }
};

inline std::string BenchFilePath() {
    const char* path = std::getenv("QUIBO_BENCH_FILE");
    return path != nullptr && *path != '\0' ? path : QUIBO_SOURCE_DIR "/res/sample.avi";
}

class AnalysedFile {
public:
    AnalysedFile() : path_(BenchFilePath()) {}

    // Loads the file, starts the dialog and opens the file once, which also
    // allocates the image buffers as the program's first open does. Empty
    // on success, else what went wrong.
    std::string Open() {
        if (!files_.AddFromDisk(path_) || !files_.AddFromDisk(QUIBO_SOURCE_DIR "/res/Quibo.dat"))
            return "cannot read " + path_;
        dialog_.Start();
        if (!messages_.All().empty()) return "start-up: " + messages_.All().front().text;
        Reopen();
        return dialog_.FileAnalysed() ? std::string() : path_ + " was not analysed";
    }
    void Reopen() {
        dialog_.SetPendingFileName(path_);
        dialog_.OnFileOpen();
    }
    MainDialog& Dialog() { return dialog_; }

private:
    std::string path_;
    test::MemoryFiles files_{false};
    CollectedMessages messages_;
    NoFileDialogs dialogs_;
    RecordedFields fields_;
    MainDialog dialog_{{files_, messages_, dialogs_, fields_}, CodecDatabasePlaces(QUIBO_SOURCE_DIR "/res/")};
};

}  // namespace quibo::bench
