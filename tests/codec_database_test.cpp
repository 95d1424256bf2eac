// SPDX-License-Identifier: GPL-3.0-or-later
// The codec database: what a file's text leaves in the slots, the lookup,
// the messages of a failed load, and the shipped Quibo.dat itself.
#include <sys/file.h>

#include "test_window.h"

namespace quibo::test {
namespace {

std::string Record(const std::string& fourCC, const std::string& description, const std::string& vendor) {
    return fourCC + "\t" + description + "\t" + vendor + "\r\n";
}

// `count` records with FourCCs "C000", "C001", ...
std::string Records(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Record("C" + std::to_string(1000 + i).substr(1), "Codec", "Vendor");
    return text;
}

std::string Shown(const char* text) { return text ? text : "<absent>"; }

// What a file's text leaves in the table: whether it all loaded, was read at all, how many records, and what each
// FourCC looked up finds ("slot:FourCC|name|vendor").
TEST(CodecFile, TextToSlots) {
    const std::string record = Record("ABCD", "Name", "Maker");
    const std::string filler = "# " + std::string(100000 - record.size() - 4, 'x') + "\r\n";
    const std::string unknown = "0:<absent>|<unknown>|<unknown>";
    enum Loaded { kAll, kPart, kUnread };
    using Lookups = std::vector<std::pair<const char*, std::string>>;  // a FourCC and what it finds
    struct Case { const char* name; std::string text; Loaded loaded; std::size_t records; Lookups lookups; };
    const Case cases[] = {
        {"100,000 bytes", record + filler, kAll, 1, {{"ABCD", "1:ABCD|Name|Maker"}}},
        // An empty file and a longer one are not read at all: not even the unknown entry has texts.
        {"empty", "", kUnread, 0, {{"ABCD", "0:<absent>|<absent>|<absent>"}}},
        {"100,001 bytes", record + filler + "x", kUnread, 0, {{"ABCD", "0:<absent>|<absent>|<absent>"}}},
        {"comments and blank lines anywhere",
         "# about\r\n@ more\r\n\r\n" + Record("AAAA", "A", "a") + "# between\r\n\r\n" + Record("BBBB", "B", "b") +
             "@ last",
         kAll, 2, {{"AAAA", "1:AAAA|A|a"}, {"BBBB", "2:BBBB|B|b"}, {"ZZZZ", unknown}}},
        // A line feed alone runs the vendor into the next line.
        {"LF only", "AAAA\tA\ta\nBBBB\tB\tb\n", kPart, 1, {{"AAAA", "1:AAAA|A|<absent>"}}},
        {"five-character FourCC stops", Record("AAAA", "A", "a") + Record("BBBBB", "B", "b") + Record("CCCC", "C", "c"),
         kPart, 1, {{"BBBB", unknown}}},
        {"spaces after a record", Record("AAAA", "A", "a") + "  " + Record("BBBB", "B", "b"), kAll, 2,
         {{"BBBB", "2:BBBB|B|b"}}},
        {"spaces elsewhere", "  " + Record("BBBB", "B", "b") + "# note\r\n  " + Record("CCCC", "C", "c"), kAll, 0, {}},
        {"fourth field stops, slot stays findable",
         Record("AAAA", "A", "a") + Record("BBBB", "B", "b\textra") + Record("CCCC", "C", "c"), kPart, 2,
         {{"bbbb", "2:BBBB|B|<absent>"}, {"CCCC", unknown}}},
        {"399 records fill the table", Records(399) + "\r\n \r\n", kAll, 399, {{"C398", "399:C398|Codec|Vendor"}}},
        {"the 400th is left out", Records(400), kPart, 399, {{"C000", "1:C000|Codec|Vendor"}, {"C399", unknown}}},
        {"any case, first duplicate wins",
         Record("XviD", "First", "1") + Record("XVID", "Second", "2") + Record("abcd", "Lower", "l"), kAll, 3,
         {{"xvid", "1:XviD|First|1"}, {"XVID", "1:XviD|First|1"}, {"ABCD", "3:abcd|Lower|l"}}},
    };
    MemoryFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CodecDatabase codecs;
        files.Add("Quibo.dat", c.text);
        const CodecLoadResult result = LoadCodecDatabase(files, {"Quibo.dat"}, codecs);
        EXPECT_EQ(result.complete, c.loaded == kAll);
        EXPECT_EQ(result.failure.kind == CodecLoadFailure::Kind::InvalidSize, c.loaded == kUnread);
        EXPECT_EQ(codecs.RecordCount(), c.records);
        for (const auto& [fourCC, found] : c.lookups) {
            const std::size_t slot = codecs.FindCodecIndex(fourCC);
            const CodecEntry& entry = codecs.Slot(slot);
            EXPECT_EQ(std::to_string(slot) + ":" + Shown(entry.fourCC) + "|" + Shown(entry.description) + "|" +
                          Shown(entry.vendor),
                      found);
        }
    }
}

// The window at start-up, with the database looked for in two places: each failure is followed by the operational note.
TEST(CodecStartup, EachFailureIsFollowedByTheOperationalNote) {
    // The file's place (nullptr: none), its text, the error reading it, and the messages shown.
    struct Case { const char* path; std::string text; int readError; std::vector<std::string> shown; };
    const std::string note = "Operational Note: Error processing codec data base file Quibo.dat.\nSome or all codec "
                             "information not retrieved.\nFourCC code only will be displayed.";
    const std::string reading = "Load Codec Data: Error reading codec file Quibo.dat:\n\n";
    // A missing file: the last place tried is named.
    for (const Case& c : {Case{nullptr, "", 0,
                               {"Load Codec Data: Error opening codec file /opt/quibo/Quibo.dat:\n\n" +
                                    std::string(std::strerror(ENOENT)), note}},
                          Case{"/opt/quibo/Quibo.dat", "", 0,
                               {"Load Codec Data: Invalid codec file: /opt/quibo/Quibo.dat", note}},
                          Case{"Quibo.dat", Record("AAAA", "A", "a"), EIO, {reading + std::strerror(EIO), note}},
                          Case{"Quibo.dat", Record("AAAAA", "A", "a"), 0, {note}},
                          Case{"/opt/quibo/Quibo.dat", Record("AAAA", "A", "a"), 0, {}}}) {
        SCOPED_TRACE(c.shown.empty() ? "good" : c.shown[0]);
        TestWindow<MemoryFiles> window({"Quibo.dat", "/opt/quibo/Quibo.dat"});
        if (c.path) window.files.Add(c.path, c.text).readError = c.readError;
        window.dialog.Start();
        EXPECT_EQ(window.Shown(), c.shown);
        for (const Message& m : window.messages.shown)
            EXPECT_EQ(m.icon, m.caption == "Operational Note" ? MessageIcon::Information : MessageIcon::Exclamation);
        EXPECT_EQ(window.dialog.Codecs().FindCodecIndex("aaaa"), c.shown.empty() ? 1u : 0u);
        if (c.path) continue;
        EXPECT_EQ(window.files.Opened(), (std::vector<std::string>{"Quibo.dat", "/opt/quibo/Quibo.dat"}));
        EXPECT_EQ(Shown(window.dialog.Codecs().Slot(0).description), "<absent>");
    }
}

// The database is read whatever locks others hold on it; a place holding a file that cannot be opened is the one named,
// not a later place that holds nothing. The shipped file loads whole: the real-file tests find a record there for each
// FourCC ffmpeg and mencoder write.
TEST(CodecFilesOnDisk, ReadDespiteLocksTheRealCauseNamedAndTheShippedFileWhole) {
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

    ASSERT_TRUE(LoadCodecDatabase(files, {QUIBO_CODEC_FILE}, codecs).complete);
    const std::size_t count = codecs.RecordCount();
    EXPECT_TRUE(count >= 300 && count <= 399) << count;
    // Each FourCC finds its own record: no other before it has it in any case.
    for (std::size_t slot = 1; slot <= count; ++slot) {
        const CodecEntry& entry = codecs.Slot(slot);
        EXPECT_EQ(codecs.FindCodecIndex(entry.fourCC), slot) << "duplicate " << entry.fourCC;
        EXPECT_TRUE(entry.description && *entry.description && entry.vendor && *entry.vendor) << entry.fourCC;
    }
}

}  // namespace
}  // namespace quibo::test
