// One full analysis of a real AVI file held in memory, through the road an
// opened file takes: MainDialog opens it, reads it into its image, identifies
// it, walks it and fills every field, with the project's codec database
// loaded. QUIBO_BENCH_FILE names the file; the bundled sample is the default.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_dialog.h"
#include "cli/collected_messages.h"
#include "codecs/codec_database.h"
#include "platform/posix_file_access.h"
#include "platform/recorded_fields.h"

namespace {

struct FileBytes {
    std::vector<std::uint8_t> bytes;
    std::time_t lastWrite = 0;
};

class MemoryFileHandle final : public quibo::FileHandle {
public:
    explicit MemoryFileHandle(const FileBytes& file) : file_(file) {}

    quibo::ReadResult ReadFromStart(std::uint8_t* buffer, std::size_t count) override {
        std::size_t delivered = std::min(count, file_.bytes.size());
        std::memcpy(buffer, file_.bytes.data(), delivered);
        return {true, delivered, 0};
    }
    quibo::SizeResult Size() override { return {true, static_cast<std::int64_t>(file_.bytes.size()), 0}; }
    quibo::TimeResult LastWriteTime() override { return {true, file_.lastWrite, 0}; }

private:
    const FileBytes& file_;
};

// Serves the file held in memory under its path; any other file, such as
// the codec database, comes from the file system.
class MemoryFileAccess final : public quibo::FileAccess {
public:
    MemoryFileAccess(std::string path, const FileBytes& file) : path_(std::move(path)), file_(file) {}
    quibo::OpenResult OpenExclusiveRead(const std::string& path) override {
        if (path != path_) return disk_.OpenExclusiveRead(path);
        return {std::make_unique<MemoryFileHandle>(file_), 0};
    }

private:
    std::string path_;
    const FileBytes& file_;
    quibo::PosixFileAccess disk_;
};

class NoFileDialogs final : public quibo::FileDialogs {
public:
    std::optional<std::string> AskOpenPath(const quibo::FileDialogRequest&) override { return std::nullopt; }
};

std::string BenchFilePath() {
    const char* path = std::getenv("QUIBO_BENCH_FILE");
    return path != nullptr && *path != '\0' ? path : QUIBO_SOURCE_DIR "/res/sample.avi";
}

bool LoadFile(const std::string& path, FileBytes& file) {
    std::ifstream in(path, std::ios::binary);
    struct stat info {};
    if (!in || ::stat(path.c_str(), &info) != 0) return false;
    file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    file.lastWrite = info.st_mtime;
    return !in.bad();
}

void BM_AnalyseFileInMemory(benchmark::State& state) {
    const std::string path = BenchFilePath();
    FileBytes file;
    if (!LoadFile(path, file)) {
        state.SkipWithError(("cannot read " + path).c_str());
        return;
    }
    MemoryFileAccess files(path, file);
    quibo::CollectedMessages messages;
    NoFileDialogs dialogs;
    quibo::RecordedFields fields;
    quibo::MainDialog dialog({files, messages, dialogs, fields}, quibo::CodecDatabasePlaces(QUIBO_SOURCE_DIR "/res/"));
    dialog.Start();
    if (!messages.All().empty()) {
        state.SkipWithError(("start-up: " + messages.All().front().text).c_str());
        return;
    }

    // A first open allocates the image buffers, as the program's first open
    // does, and shows that the file is one the walk accepts.
    dialog.SetPendingFileName(path);
    dialog.OnFileOpen();
    if (!dialog.FileAnalysed()) {
        state.SkipWithError((path + " was not analysed").c_str());
        return;
    }
    for (auto _ : state) {
        dialog.SetPendingFileName(path);
        dialog.OnFileOpen();
        benchmark::DoNotOptimize(dialog.FileAnalysed());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(dialog.LoadedLength()));
}

}  // namespace

BENCHMARK(BM_AnalyseFileInMemory)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
