// The codec database: what a file's text leaves in the slots, the lookup,
// the messages of a failed load, and the shipped Quibo.dat itself.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <strings.h>

#include "app/main_dialog.h"
#include "codecs/codec_database.h"
#include "fake_file_access.h"
#include "platform/posix_file_access.h"
#include "platform/recorded_fields.h"
#include "scripted_file_dialogs.h"
#include "scripted_message_boxes.h"
#include "temp_dir.h"

namespace quibo::test {
namespace {

std::string Record(const std::string& fourCC, const std::string& description, const std::string& vendor) {
    return fourCC + "\t" + description + "\t" + vendor + "\r\n";
}

// `count` records with FourCCs "C000", "C001", ...
std::string Records(int count) {
    std::string text;
    char fourCC[16];
    for (int i = 0; i < count; ++i) {
        std::snprintf(fourCC, sizeof fourCC, "C%03d", i);
        text += Record(fourCC, "Codec", "Vendor");
    }
    return text;
}

std::string Shown(const char* text) { return text ? text : "<absent>"; }

class CodecFileTest : public testing::Test {
protected:
    // Loads `text` into a fresh table.
    bool Load(const std::string& text) {
        codecs = CodecDatabase{};
        files.Add("Quibo.dat", text);
        return LoadCodecDatabase(files, {"Quibo.dat"}, codecs).complete;
    }
    // FourCC, description and vendor of `slot`, joined by "|".
    std::string Slot(std::size_t slot) const {
        const CodecEntry& entry = codecs.Slot(slot);
        return Shown(entry.fourCC) + "|" + Shown(entry.description) + "|" + Shown(entry.vendor);
    }

    FakeFileAccess files;
    CodecDatabase codecs;
};

TEST_F(CodecFileTest, SizeMustBeOneTo100000Bytes) {
    const std::string record = Record("ABCD", "Name", "Maker");
    const std::string filler = "# " + std::string(100000 - record.size() - 4, 'x') + "\r\n";
    ASSERT_EQ(record.size() + filler.size(), 100000u);
    EXPECT_TRUE(Load(record + filler));
    EXPECT_EQ(Slot(codecs.FindCodecIndex("ABCD")), "ABCD|Name|Maker");

    for (const std::string& text : {std::string(), record + filler + "x"}) {
        SCOPED_TRACE(text.size());
        CodecDatabase fresh;
        files.Add("Quibo.dat", text);
        CodecLoadResult result = LoadCodecDatabase(files, {"Quibo.dat"}, fresh);
        EXPECT_FALSE(result.complete);
        EXPECT_EQ(result.failure.kind, CodecLoadFailure::Kind::InvalidSize);
        // Nothing was read, so not even the unknown entry has texts.
        EXPECT_EQ(fresh.FindCodecIndex("ABCD"), 0u);
        EXPECT_EQ(Shown(fresh.Slot(0).description), "<absent>");
    }
}

TEST_F(CodecFileTest, CommentsAndBlankLinesAreSkippedAnywhere) {
    EXPECT_TRUE(Load("# about\r\n@ more\r\n\r\n" + Record("AAAA", "A", "a") + "# between\r\n\r\n" +
                     Record("BBBB", "B", "b") + "@ last"));
    EXPECT_EQ(codecs.RecordCount(), 2u);
    EXPECT_EQ(Slot(1), "AAAA|A|a");
    EXPECT_EQ(Slot(2), "BBBB|B|b");
    EXPECT_EQ(Slot(0), "<absent>|<unknown>|<unknown>");
}

TEST_F(CodecFileTest, LineFeedOnlyEndsRunTheVendorIntoTheNextLine) {
    EXPECT_FALSE(Load("AAAA\tA\ta\nBBBB\tB\tb\n"));
    EXPECT_EQ(Slot(1), "AAAA|A|<absent>");
    EXPECT_EQ(codecs.RecordCount(), 1u);
}

TEST_F(CodecFileTest, FiveCharacterFourCCStopsWithNothingStored) {
    EXPECT_FALSE(Load(Record("AAAA", "A", "a") + Record("BBBBB", "B", "b") + Record("CCCC", "C", "c")));
    EXPECT_EQ(codecs.RecordCount(), 1u);
    EXPECT_EQ(codecs.FindCodecIndex("BBBB"), 0u);
}

TEST_F(CodecFileTest, LeadingSpacesCountOnlyDirectlyAfterARecord) {
    EXPECT_TRUE(Load(Record("AAAA", "A", "a") + "  " + Record("BBBB", "B", "b")));
    EXPECT_EQ(Slot(2), "BBBB|B|b");

    EXPECT_TRUE(Load("  " + Record("BBBB", "B", "b") + "# note\r\n  " + Record("CCCC", "C", "c")));
    EXPECT_EQ(codecs.RecordCount(), 0u);
}

TEST_F(CodecFileTest, FourthFieldStopsButKeepsTheSlotFindable) {
    EXPECT_FALSE(Load(Record("AAAA", "A", "a") + Record("BBBB", "B", "b\textra") + Record("CCCC", "C", "c")));
    EXPECT_EQ(Slot(2), "BBBB|B|<absent>");
    EXPECT_EQ(codecs.FindCodecIndex("bbbb"), 2u);
    EXPECT_EQ(codecs.FindCodecIndex("CCCC"), 0u);
}

TEST_F(CodecFileTest, At399RecordsTheTableIsFull) {
    EXPECT_TRUE(Load(Records(399) + "\r\n \r\n"));
    EXPECT_EQ(codecs.RecordCount(), 399u);
    EXPECT_EQ(codecs.FindCodecIndex("C398"), 399u);

    CodecDatabase full;
    files.Add("Quibo.dat", Records(400));
    EXPECT_FALSE(LoadCodecDatabase(files, {"Quibo.dat"}, full).complete);
    EXPECT_EQ(full.RecordCount(), 399u);
    EXPECT_EQ(full.FindCodecIndex("C000"), 1u);
    EXPECT_EQ(full.FindCodecIndex("C398"), 399u);
    EXPECT_EQ(full.FindCodecIndex("C399"), 0u);
}

TEST_F(CodecFileTest, LookupIgnoresCaseAndTheFirstDuplicateWins) {
    EXPECT_TRUE(Load(Record("XviD", "First", "1") + Record("XVID", "Second", "2") + Record("abcd", "Lower", "l")));
    EXPECT_EQ(codecs.FindCodecIndex("xvid"), 1u);
    EXPECT_EQ(codecs.FindCodecIndex("XVID"), 1u);
    EXPECT_EQ(codecs.FindCodecIndex("ABCD"), 3u);
    EXPECT_EQ(codecs.FindCodecIndex("ZZZZ"), 0u);
    EXPECT_EQ(Slot(codecs.FindCodecIndex("ZZZZ")), "<absent>|<unknown>|<unknown>");
}

// The window at start-up, with the database looked for in two places.
struct StartingWindow {
    FakeFileAccess files;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    RecordedFields fields;
    MainDialog dialog{{files, messages, dialogs, fields}, {"Quibo.dat", "/opt/quibo/Quibo.dat"}};

    // The texts of the boxes shown, each as "caption: text".
    std::vector<std::string> Shown() const {
        std::vector<std::string> shown;
        for (const Message& message : messages.Shown()) shown.push_back(message.caption + ": " + message.text);
        return shown;
    }
};

const std::string kOperationalNote =
    "Operational Note: Error processing codec data base file Quibo.dat.\nSome or all codec information not "
    "retrieved.\nFourCC code only will be displayed.";

TEST(CodecStartup, MissingFileNamesTheLastPlaceTried) {
    StartingWindow window;
    window.dialog.Start();
    EXPECT_EQ(window.files.Opened(), (std::vector<std::string>{"Quibo.dat", "/opt/quibo/Quibo.dat"}));
    const std::string opening = "Load Codec Data: Error opening codec file /opt/quibo/Quibo.dat:\n\n";
    EXPECT_EQ(window.Shown(), (std::vector<std::string>{opening + std::strerror(ENOENT), kOperationalNote}));
    EXPECT_EQ(window.messages.Shown()[1].icon, MessageIcon::Information);
    EXPECT_EQ(Shown(window.dialog.Codecs().Slot(0).description), "<absent>");
}

TEST(CodecStartup, EachFailureIsFollowedByTheOperationalNote) {
    struct Case {
        const char* path;
        std::string text;
        int readError;
        std::vector<std::string> shown;
    };
    const std::string reading = "Load Codec Data: Error reading codec file Quibo.dat:\n\n";
    for (const Case& c : {Case{"/opt/quibo/Quibo.dat", "", 0,
                               {"Load Codec Data: Invalid codec file: /opt/quibo/Quibo.dat", kOperationalNote}},
                          Case{"Quibo.dat", Record("AAAA", "A", "a"), EIO,
                               {reading + std::strerror(EIO), kOperationalNote}},
                          Case{"Quibo.dat", Record("AAAAA", "A", "a"), 0, {kOperationalNote}},
                          Case{"/opt/quibo/Quibo.dat", Record("AAAA", "A", "a"), 0, {}}}) {
        SCOPED_TRACE(c.shown.empty() ? "good" : c.shown[0]);
        StartingWindow window;
        window.files.Add(c.path, c.text).readError = c.readError;
        window.dialog.Start();
        EXPECT_EQ(window.Shown(), c.shown);
        if (c.shown.size() == 2) {
            EXPECT_EQ(window.messages.Shown()[0].icon, MessageIcon::Exclamation);
        }
        EXPECT_EQ(window.dialog.Codecs().FindCodecIndex("aaaa"), c.shown.empty() ? 1u : 0u);
    }
}

// The database is read whatever locks others hold on it; a place holding a
// file that cannot be opened is the one named, not a later place that holds
// nothing.
TEST(CodecStartup, ReadDespiteLocksAndTheRealCauseNamed) {
    TempDir dir;
    const std::string path = dir.Write("Quibo.dat", Record("AAAA", "A", "a"));
    PosixFileAccess files;
    CodecDatabase codecs;
    int holder = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_TRUE(LoadCodecDatabase(files, {path}, codecs).complete);
    ::close(holder);

    ASSERT_TRUE(std::filesystem::create_directory(dir / "folder.dat"));
    CodecLoadResult failed = LoadCodecDatabase(files, {dir / "folder.dat", dir / "missing.dat"}, codecs);
    EXPECT_EQ(failed.failure.path, dir / "folder.dat");
    EXPECT_EQ(failed.failure.error, EISDIR);
}

TEST(ShippedCodecFile, LoadsWholeWithDistinctFourCCsForEveryTestFile) {
    PosixFileAccess files;
    CodecDatabase codecs;
    ASSERT_TRUE(LoadCodecDatabase(files, {QUIBO_CODEC_FILE}, codecs).complete);
    std::size_t count = codecs.RecordCount();
    EXPECT_GE(count, 300u);
    EXPECT_LE(count, 399u);

    std::set<std::string> seen;
    for (std::size_t slot = 1; slot <= count; ++slot) {
        const CodecEntry& entry = codecs.Slot(slot);
        std::string key = entry.fourCC;
        for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(key).second) << "duplicate " << entry.fourCC;
        EXPECT_TRUE(entry.description && *entry.description) << entry.fourCC;
        EXPECT_TRUE(entry.vendor && *entry.vendor) << entry.fourCC;
    }
    // The FourCCs written by ffmpeg and mencoder in the real-file tests.
    for (const char* fourCC : {"XVID", "DX50", "DIVX", "DIV3", "MJPG", "HFYU", "FFV1", "FMP4", "I420"}) {
        std::size_t slot = codecs.FindCodecIndex(fourCC);
        ASSERT_NE(slot, 0u) << fourCC;
        EXPECT_EQ(::strcasecmp(codecs.Slot(slot).fourCC, fourCC), 0);
    }
}

}  // namespace
}  // namespace quibo::test
