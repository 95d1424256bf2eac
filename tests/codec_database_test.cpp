// The codec database: what a file's text leaves in the slots, the lookup,
// the messages of a failed load, and the shipped Quibo.dat itself.
#include <cctype>
#include <set>
#include <strings.h>
#include <sys/file.h>

#include "codecs/codec_database.h"
#include "test_window.h"

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

// What a file's text leaves in the table: whether it all loaded, how many
// records, and what each FourCC looked up finds ("slot:FourCC|name|vendor").
TEST(CodecFile, TextToSlots) {
    const std::string record = Record("ABCD", "Name", "Maker");
    const std::string filler = "# " + std::string(100000 - record.size() - 4, 'x') + "\r\n";
    const std::string unknown = "0:<absent>|<unknown>|<unknown>";
    struct Case {
        const char* name;
        std::string text;
        bool complete;
        std::size_t records;
        std::vector<std::pair<const char*, std::string>> lookups;
    };
    const Case cases[] = {
        {"100,000 bytes", record + filler, true, 1, {{"ABCD", "1:ABCD|Name|Maker"}}},
        {"comments and blank lines anywhere",
         "# about\r\n@ more\r\n\r\n" + Record("AAAA", "A", "a") + "# between\r\n\r\n" + Record("BBBB", "B", "b") +
             "@ last",
         true, 2, {{"AAAA", "1:AAAA|A|a"}, {"BBBB", "2:BBBB|B|b"}, {"ZZZZ", unknown}}},
        // A line feed alone runs the vendor into the next line.
        {"LF only", "AAAA\tA\ta\nBBBB\tB\tb\n", false, 1, {{"AAAA", "1:AAAA|A|<absent>"}}},
        {"five-character FourCC stops", Record("AAAA", "A", "a") + Record("BBBBB", "B", "b") + Record("CCCC", "C", "c"),
         false, 1, {{"BBBB", unknown}}},
        {"spaces after a record", Record("AAAA", "A", "a") + "  " + Record("BBBB", "B", "b"), true, 2,
         {{"BBBB", "2:BBBB|B|b"}}},
        {"spaces elsewhere", "  " + Record("BBBB", "B", "b") + "# note\r\n  " + Record("CCCC", "C", "c"), true, 0, {}},
        {"fourth field stops, slot stays findable",
         Record("AAAA", "A", "a") + Record("BBBB", "B", "b\textra") + Record("CCCC", "C", "c"), false, 2,
         {{"bbbb", "2:BBBB|B|<absent>"}, {"CCCC", unknown}}},
        {"399 records fill the table", Records(399) + "\r\n \r\n", true, 399, {{"C398", "399:C398|Codec|Vendor"}}},
        {"the 400th is left out", Records(400), false, 399, {{"C000", "1:C000|Codec|Vendor"}, {"C399", unknown}}},
        {"any case, first duplicate wins",
         Record("XviD", "First", "1") + Record("XVID", "Second", "2") + Record("abcd", "Lower", "l"), true, 3,
         {{"xvid", "1:XviD|First|1"}, {"XVID", "1:XviD|First|1"}, {"ABCD", "3:abcd|Lower|l"}}},
    };
    MemoryFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CodecDatabase codecs;
        files.Add("Quibo.dat", c.text);
        EXPECT_EQ(LoadCodecDatabase(files, {"Quibo.dat"}, codecs).complete, c.complete);
        EXPECT_EQ(codecs.RecordCount(), c.records);
        for (const auto& [fourCC, found] : c.lookups) {
            const std::size_t slot = codecs.FindCodecIndex(fourCC);
            const CodecEntry& entry = codecs.Slot(slot);
            EXPECT_EQ(std::to_string(slot) + ":" + Shown(entry.fourCC) + "|" + Shown(entry.description) + "|" +
                          Shown(entry.vendor),
                      found);
        }
    }
    // An empty file and one past 100,000 bytes are not read at all: not even
    // the unknown entry has texts.
    for (const std::string& text : {std::string(), record + filler + "x"}) {
        CodecDatabase fresh;
        files.Add("Quibo.dat", text);
        EXPECT_EQ(LoadCodecDatabase(files, {"Quibo.dat"}, fresh).failure.kind, CodecLoadFailure::Kind::InvalidSize);
        EXPECT_EQ(Shown(fresh.Slot(0).description), "<absent>");
    }
}

// The window at start-up, with the database looked for in two places.
struct StartingWindow : TestWindow<MemoryFiles> {
    StartingWindow() : TestWindow({"Quibo.dat", "/opt/quibo/Quibo.dat"}) {}
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
