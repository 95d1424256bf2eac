// quibo-info as a user runs it: exit status, the text report, messages on
// standard error and the shape of --json.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "riff_builder.h"
#include "temp_dir.h"

namespace quibo::test {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> KeysOf(const nlohmann::ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items()) keys.push_back(key);
    return keys;
}

class QuiboInfo : public testing::Test {
protected:
    Outcome Run(const std::vector<std::string>& args) {
        std::string command = Quoted(QUIBO_INFO_PATH);
        for (const std::string& arg : args) command += " " + Quoted(arg);
        command += " >" + Quoted(dir / "out") + " 2>" + Quoted(dir / "err") + " </dev/null";
        int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir / "out"), Slurp(dir / "err")};
    }

    TempDir dir;
    const std::string good = dir.Write("good.avi", SmallAvi().ToBytes());
    const std::string missing = dir / "missing.avi";
};

TEST_F(QuiboInfo, ExitStatusTellsAnalysedFailedAndUsage) {
    EXPECT_EQ(Run({good}).status, 0);
    EXPECT_EQ(Run({missing}).status, 1);
    EXPECT_EQ(Run({good, dir.Write("text.avi", "plain text, not a RIFF file")}).status, 1);
    EXPECT_EQ(Run({}).status, 2);
    EXPECT_EQ(Run({"--no-such-option", good}).status, 2);
    EXPECT_EQ(Run({"--help"}).status, 0);
    Outcome version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("quibo-info ")) << version.out;
}

TEST_F(QuiboInfo, TextReportListsGroupsFieldsAndInfoRows) {
    Outcome run = Run({good});
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out.starts_with("General\n  Filename: " + good + "\n  Size: ")) << run.out;
    for (const char* line : {"\n  Status: File Length Correct\nVideo\n  FourCC: ", "\nAudio\n  Encoding: ",
                             "\nRIFF Info\n", "  INAM  Name: Title\n", "  IART  Artist: Artist\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

TEST_F(QuiboInfo, MessagesGoToStandardErrorAsCaptionAndText) {
    Outcome run = Run({missing});
    EXPECT_EQ(run.err, "File Open Failure: Unable to open file " + missing + ":\n\nNo such file or directory\n");
}

TEST_F(QuiboInfo, JsonIsAnObjectForOneFileAndAnArrayForSeveral) {
    Outcome one = Run({"--json", good});
    EXPECT_EQ(one.status, 0);
    auto report = nlohmann::ordered_json::parse(one.out);
    ASSERT_TRUE(report.is_object());
    using Keys = std::vector<std::string>;
    EXPECT_EQ(KeysOf(report), (Keys{"file", "general", "video", "audio", "info", "messages"}));
    EXPECT_EQ(KeysOf(report["general"]), (Keys{"filename", "size", "date", "status"}));
    EXPECT_EQ(KeysOf(report["video"]),
              (Keys{"fourcc", "codec", "vendor", "status", "aspect_ratio", "frame_rate", "duration", "bitrate"}));
    EXPECT_EQ(KeysOf(report["audio"]), (Keys{"encoding", "bitrate"}));
    for (const char* group : {"general", "video", "audio"})
        for (const auto& value : report[group]) EXPECT_TRUE(value.is_string()) << group;
    EXPECT_EQ(report["file"], good);
    EXPECT_EQ(report["general"]["filename"], good);
    EXPECT_EQ(report["general"]["status"], "File Length Correct");
    EXPECT_EQ(report["info"][1], (nlohmann::ordered_json{{"code", "INAM"}, {"name", "Name"}, {"contents", "Title"}}));
    EXPECT_EQ(report["messages"], nlohmann::ordered_json::array());

    Outcome two = Run({"--json", good, missing});
    EXPECT_EQ(two.status, 1);
    nlohmann::json reports = nlohmann::json::parse(two.out);
    ASSERT_TRUE(reports.is_array());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0]["file"], good);
    EXPECT_EQ(reports[1]["messages"],
              (nlohmann::json{{{"caption", "File Open Failure"},
                               {"text", "Unable to open file " + missing + ":\n\nNo such file or directory"}}}));
}

}  // namespace
}  // namespace quibo::test
