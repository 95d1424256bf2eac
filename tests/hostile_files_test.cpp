// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and odd files, thousands of them, given to the real quibo-info in
// batches: it must end normally with a status that matches its reports,
// report every file in order, and print JSON that matches its schema.
// In-place edits of damaged files keep the length and leave refused files
// untouched.
#include <iostream>
#include <nlohmann/json.hpp>

#include "test_window.h"

namespace quibo::test {
namespace {

using Json = nlohmann::json;

// quibo-info is given this many files at a time.
constexpr std::size_t kBatchSize = 200;

std::string BaseName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// One second of test picture at 160 x 120.
const std::string kPicture = "ffmpeg -y -f lavfi -i testsrc=size=160x120:rate=10:duration=1 ";
// MPEG-4 with an MP3 tone and a title and artist.
bool MakeMpeg4WithInfo(const std::string& path) {
    return RunQuietly(kPicture + "-f lavfi -i sine=duration=1 -c:v mpeg4 -c:a libmp3lame"
                      " -metadata title='Hostile Title' -metadata artist='Hostile Artist' " + Quoted(path));
}

// Runs quibo-info with `args` in `dir`, whose Quibo.dat it loads.
ProgramRun RunQuiboInfo(const std::string& dir, const std::vector<std::string>& args) {
    std::string command = "cd " + Quoted(dir) + " && " + Quoted(QUIBO_INFO_PATH);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    return RunProgram(command);
}

// quibo-info ends normally with 0, 1 or 2; the shell reports a program that
// a signal ended as 128 and more.
bool EndedNormally(const ProgramRun& run) { return run.status >= 0 && run.status < 128; }

struct BatchResult { int status; Json entries; };

// Runs quibo-info with `options` on all of `paths` at once in `dir`; checks
// that it ended normally with a documented status and gave an entry for each
// path, in order.
std::optional<BatchResult> RunBatch(const std::string& dir, const std::vector<std::string>& options,
                                    const std::vector<std::string>& paths) {
    std::vector<std::string> args = options;
    args.insert(args.end(), paths.begin(), paths.end());
    ProgramRun run = RunQuiboInfo(dir, args);
    if (!EndedNormally(run)) {
        // Each file alone, to name the ones that kill it.
        std::string names;
        for (const std::string& path : paths) {
            args = options;
            args.push_back(path);
            if (ProgramRun alone = RunQuiboInfo(dir, args); !EndedNormally(alone))
                names += " " + BaseName(path) + " (status " + std::to_string(alone.status) + ")";
        }
        ADD_FAILURE() << "quibo-info did not end normally on the batch from " << BaseName(paths.front())
                      << "; alone:" << names;
        return std::nullopt;
    }
    EXPECT_TRUE(run.status == 0 || run.status == 1) << run.status << ": " << run.err;
    Json entries = Json::parse(run.out, nullptr, false);
    if (entries.is_discarded()) {
        ADD_FAILURE() << "not JSON from the batch from " << BaseName(paths.front()) << ": " << run.err;
        return std::nullopt;
    }
    EXPECT_EQ(SchemaErrors(QUIBO_SCHEMA_FILE, run.out), "") << "batch from " << BaseName(paths.front());
    if (paths.size() == 1) entries = Json::array({entries});
    EXPECT_EQ(entries.size(), paths.size()) << BaseName(paths.front());
    for (std::size_t i = 0; i < std::min(entries.size(), paths.size()); ++i)
        EXPECT_EQ(entries[i].value("file", ""), paths[i]);
    if (entries.size() != paths.size()) return std::nullopt;
    return BatchResult{run.status, std::move(entries)};
}

// A file to try: its name, and how it is made at a path.
struct HostileFile {
    std::string name;
    std::function<void(const std::string& path)> make;
};

HostileFile Regular(std::string name, std::function<Bytes()> bytes) {
    return {std::move(name), [bytes](const std::string& path) { std::ofstream(path, std::ios::binary) << bytes(); }};
}

// Appends the offset of the size field of each chunk whose header lies in
// [begin, end), descending into RIFF and LIST chunks; stops at the first
// header that does not fit. Walked here, apart from the program's walk.
void CollectSizeFields(const Bytes& file, std::uint64_t begin, std::uint64_t end, std::vector<std::size_t>& into) {
    for (std::uint64_t at = begin; at + 8 <= end;) {
        const char* header = file.data() + at;
        std::uint32_t size = 0;
        for (int i = 3; i >= 0; --i) size = size << 8 | static_cast<std::uint8_t>(header[4 + i]);
        bool container = std::memcmp(header, "RIFF", 4) == 0 || std::memcmp(header, "LIST", 4) == 0;
        if (container && at + 12 > end) return;
        into.push_back(static_cast<std::size_t>(at + 4));
        std::uint64_t next = at + 8 + size + (size & 1);
        if (container) CollectSizeFields(file, at + 12, std::min(next, end), into);
        at = next;
    }
}

// A real file damaged as files get damaged: each size field whose header
// lies in the image set, in turn, to each extreme value.
std::vector<HostileFile> SizeFieldCopies(const std::string& prefix, const Bytes& file) {
    std::vector<std::size_t> fields;
    CollectSizeFields(file, 0, std::min<std::size_t>(file.size(), kImageCapacity), fields);
    std::vector<HostileFile> copies;
    for (std::size_t field : fields)
        for (std::uint32_t value : {0u, 1u, 2u, 3u, 4u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            char name[64];
            std::snprintf(name, sizeof name, "-size-%zu-%x.avi", field, value);
            copies.push_back(Regular(prefix + name, [&file, field, value] {
                return Bytes(file).replace(field, 4, Le32(value));
            }));
        }
    return copies;
}

void RecordTried(std::size_t count) {
    testing::Test::RecordProperty("hostile_files_tried", static_cast<int>(count));
    std::cout << "hostile files tried: " << count << std::endl;
}

// Each file through quibo-info --json in batches; the status is 0 exactly
// when every file was analysed. Returns the reports.
Json ExpectCliReportsEveryFile(const std::vector<HostileFile>& files) {
    Json reports = Json::array();
    for (std::size_t first = 0; first < files.size(); first += kBatchSize) {
        TempDir dir;
        std::filesystem::copy_file(QUIBO_CODEC_FILE, dir / "Quibo.dat");
        std::vector<std::string> paths;
        for (std::size_t i = first; i < std::min(files.size(), first + kBatchSize); ++i) {
            paths.push_back(dir / files[i].name);
            files[i].make(paths.back());
        }
        std::optional<BatchResult> batch = RunBatch(dir / "", {"--json"}, paths);
        if (!batch) continue;
        const bool allAnalysed = std::all_of(batch->entries.begin(), batch->entries.end(), [](const Json& entry) {
            return entry["facts"].is_object() && entry["facts"]["chunk_tree_valid"] == true;
        });
        EXPECT_EQ(batch->status, allAnalysed ? 0 : 1) << "batch from " << BaseName(paths.front());
        reports.insert(reports.end(), batch->entries.begin(), batch->entries.end());
    }
    RecordTried(files.size());
    return reports;
}

// The real file with each size field in the image made extreme, cut at
// every 997 bytes, and cut or padded to exactly the image's length.
std::vector<HostileFile> DamagedCopies(const std::string& prefix, const Bytes& file) {
    std::vector<HostileFile> files = SizeFieldCopies(prefix, file);
    for (std::size_t length = 997; length < file.size(); length += 997)
        files.push_back(Regular(prefix + "-cut-" + std::to_string(length) + ".avi", [&file, length] {
            return file.substr(0, length);
        }));
    files.push_back(Regular(prefix + "-image-length.avi", [&file] {
        Bytes bytes = file.substr(0, kImageCapacity);
        bytes.resize(kImageCapacity, '\0');
        return bytes;
    }));
    return files;
}

class HostileFiles : public testing::Test {
protected:
    void SetUp() override {
        if (!HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    }
    TempDir sources;
};

// Each writer's file, damaged; mencoder's is longer than the image.
TEST_F(HostileFiles, DamagedFilesOfEachWriterReportAlike) {
    ASSERT_TRUE(MakeMpeg4WithInfo(sources / "mpeg4.avi") &&
                RunQuietly(kPicture + "-c:v mjpeg -an " + Quoted(sources / "mjpeg.avi")));
    std::vector<std::string> made{"mpeg4", "mjpeg"};
    // MEncoder's remux of the MPEG-4 file with PCM audio.
    if (HaveTool("mencoder") && RunQuietly("mencoder " + Quoted(sources / "mpeg4.avi") + " -ovc lavc -lavcopts "
                                           "vcodec=mpeg4 -oac pcm -info name='Menc Title' -o " +
                                           Quoted(sources / "mencoder.avi")))
        made.push_back("mencoder");
    for (const std::string& name : made) {
        const Bytes file = ReadAll(sources / (name + ".avi"));
        ExpectCliReportsEveryFile(DamagedCopies(name, file));
    }
    EXPECT_EQ(made.size(), HaveTool("mencoder") ? 3u : 2u);
}

// Empty, a bare header, nesting past the path limit and a FIFO. (A folder is
// no file to quibo-info: it is read with -r, or refused.)
TEST(HostileShapes, OddFilesReportAlike) {
    using N = RiffNode;
    N deep = N::Leaf("JUNK", "text at the bottom");
    for (int level = 0; level < 80; ++level) deep = N::List("deep", {deep});
    const Bytes nested = N::Riff("AVI ", {N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))}), deep,
                                          InfoList({{"INAM", "After the depths"}}),
                                          N::List("movi", {N::Leaf("00dc", "frame")})}).ToBytes();
    const Json reports = ExpectCliReportsEveryFile({
        Regular("empty.avi", [] { return Bytes(); }),
        Regular("bare-header.avi", [] { return Bytes("RIFF") + Le32(4) + "AVI "; }),
        Regular("nested.avi", [&] { return nested; }),
        {"fifo.avi", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
    });
    // The walk gives up on the depths, not on what follows them.
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[2]["info"], Json::parse(R"([{"code": "INAM", "name": "Name", "contents": "After the depths"}])"));
}

// quibo-info --set in place on every size-field copy: the length never
// changes, and a file it did not update keeps every byte.
TEST_F(HostileFiles, InPlaceSetOnDamagedSizesKeepsLengthAndRefusedFiles) {
    ASSERT_TRUE(MakeMpeg4WithInfo(sources / "mpeg4.avi"));
    const Bytes file = ReadAll(sources / "mpeg4.avi");
    const std::vector<HostileFile> copies = SizeFieldCopies("mpeg4", file);
    int updated = 0, refused = 0;
    for (std::size_t first = 0; first < copies.size(); first += kBatchSize) {
        TempDir dir;
        std::vector<std::string> paths;
        std::vector<Bytes> before;
        for (std::size_t i = first; i < std::min(copies.size(), first + kBatchSize); ++i) {
            paths.push_back(dir / copies[i].name);
            copies[i].make(paths.back());
            before.push_back(ReadAll(paths.back()));
        }
        std::optional<BatchResult> batch = RunBatch(dir / "", {"--json", "--set", "INAM=Hostile"}, paths);
        if (!batch) continue;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            SCOPED_TRACE(BaseName(paths[i]));
            const Bytes after = ReadAll(paths[i]);
            ASSERT_EQ(after.size(), before[i].size());
            const Json& entry = batch->entries[i];
            if (entry["general"]["status"] != "Update successful") {
                ++refused;
                EXPECT_TRUE(after == before[i]) << entry["messages"];
                continue;
            }
            // The edit reached the disk.
            ++updated;
            const Json reread = Json::parse(RunQuiboInfo(dir / "", {"--json", paths[i]}).out, nullptr, false);
            EXPECT_EQ(reread["facts"]["tags"]["INAM"], "Hostile") << reread["info"];
        }
    }
    // Both outcomes were met, so both checks above ran.
    EXPECT_GT(updated, 0);
    EXPECT_GT(refused, 0);
    std::cout << "in-place edits: " << updated << " updated, " << refused << " refused" << std::endl;
    RecordTried(copies.size());
}

}  // namespace
}  // namespace quibo::test
