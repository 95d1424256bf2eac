// SPDX-License-Identifier: GPL-3.0-or-later
// The walk of the chunk tree: which paths feed the stream facts, the size
// rule, container budgets, nesting and the image bounds.
#include "test_window.h"

namespace quibo::test {
namespace {

TEST_F(DialogTest, SmallAviFillsStreamFactsFromTheirPaths) {
    Load(SmallAvi().ToBytes());
    const StreamFacts& facts = dialog.Facts();
    EXPECT_TRUE(fields.Field(control::kFileStatus).checked);
    EXPECT_TRUE(dialog.FileRead());
    EXPECT_EQ(std::pair(facts.videoStreamCount, facts.audioStreamCount), std::pair(1, 1));
    // Audio chunk data only, without the pad byte after "AUD22".
    const AudioSampleBuffer* audio = dialog.AudioSamples();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(audio->Data()), audio->Filled()), "AUD1AUD22");
}

TEST_F(DialogTest, TwoVideoStreamsGiveFirstHeaderAndLastFormat) {
    const Bytes first = Bytes(16, '\0') + "AAAA" + Bytes(20, '\0'), second = Bytes(16, '\0') + "BBBB" + Bytes(20, '\0');
    Load(N::Riff("AVI ", {N::List("hdrl", {StreamList("vids", "aaaa", first), StreamList("vids", "bbbb", second)})})
             .ToBytes());
    EXPECT_EQ(dialog.Facts().videoStreamCount, 2);
    EXPECT_EQ(dialog.Report().video->handler + "/" + dialog.Report().video->compression, "aaaa/BBBB");
    EXPECT_EQ(Text(control::kAudioBitrate), "n.a.");
}

// Nests `inner` in `depth` lists "abcd" (10 path characters each).
RiffNode Nested(int depth, RiffNode inner) {
    for (int i = 0; i < depth; ++i) inner = N::List("abcd", {inner});
    return inner;
}

// A RIFF whose last child claims `excess` bytes more than its parent holds.
Bytes Exceeding(std::uint32_t excess) {
    Bytes bytes = N::Riff("AVI ", {InfoList({{"INAM", "Title"}}), N::Leaf("big ")}).ToBytes();
    return bytes.replace(bytes.size() - 4, 4, Le32(static_cast<std::uint32_t>(bytes.size() - 8) + excess));
}

// Crafted trees, walked: the verdict, the rows (no stream facts) and the
// audio bytes collected. Rows found before a failure stay.
TEST_F(DialogTest, CraftedWalks) {
    auto avi = [](std::vector<RiffNode> children) { return N::Riff("AVI ", std::move(children)); };
    const Bytes lowerCase = "riff" + SmallAvi().ToBytes().substr(4);
    const Bytes hugeAudio =
        avi({N::List("hdrl", {StreamList("auds", "", Bytes(16, '\0'))}),
             N::List("movi", {N::Leaf("00wb", InfoList({{"INAM", "Wrapped"}}).ToBytes()).DeclaredSize(0xFFFFFFFF)})
                 .DeclaredSize(0xFFFFFFF8)})
            .DeclaredSize(0xFFFFFFFC).ToBytes();
    const std::vector<std::string> small{"JUNK=Made with Tool 2    ", "INAM=Title", "IART=Artist"};
    const RiffNode title = InfoList({{"INAM", "Title"}}), deep = InfoList({{"INAM", "Deep"}}),
                   shallow = InfoList({{"IART", "Shallow"}});
    const char *complete = "File Length Correct", *invalid = "Not a valid AVI File";
    // reportedSize: the bytes' own size when 0.
    struct Case { const char* name; Bytes bytes; std::int64_t reportedSize; const char* status;
                  std::vector<std::string> rows = {}; std::size_t audioBytes = 0; };
    const Case cases[] = {
        {"child 1024 bytes past its parent", Exceeding(1024), 0, complete, {"INAM=Title"}},
        {"child 1025 bytes past its parent", Exceeding(1025), 0, invalid, {"INAM=Title"}},
        {"RIFF of size 2 runs on", avi({title}).DeclaredSize(2).ToBytes(), 0, complete, {"INAM=Title"}},
        {"RIFF of size 3 is empty", avi({title}).DeclaredSize(3).ToBytes(), 0, complete},
        {"RIFF of size 4 is empty", avi({title}).DeclaredSize(4).ToBytes(), 0, complete},
        {"an empty list is stepped over", avi({N::List("odml"), title}).ToBytes(), 0, complete, {"INAM=Title"}},
        {"AVIX: rows, no streams", SmallAvi("AVIX").ToBytes(), 0, complete, small},
        {"lower-case form type", SmallAvi("avi ").ToBytes(), 0, complete, small},
        {"lower-case RIFF is one leaf", lowerCase, 0, complete},
        // "/RIFF:AVI " + depth x "/LIST:abcd" + "/LIST:INFO" + "/INAM": 255 characters at depth 23, 265 at depth 24.
        {"path of 255", avi({Nested(23, deep), shallow}).ToBytes(), 0, complete, {"INAM=Deep", "IART=Shallow"}},
        {"path of 265", avi({Nested(24, deep), shallow}).ToBytes(), 0, complete, {"IART=Shallow"}},
        // The INAM header at 99,000: 992 data bytes lie in the image.
        {"text past the image",
         avi({N::Leaf("JUNK", Bytes(98968, '\0')), N::List("INFO", {N::Leaf("INAM", Bytes(60000, 'x'))})}).ToBytes(), 0,
         complete, {"INAM=" + Bytes(992, 'x')}},
        // A step computed in 32 bits would wrap to 8 and walk the chunk's data, which holds an INFO list; at 5 GiB
        // sizes near 4 GiB keep the size rule at every level.
        {"4 GiB audio chunk", hugeAudio, std::int64_t{5} << 30, complete, {},
         kImageCapacity - (hugeAudio.find("00wb") + 8)},
        // Small children are no larger than a parent of 3 GiB; a child of
        // 4 GiB in a small parent is not accepted through wrap-around.
        {"3 GiB parent",
         avi({N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))}),
              N::List("INFO", {N::Leaf("INAM", Bytes("Big\0", 4))})})
             .DeclaredSize(0xC0000000 - 8).ToBytes(),
         std::int64_t{0xC0000000}, complete, {"INAM=Big"}},
        {"4 GiB child", avi({N::List("hdrl", {N::Leaf("JUNK", "x").DeclaredSize(0xFFFFFFFF)})}).ToBytes(), 0, invalid},
        // INFO texts end at their NUL or their chunk's end and are shown as UTF-8, Latin-1 when they are no UTF-8.
        {"INFO texts",
         avi({N::List("INFO", {N::Leaf("INAM", "abcd"), N::Leaf("IART", Bytes("ab\0cd", 5)),
                               N::Leaf("ICMT", "Caf\xC3\xA9"), N::Leaf("ICOP", "Caf\xE9 \x80")})}).ToBytes(),
         0, complete, {"INAM=abcd", "IART=ab", "ICMT=Caf\xC3\xA9", "ICOP=Caf\xC3\xA9 \xE2\x82\xAC"}},
        // The list claims the IART chunk written after it, and takes it as INFO.
        {"INFO list longer than its children",
         avi({InfoList({{"INAM", "Title"}}).DeclaredSize(4 + 14 + 16), N::Leaf("IART", Bytes("Artist\0", 7)),
              N::Leaf("ISFT", "Tool")}).ToBytes(),
         0, complete, {"INAM=Title", "IART=Artist"}},
        // Each list's child runs past the list, which walks on to the end; without a bound, for years.
        {"lists overrunning lists", avi(std::vector(4000, N::List("abcd").DeclaredSize(16))).ToBytes(), 0, invalid},
        // Three text runs in each JUNK chunk, in any letter case of the id, at any depth: five rows at most.
        {"JUNK texts", avi({N::Leaf("JUNK", "first1.second.third3"),
                            N::List("movi", {N::Leaf("junk", "fourth.fifth5.sixth6")})}).ToBytes(), 0, complete,
         {"JUNK=first1", "JUNK=second", "JUNK=third3", "JUNK=fourth", "JUNK=fifth5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files.Add("/data/test.avi", c.bytes).reportedSize =
            c.reportedSize ? std::optional(c.reportedSize) : std::nullopt;
        Open("/data/test.avi");
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(dialog.FileAnalysed(), std::string(c.status) != invalid);
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(dialog.Facts().videoStreamCount, 0);
        EXPECT_EQ(dialog.AudioSamples()->Filled(), c.audioBytes);
        // Rows of a walk that failed part-way are shown but not editable.
        fields.Select(0);
        EXPECT_EQ(dialog.CanEditSelection(),
                  dialog.FileAnalysed() && !c.rows.empty() && !c.rows[0].starts_with("JUNK="));
        if (dialog.FileAnalysed() && dialog.Facts().audioStreamCount == 0) {
            EXPECT_EQ(Text(control::kAudioEncoding), "No Audio Channels");
        }
    }
}

}  // namespace
}  // namespace quibo::test
