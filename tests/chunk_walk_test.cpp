// The walk of the chunk tree: which paths feed the stream facts, the size
// rule, container budgets, nesting and the image bounds.
#include <cstring>

#include "riff/riff_layout.h"
#include "test_window.h"

namespace quibo::test {
namespace {

using N = RiffNode;

std::string FourCC(const std::uint8_t* bytes) { return std::string(reinterpret_cast<const char*>(bytes), 4); }

std::string AudioSamples(const MainDialog& dialog) {
    const AudioSampleBuffer* audio = dialog.AudioSamples();
    return std::string(reinterpret_cast<const char*>(audio->Data()), audio->Filled());
}

TEST_F(DialogTest, SmallAviFillsStreamFactsFromTheirPaths) {
    Load(SmallAvi().ToBytes());
    const StreamFacts& facts = dialog.Facts();
    EXPECT_EQ(Status(), "File Length Correct");
    EXPECT_TRUE(fields.Field(control::kFileStatus).checked);
    EXPECT_TRUE(dialog.FileRead());
    EXPECT_TRUE(dialog.FileAnalysed());
    EXPECT_EQ(facts.videoStreamCount, 1);
    EXPECT_EQ(facts.audioStreamCount, 1);
    EXPECT_EQ(ReadLe32(facts.mainHeader.data() + main_header::kWidth), 320u);
    EXPECT_EQ(FourCC(facts.videoStreamHeader.data() + stream_header::kHandler), "XVID");
    EXPECT_EQ(FourCC(facts.videoFormat.data() + bitmap_info::kCompression), "XVID");
    EXPECT_EQ(ReadLe16(facts.audioFormat.data() + wave_format::kFormatTag), 0x55);
    // Audio chunk data only, without the pad byte after "AUD22".
    EXPECT_EQ(AudioSamples(dialog), "AUD1AUD22");
    ASSERT_TRUE(facts.largestJunkChunk && facts.firstInfoChunk);
    EXPECT_EQ(FourCC(dialog.FileImage() + *facts.largestJunkChunk), "JUNK");
    EXPECT_EQ(FourCC(dialog.FileImage() + *facts.firstInfoChunk), "INAM");
}

TEST_F(DialogTest, TwoVideoStreamsGiveFirstHeaderAndLastFormat) {
    Bytes first(40, '\0'), second(40, '\0');
    first.replace(16, 4, "AAAA");
    second.replace(16, 4, "BBBB");
    Load(N::Riff("AVI ", {N::List("hdrl", {StreamList("vids", "aaaa", first), StreamList("vids", "bbbb", second)})})
             .ToBytes());
    const StreamFacts& facts = dialog.Facts();
    EXPECT_EQ(facts.videoStreamCount, 2);
    EXPECT_EQ(FourCC(facts.videoStreamHeader.data() + stream_header::kHandler), "aaaa");
    EXPECT_EQ(FourCC(facts.videoFormat.data() + bitmap_info::kCompression), "BBBB");
    EXPECT_EQ(Text(control::kAudioEncoding), "No Audio Channels");
    EXPECT_EQ(Text(control::kAudioBitrate), "n.a.");
}

TEST_F(DialogTest, ChildMayExceedItsParentByAtMost1024Bytes) {
    for (std::uint32_t excess : {1024u, 1025u}) {
        SCOPED_TRACE(excess);
        Bytes bytes = N::Riff("AVI ", {InfoList({{"INAM", "Title"}}), N::Leaf("big ")}).ToBytes();
        bytes.replace(bytes.size() - 4, 4, Le32(static_cast<std::uint32_t>(bytes.size() - 8) + excess));
        Load(bytes);
        EXPECT_EQ(dialog.FileAnalysed(), excess == 1024);
        EXPECT_EQ(Status(), excess == 1024 ? "File Length Correct" : "Not a valid AVI File");
        // Rows added before a failure stay.
        EXPECT_EQ(Rows(), std::vector<std::string>{"INAM=Title"});
    }
}

TEST_F(DialogTest, ContainerOfSize3Or4HasNoChildrenWhileSmallerOnesRunOn) {
    for (std::uint32_t size = 0; size <= 4; ++size) {
        SCOPED_TRACE(size);
        Load(N::Riff("AVI ", {InfoList({{"INAM", "Title"}})}).DeclaredSize(size).ToBytes());
        EXPECT_TRUE(dialog.FileAnalysed());
        EXPECT_EQ(fields.Rows().size(), size <= 2 ? 1u : 0u);
    }
    // An empty list (size 4) is stepped over to its sibling.
    Load(N::Riff("AVI ", {N::List("odml"), InfoList({{"INAM", "Title"}})}).ToBytes());
    EXPECT_EQ(Rows(), std::vector<std::string>{"INAM=Title"});
}

TEST_F(DialogTest, OtherFormTypesYieldRowsButNoStreamFacts) {
    for (const char* formType : {"AVIX", "avi "}) {
        SCOPED_TRACE(formType);
        Load(SmallAvi(formType).ToBytes());
        EXPECT_TRUE(dialog.FileAnalysed());
        EXPECT_EQ(dialog.Facts().videoStreamCount, 0);
        EXPECT_EQ(dialog.Facts().audioStreamCount, 0);
        EXPECT_EQ(dialog.AudioSamples()->Filled(), 0u);
        EXPECT_EQ(Rows(), (std::vector<std::string>{"JUNK=Made with Tool 2    ", "INAM=Title", "IART=Artist"}));
        EXPECT_EQ(Text(control::kAudioEncoding), "No Audio Channels");
    }
}

TEST_F(DialogTest, LowerCaseRiffIsOneLeaf) {
    Bytes bytes = SmallAvi().ToBytes();
    bytes.replace(0, 4, "riff");
    Load(bytes);
    EXPECT_EQ(Status(), "File Length Correct");
    EXPECT_TRUE(dialog.FileAnalysed());
    EXPECT_TRUE(fields.Rows().empty());
    EXPECT_EQ(dialog.Facts().videoStreamCount, 0);
    EXPECT_EQ(Text(control::kAudioEncoding), "No Audio Channels");
}

// Nests `inner` in `depth` lists of form type "abcd" (10 path characters
// each).
RiffNode Nested(int depth, RiffNode inner) {
    for (int i = 0; i < depth; ++i) inner = N::List("abcd", {inner});
    return inner;
}

TEST_F(DialogTest, NestingPastThePathLimitIsNotDescendedInto) {
    // "/RIFF:AVI " + depth x "/LIST:abcd" + "/LIST:INFO" + "/INAM":
    // 255 characters at depth 23, 265 at depth 24.
    for (int depth : {23, 24}) {
        SCOPED_TRACE(depth);
        Load(N::Riff("AVI ", {Nested(depth, InfoList({{"INAM", "Deep"}})), InfoList({{"IART", "Shallow"}})})
                 .ToBytes());
        EXPECT_TRUE(dialog.FileAnalysed());
        if (depth == 23) EXPECT_EQ(Rows(), (std::vector<std::string>{"INAM=Deep", "IART=Shallow"}));
        else EXPECT_EQ(Rows(), std::vector<std::string>{"IART=Shallow"});
    }
}

TEST_F(DialogTest, InfoTextRunningPastTheImageEndsThere) {
    // Filler puts the INAM header at 99,000: 992 data bytes lie in the image.
    Bytes bytes = N::Riff("AVI ", {N::Leaf("JUNK", Bytes(98968, '\0')),
                                   N::List("INFO", {N::Leaf("INAM", Bytes(60000, 'x'))})})
                      .ToBytes();
    ASSERT_EQ(bytes.find("INAM"), 99000u);
    Load(bytes);
    EXPECT_EQ(Status(), "File Length Correct");
    EXPECT_EQ(Rows(), std::vector<std::string>{"INAM=" + Bytes(992, 'x')});
}

TEST_F(DialogTest, HugeAudioChunkIsCutToTheImageAndStepsPastTheWalkEnd) {
    // A step computed in 32 bits would wrap to 8 and walk the chunk's data,
    // which holds an INFO list. The file is reported as 5 GiB, so that
    // sizes near 4 GiB are within the size rule at every level.
    Bytes bytes = N::Riff("AVI ", {N::List("hdrl", {StreamList("auds", "", Bytes(16, '\0'))}),
                                   N::List("movi", {N::Leaf("00wb", InfoList({{"INAM", "Wrapped"}}).ToBytes())
                                                        .DeclaredSize(0xFFFFFFFF)})
                                       .DeclaredSize(0xFFFFFFF8)})
                      .DeclaredSize(0xFFFFFFFC)
                      .ToBytes();
    files.Add("/data/test.avi", bytes).reportedSize = std::int64_t{5} << 30;
    Open("/data/test.avi");
    EXPECT_TRUE(dialog.FileAnalysed());
    EXPECT_TRUE(fields.Rows().empty());
    EXPECT_EQ(dialog.AudioSamples()->Filled(), kImageCapacity - (bytes.find("00wb") + 8));
}

TEST_F(DialogTest, SizeRuleHoldsForParentsOfTwoGibibytesAndMore) {
    // A single RIFF chunk of 3 GiB: small children are no larger than it.
    Bytes bytes = N::Riff("AVI ", {N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))}),
                                   N::List("INFO", {N::Leaf("INAM", Bytes("Big\0", 4))})})
                      .DeclaredSize(0xC0000000 - 8)
                      .ToBytes();
    files.Add("/data/test.avi", bytes).reportedSize = std::int64_t{0xC0000000};
    Open("/data/test.avi");
    EXPECT_EQ(Status(), "File Length Correct");
    EXPECT_TRUE(dialog.FileAnalysed());
    EXPECT_EQ(Rows(), std::vector<std::string>{"INAM=Big"});
    // A child claiming 4 GiB inside a small parent is no longer accepted
    // through 32-bit wrap-around.
    Load(N::Riff("AVI ", {N::List("hdrl", {N::Leaf("JUNK", "x").DeclaredSize(0xFFFFFFFF)})}).ToBytes());
    EXPECT_EQ(Status(), "Not a valid AVI File");
}

}  // namespace
}  // namespace quibo::test
