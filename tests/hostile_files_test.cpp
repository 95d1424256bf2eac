// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and odd files, thousands of them, given to the real quibo-info in batches: it must end normally with a status
// that matches its reports, report every file in order, and print JSON that matches its schema. In-place edits of
// damaged files keep the length and leave refused files untouched.
#include <iostream>
#include <nlohmann/json.hpp>

#include "test_window.h"

namespace quibo::test {
namespace {

using Json = nlohmann::json;

constexpr std::size_t kBatchSize = 200;

// One second of test picture at 160 x 120.
const std::string kPicture = "ffmpeg -y -f lavfi -i testsrc=size=160x120:rate=10:duration=1 ";

// A file to try: its name and bytes; no bytes: a FIFO.
struct HostileFile { std::string name; std::function<Bytes()> bytes; };

// Makes `files` in folders of kBatchSize with the codec file and runs quibo-info with `options` on each folder's
// files at once. It must end normally (the shell reports a program that a signal ended as 128 and more), with
// status 0 exactly when `done` holds for every report, print JSON that matches its schema and report every file in
// order. `check` is given each file's path, its bytes before the run and its report.
void RunInBatches(const std::vector<HostileFile>& files, const std::vector<std::string>& options,
                  const std::function<bool(const Json&)>& done,
                  const std::function<void(const std::string&, const Bytes&, const Json&)>& check = {}) {
    for (std::size_t first = 0; first < files.size(); first += kBatchSize) {
        TempDir dir;
        std::filesystem::copy_file(QUIBO_CODEC_FILE, dir / "Quibo.dat");
        std::vector<std::string> args = options, paths;
        std::vector<Bytes> before;
        for (std::size_t i = first; i < std::min(files.size(), first + kBatchSize); ++i) {
            paths.push_back(dir / files[i].name);
            before.push_back(files[i].bytes ? files[i].bytes() : "");
            if (files[i].bytes) std::ofstream(paths.back(), std::ios::binary) << before.back();
            else ASSERT_EQ(::mkfifo(paths.back().c_str(), 0600), 0);
        }
        SCOPED_TRACE("batch from " + files[first].name);
        args.insert(args.end(), paths.begin(), paths.end());
        const ProgramRun run = RunQuiboInfo(args, dir / "");
        if (run.status < 0 || run.status >= 128) {
            ADD_FAILURE() << "quibo-info did not end normally: " << run.status << "\n" << run.err;
            continue;
        }
        Json entries = Json::parse(run.out, nullptr, false);
        ASSERT_FALSE(entries.is_discarded()) << run.err;
        EXPECT_EQ(SchemaErrors(QUIBO_SCHEMA_FILE, run.out), "");
        if (paths.size() == 1) entries = Json::array({entries});
        ASSERT_EQ(entries.size(), paths.size());
        EXPECT_EQ(run.status, std::all_of(entries.begin(), entries.end(), done) ? 0 : 1) << run.err;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(entries[i].value("file", ""), paths[i]);
            if (check) check(paths[i], before[i], entries[i]);
        }
    }
    testing::Test::RecordProperty("hostile_files_tried", static_cast<int>(files.size()));
    std::cout << "hostile files tried: " << files.size() << std::endl;
}

bool Analysed(const Json& entry) { return entry["facts"].is_object() && entry["facts"]["chunk_tree_valid"] == true; }

// A real file damaged as files get damaged: each size field whose header lies in the image set, in turn, to each
// extreme value; with `cuts` also cut at every 997 bytes, and cut or padded to exactly the image's length.
std::vector<HostileFile> DamagedCopies(const std::string& prefix, const Bytes& file, bool cuts) {
    // The size fields of chunks whose header lies in [begin, end), walked here apart from the program's walk,
    // descending into RIFF and LIST chunks and stopping at the first header that does not fit.
    std::vector<std::size_t> fields;
    std::function<void(std::uint64_t, std::uint64_t)> collect = [&](std::uint64_t begin, std::uint64_t end) {
        for (std::uint64_t at = begin; at + 8 <= end;) {
            const std::uint32_t size = ReadLe32(reinterpret_cast<const std::uint8_t*>(file.data() + at + 4));
            const bool container = file.compare(at, 4, "RIFF") == 0 || file.compare(at, 4, "LIST") == 0;
            if (container && at + 12 > end) return;
            fields.push_back(static_cast<std::size_t>(at + 4));
            const std::uint64_t next = at + 8 + size + (size & 1);
            if (container) collect(at + 12, std::min(next, end));
            at = next;
        }
    };
    collect(0, std::min<std::size_t>(file.size(), kImageCapacity));
    std::vector<HostileFile> copies;
    for (std::size_t field : fields)
        for (std::uint32_t value : {0u, 1u, 2u, 3u, 4u, 0x7FFFFFFFu, 0xFFFFFFFFu})
            copies.push_back({prefix + "-size-" + std::to_string(field) + "-" + std::to_string(value) + ".avi",
                              [&file, field, value] { return Bytes(file).replace(field, 4, Le32(value)); }});
    for (std::size_t length = 997; cuts && length < file.size(); length += 997)
        copies.push_back({prefix + "-cut-" + std::to_string(length) + ".avi", [&file, length] {
            return file.substr(0, length);
        }});
    if (cuts) copies.push_back({prefix + "-image-length.avi", [&file] {
        return (file + Bytes(kImageCapacity, '\0')).substr(0, kImageCapacity);
    }});
    return copies;
}

// Each writer's file, damaged; mencoder's is longer than the image. Then quibo-info --set in place on every
// size-field copy of the MPEG-4 file: the length never changes, and a file it did not update keeps every byte.
TEST(HostileFiles, DamagedFilesOfEachWriterReportAlikeAndKeepTheirBytesOnRefusedEdits) {
    if (!HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    TempDir sources;
    // MPEG-4 with an MP3 tone and a title and artist; MJPEG.
    ASSERT_TRUE(RunQuietly(kPicture + "-f lavfi -i sine=duration=1 -c:v mpeg4 -c:a libmp3lame -metadata title='Hostile"
                           " Title' -metadata artist='Hostile Artist' " + Quoted(sources / "mpeg4.avi")) &&
                RunQuietly(kPicture + "-c:v mjpeg -an " + Quoted(sources / "mjpeg.avi")));
    std::vector<std::string> made{"mpeg4", "mjpeg"};
    // MEncoder's remux of the MPEG-4 file with PCM audio.
    if (HaveTool("mencoder") && RunQuietly("mencoder " + Quoted(sources / "mpeg4.avi") + " -ovc lavc -lavcopts "
                                           "vcodec=mpeg4 -oac pcm -info name='Menc Title' -o " +
                                           Quoted(sources / "mencoder.avi")))
        made.push_back("mencoder");
    for (const std::string& name : made) {
        const Bytes file = ReadAll(sources / (name + ".avi"));
        RunInBatches(DamagedCopies(name, file, true), {"--json"}, Analysed);
    }
    EXPECT_EQ(made.size(), HaveTool("mencoder") ? 3u : 2u);

    const Bytes mpeg4 = ReadAll(sources / "mpeg4.avi");
    int updated = 0, refused = 0;
    auto isUpdated = [](const Json& entry) { return entry["general"]["status"] == "Update successful"; };
    RunInBatches(DamagedCopies("mpeg4", mpeg4, false), {"--json", "--set", "INAM=Hostile"}, isUpdated,
                 [&](const std::string& path, const Bytes& before, const Json& entry) {
                     SCOPED_TRACE(path);
                     const Bytes after = ReadAll(path);
                     ASSERT_EQ(after.size(), before.size());
                     if (!isUpdated(entry)) {
                         ++refused;
                         EXPECT_TRUE(after == before) << entry["messages"];
                         return;
                     }
                     // The edit reached the disk.
                     ++updated;
                     const std::string dir = std::filesystem::path(path).parent_path();
                     const Json reread = Json::parse(RunQuiboInfo({"--json", path}, dir).out, nullptr, false);
                     EXPECT_EQ(reread["facts"]["tags"]["INAM"], "Hostile") << reread["info"];
                 });
    // Both outcomes were met, so both checks above ran.
    EXPECT_GT(updated, 0);
    EXPECT_GT(refused, 0);
    std::cout << "in-place edits: " << updated << " updated, " << refused << " refused" << std::endl;
}

// Empty, a bare header, nesting past the path limit and a FIFO. (A folder is
// no file to quibo-info: it is read with -r, or refused.)
TEST(HostileShapes, OddFilesReportAlike) {
    N deep = N::Leaf("JUNK", "text at the bottom");
    for (int level = 0; level < 80; ++level) deep = N::List("deep", {deep});
    const Bytes nested = BareAvi({deep, InfoList({{"INAM", "After the depths"}})});
    RunInBatches({{"empty.avi", [] { return Bytes(); }},
                  {"bare-header.avi", [] { return Bytes("RIFF") + Le32(4) + "AVI "; }},
                  {"nested.avi", [&] { return nested; }},
                  {"fifo.avi", nullptr}},
                 {"--json"}, Analysed);
}

}  // namespace
}  // namespace quibo::test
