// SPDX-License-Identifier: GPL-3.0-or-later
// quibo-info as a user runs it: exit status, the text report, messages on
// standard error, --json against its schema, --csv, and many files at once.
#include <nlohmann/json.hpp>

#include "test_window.h"

namespace quibo::test {
namespace {

using Json = nlohmann::json;

class QuiboInfo : public testing::Test {
protected:
    static ProgramRun Run(const std::vector<std::string>& args) { return RunQuiboInfo(args); }

    TempDir dir;
    const std::string good = dir.Write("good.avi", SmallAvi().ToBytes());
    const std::string missing = dir / "missing.avi";
    const std::string text = dir.Write("text.avi", "plain text, not a RIFF file");
};

TEST_F(QuiboInfo, ExitStatusTellsAnalysedAndUsage) {
    EXPECT_EQ(Run({good}).status, 0);
    EXPECT_EQ(Run({}).status, 2);
    EXPECT_EQ(Run({"--no-such-option", good}).status, 2);
    EXPECT_EQ(Run({"--help"}).status, 0);
    ProgramRun version = Run({"--version"});
    EXPECT_TRUE(version.status == 0 && version.out.starts_with("quibo-info ")) << version.status << " " << version.out;
}

// The text report of each file; messages go to standard error as caption
// and text, and a file that could not be read has no report of empty fields.
TEST_F(QuiboInfo, TextReportOnOutputMessagesOnStandardError) {
    ProgramRun run = Run({missing, good});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "File Open Failure: Unable to open file " + missing + ":\n\nNo such file or directory\n");
    EXPECT_TRUE(run.out.starts_with("General\n  Filename: " + good + "\n  Size: ")) << run.out;
    for (const char* line : {"\n  Status: File Length Correct\nVideo\n  FourCC: ", "\nAudio\n  Encoding: ",
                             "\nRIFF Info\n", "  INAM  Name: Title\n", "  IART  Artist: Artist\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

// Every output of --json matches the schema in docs/; one file gives an
// object, several an array; the facts are numbers and decoded texts.
TEST_F(QuiboInfo, JsonMatchesItsSchemaAndCarriesTheFacts) {
    std::vector<ProgramRun> runs;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--json", good}, {"--json", good, missing, text}, {"--json", "-r", dir / "nothing-here"},
             {"--json", "--codecs"}, {"--json", "--installed"}}) {
        runs.push_back(Run(args));
        EXPECT_EQ(SchemaErrors(QUIBO_SCHEMA_FILE, runs.back().out), "") << args.back();
    }
    EXPECT_EQ(runs[0].status, 0);
    const Json report = Json::parse(runs[0].out), &facts = report["facts"], &streams = facts["streams"];
    EXPECT_EQ(report["info"][1], (Json{{"code", "INAM"}, {"name", "Name"}, {"contents", "Title"}}));
    // The status and facts, in one array.
    EXPECT_EQ(Json::array({report["general"]["status"], streams[0]["fourcc"], streams[0]["width"],
                           streams[1]["format"], streams[1]["bitrate"], facts["tags"], facts["junk_texts"]}),
              Json::array({"File Length Correct", "XVID", 320, "MP3", 128000, {{"INAM", "Title"}, {"IART", "Artist"}},
                           Json::array({"Made with Tool 2    "})}));

    // A frame of 1/(2^32 - 1) s and a 4 GiB movie list: no 64-bit bitrate, no garbage.
    Bytes absurd = SmallAvi().ToBytes();
    absurd.replace(absurd.find("strh") + 28, 16, Le32(1) + Le32(0xFFFFFFFF) + Le32(0) + Le32(1));
    absurd.replace(absurd.find("movi") - 4, 4, Le32(0xFFFFFFF0)).replace(4, 4, Le32(0xFFFFFFF8));
    const Json fast = Json::parse(Run({"--json", dir.Write("absurd.avi", absurd)}).out)["facts"];
    EXPECT_DOUBLE_EQ(fast["duration"].get<double>(), 1.0 / 0xFFFFFFFF) << fast;
    EXPECT_EQ(fast["streams"][0]["bitrate"], nullptr);

    EXPECT_EQ(runs[1].status, 1);
    const Json reports = Json::parse(runs[1].out);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[1]["facts"], nullptr);
    EXPECT_EQ(reports[1]["messages"],
              (Json{{{"caption", "File Open Failure"},
                     {"text", "Unable to open file " + missing + ":\n\nNo such file or directory"}}}));
    EXPECT_EQ(reports[2]["facts"]["file_type"], "unknown");
}

// --csv: the header, then a row per file in RFC 4180 quoting, with the facts'
// values; a file that could not be read has its message as status.
TEST_F(QuiboInfo, CsvHasOneRowPerFile) {
    const std::string comma = dir.Write("a, \"b\".avi", SmallAvi().ToBytes());
    ProgramRun run = Run({"--csv", comma, missing});
    EXPECT_EQ(run.status, 1);
    const std::string header = "file,file_type,size,missing_bytes,duration,video_fourcc,video_codec,decoder_installed,"
                               "width,height,display_aspect_ratio,frame_rate,video_bitrate,audio_format,channels,"
                               "sample_rate,audio_bitrate,audio_bitrate_mode,title,status\r\n";
    ASSERT_TRUE(run.out.starts_with(header)) << run.out;
    const std::string quoted = "\"" + dir / "a, \"\"b\"\".avi\",AVI,";
    EXPECT_EQ(run.out.substr(header.size(), quoted.size()), quoted);
    EXPECT_NE(run.out.find(",320,240,1.3333333333333333,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(",MP3,2,44100,128000,,Title,File Length Correct\r\n"), std::string::npos) << run.out;
    EXPECT_TRUE(run.out.ends_with(missing + ",,,,,,,,,,,,,,,,,,,\"Unable to open file " + missing +
                                  ":\n\nNo such file or directory\"\r\n"))
        << run.out;
}

// Reports go out file by file, eight files analysed at a time: 10,000 files
// take no more memory than 100, and no more file descriptors.
TEST_F(QuiboInfo, ManyFilesInFlatMemory) {
    auto peakKilobytes = [&](int count) {
        const std::string folder = dir / ("many" + std::to_string(count));
        std::filesystem::create_directory(folder);
        const Bytes bytes = SmallAvi().ToBytes();
        for (int i = 0; i < count; ++i) std::ofstream(folder + "/" + std::to_string(i) + ".avi") << bytes;
        // Python starts the run and reads its peak: a child forked from this process would count this process's memory
        // as its own. AddressSanitizer holds freed memory back for a while: not here. 64 descriptors are enough only if
        // none is left open.
        const std::string peak = Captured(
            "ulimit -n 64 && ASAN_OPTIONS=\"$ASAN_OPTIONS:quarantine_size_mb=0:thread_local_quarantine_size_kb=0\""
            " python3 -c 'import resource, subprocess, sys;"
            " run = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL);"
            " print(run.returncode, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' " +
            Quoted(QUIBO_INFO_PATH) + " --json -r " + Quoted(folder));
        EXPECT_TRUE(peak.starts_with("0 ")) << count << ": " << peak;
        return std::atol(peak.c_str() + std::min<std::size_t>(2, peak.size()));
    };
    const long few = peakKilobytes(100), many = peakKilobytes(10000);
    EXPECT_LT(many - few, 8 * 1024) << few << " KB for 100 files, " << many << " KB for 10,000";
}

// A folder is read with -r only: its AVI files at any depth, sorted, any letter case, links to folders not followed.
TEST_F(QuiboInfo, FoldersAreReadWithRecursiveOnly) {
    const std::string folder = dir / "clips";
    std::filesystem::create_directories(folder + "/sub");
    for (std::string name : {"/b.avi", "/sub/A.AVI", "/notes.txt"}) dir.Write("clips" + name, SmallAvi().ToBytes());
    std::filesystem::create_directory_symlink(folder + "/sub", folder + "/link");

    ProgramRun refused = Run({folder});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "quibo-info: " + folder + " is a folder; -r reads the AVI files in it.\n");

    ProgramRun read = Run({"--json", "-r", folder});
    EXPECT_EQ(read.status, 0);
    std::vector<std::string> files;
    for (const Json& report : Json::parse(read.out)) files.push_back(report["file"]);
    EXPECT_EQ(files, (std::vector<std::string>{folder + "/b.avi", folder + "/sub/A.AVI"}));
}

// Codes that could never be edited again are refused before any file is touched; a code the file holds twice edits the
// first; a repeated --set edits what the first one added; an INFO list past the first 100,000 bytes refuses every edit.
TEST_F(QuiboInfo, EditsOfCodesAndWhereTheyLand) {
    const Bytes before = SmallAvi().ToBytes();
    for (std::string code : {" NAM", "JUNK", "junk", "RIFF", "IN\x01M", "I-AM", "INA"}) {
        ProgramRun run = Run({"--set", code + "=x", good});
        EXPECT_EQ(run.status, 2) << code;
        EXPECT_NE(run.err.find("\"" + code + "\""), std::string::npos) << run.err;
        EXPECT_EQ(ReadAll(good), before);
    }

    const std::string twice = dir.Write(
        "twice.avi", BareAvi({InfoList({{"INAM", "one"}, {"INAM", "two"}}), N::Leaf("JUNK", Bytes(200, '\0'))}));
    EXPECT_EQ(Run({"--set", "INAM=b", "--set", "ICMT=a", "--set", "ICMT=b", twice}).status, 0);
    std::vector<std::string> rows;
    const Json report = Json::parse(Run({"--json", twice}).out);
    for (const Json& row : report["info"])
        rows.push_back(row["code"].get<std::string>() + "=" + row["contents"].get<std::string>());
    EXPECT_EQ(rows, (std::vector<std::string>{"ICMT=b", "INAM=b", "INAM=two"}));

    const Bytes far = BareAvi({N::Leaf("JUNK", Bytes(120000, '\0')), InfoList({{"INAM", "Old"}})});
    const std::string farPath = dir.Write("far.avi", far);
    for (const char* edit : {"--set", "--delete"}) {
        ProgramRun run = Run({edit, std::string(edit) == "--set" ? "INAM=New" : "INAM", farPath});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "Edit Failed: The INFO list of this file lies at byte 120096, past the first 100000 bytes, "
                           "which are all Quibo rewrites. File will not be modified\n");
        EXPECT_EQ(ReadAll(farPath), far);
    }
}

// What the peers read after an edit: a new list goes where they all look,
// and a list that lies past the image, which they show, is left as it is.
TEST_F(QuiboInfo, PeersShowTheEdit) {
    for (const char* tool : {"ffmpeg", "ffprobe", "exiftool", "mediainfo"})
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    const std::string bare = dir / "bare.avi", far = dir / "far.avi";
    const std::string picture = " -f lavfi -i testsrc=size=160x120:rate=10:duration=1 -c:v mpeg4 ";
    // Without tags ffmpeg writes no INFO list; with a large reserved index
    // its INFO list lies past the first 100,000 bytes.
    ASSERT_TRUE(RunQuietly("ffmpeg -y" + picture + "-fflags +bitexact -map_metadata -1 " + Quoted(bare)));
    ASSERT_TRUE(RunQuietly("ffmpeg -y" + picture + "-reserve_index_space 120000 -metadata title=Old " + Quoted(far)));
    EXPECT_EQ(Run({"--set", "INAM=Quibo T", bare}).status, 0);
    EXPECT_EQ(Run({"--set", "INAM=New", far}).status, 1);
    for (const auto& [path, title] : {std::pair{bare, "Quibo T"}, std::pair{far, "Old"}}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Captured("exiftool -s3 -Title " + Quoted(path)), title);
        EXPECT_EQ(Captured("mediainfo --Inform='General;%Title%' " + Quoted(path)), title);
        EXPECT_EQ(Captured("ffprobe -v error -show_entries format_tags=title -of csv=p=0 " + Quoted(path)), title);
    }
}

}  // namespace
}  // namespace quibo::test
