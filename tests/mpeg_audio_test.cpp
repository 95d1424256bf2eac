// The MPEG Layer III frame scan over collected audio data, and the Audio
// group built from it: format names, bitrate rounding, CBR/VBR marks.
#include <algorithm>
#include <cstring>

#include "analysis/audio_facts.h"
#include "analysis/mpeg_audio_scan.h"
#include "dialog_fixture.h"

namespace quibo::test {
namespace {

// Second and third header bytes of some frames, and their lengths.
struct FrameKind {
    std::uint8_t b1, b2;
    std::size_t length;
};
constexpr FrameKind kMpeg1At128{0xFB, 0x90, 417};     // 144,000 x 128 / 44,100
constexpr FrameKind kMpeg1At160{0xFB, 0xA0, 522};     // 144,000 x 160 / 44,100
constexpr FrameKind kMpeg2At64{0xF3, 0x80, 208};      // 72,000 x 64 / 22,050
constexpr FrameKind kReservedRate{0xFB, 0x9C, 368};   // 144,000 x 128 / 50,000
constexpr FrameKind kLayer2{0xFD, 0x90, 417};
constexpr FrameKind kMpeg25Layer3{0xE3, 0x90, 417};

// `count` frames. Halfway through each lies a header of another bitrate
// that the walk must step over, unless `decoy` is false.
Bytes Frames(FrameKind kind, int count, bool decoy = true) {
    Bytes frame(kind.length, '\0');
    for (std::size_t at : {std::size_t{0}, decoy ? kind.length / 2 : 0}) {
        frame[at] = '\xFF';
        frame[at + 1] = static_cast<char>(kind.b1);
        frame[at + 2] = static_cast<char>(at == 0 ? kind.b2 : kind.b2 ^ 0x10);
    }
    Bytes frames;
    for (int i = 0; i < count; ++i) frames += frame;
    return frames;
}

// A stereo MPEG-1 frame starting with a tag header at 36 and `lame` at 156.
Bytes TagFrame(const char* header, const Bytes& lame = "LAME3.92 ") {
    Bytes frame = Frames(kMpeg1At128, 1);
    frame.replace(36, 4, header);
    frame.replace(156, lame.size(), lame);
    return frame;
}

struct Scan {
    int verdict;
    std::string tag;
};

// Scans the first `filled` bytes of `data` (all of them by default).
Scan ScanOf(const Bytes& data, std::size_t filled = Bytes::npos) {
    EncoderTag tag;
    std::strcpy(tag.text, "stale");
    int verdict = ScanMpegAudio(reinterpret_cast<const std::uint8_t*>(data.data()), std::min(filled, data.size()), tag);
    return {verdict, tag.text};
}

TEST(MpegAudioScan, TenFramesOfOneBitrateAreConstant) {
    EXPECT_EQ(ScanOf("").verdict, kVerdictNone);
    EXPECT_EQ(ScanOf("").tag, "");
    EXPECT_EQ(ScanOf(Frames(kMpeg1At128, 9)).verdict, kVerdictNone);
    EXPECT_EQ(ScanOf(Frames(kMpeg1At128, 10)).verdict, kVerdictCbr);
    EXPECT_EQ(ScanOf(Frames(kMpeg1At160, 30)).verdict, kVerdictCbr);
    EXPECT_EQ(ScanOf(Frames(kMpeg2At64, 10)).verdict, kVerdictCbr);
    EXPECT_EQ(ScanOf(Frames(kReservedRate, 10)).verdict, kVerdictCbr);
    // Junk before and between frames is searched through.
    const Bytes junk("\xFF\xFB\x00junk", 7);
    EXPECT_EQ(ScanOf(junk + Frames(kMpeg1At128, 5) + "\xFF\xFF" + Frames(kMpeg1At128, 5)).verdict, kVerdictCbr);
}

TEST(MpegAudioScan, OneChangeOfBitrateIsVariable) {
    EXPECT_EQ(ScanOf(Frames(kMpeg1At128, 5) + Frames(kMpeg1At160, 5)).verdict, kVerdictVbr);
    EXPECT_EQ(ScanOf(Frames(kMpeg1At128, 4) + Frames(kMpeg1At160, 5)).verdict, kVerdictNone);
}

TEST(MpegAudioScan, OnlyMpeg1And2LayerIIIFramesCount) {
    EXPECT_EQ(ScanOf(Frames(kLayer2, 20)).verdict, kVerdictNone);
    EXPECT_EQ(ScanOf(Frames(kMpeg25Layer3, 20)).verdict, kVerdictNone);
    // Free-format and forbidden bitrate indexes.
    EXPECT_EQ(ScanOf(Frames({0xFB, 0x00, 417}, 20, false)).verdict, kVerdictNone);
    EXPECT_EQ(ScanOf(Frames({0xFB, 0xF0, 417}, 20, false)).verdict, kVerdictNone);
}

TEST(MpegAudioScan, TagHeadersDecideVariableAndNameTheEncoder) {
    EXPECT_EQ(ScanOf(TagFrame("Xing")).verdict, kVerdictVbr);
    EXPECT_EQ(ScanOf(TagFrame("Xing")).tag, "LAME3.92");
    EXPECT_EQ(ScanOf(TagFrame("XING") + Frames(kMpeg1At128, 20)).verdict, kVerdictVbr);
    EXPECT_EQ(ScanOf(TagFrame("Xing", "lame3.92 ")).tag, "");
    EXPECT_EQ(ScanOf(TagFrame("Xing", "Lavc59.37")).tag, "");
    EXPECT_EQ(ScanOf(TagFrame("Xing", "LAME3.99.5abcdefghij")).tag, "LAME3.99.5abcde");
    EXPECT_EQ(ScanOf(TagFrame("Xing", Bytes("LAME3.90\0abc", 12))).tag, "LAME3.90");
    for (const char* vbri : {"VBRI", "vbri"}) {
        EXPECT_EQ(ScanOf(TagFrame(vbri)).verdict, kVerdictVbr);
        EXPECT_EQ(ScanOf(TagFrame(vbri)).tag, "Frau");
    }
    // The header must stand at 36 exactly.
    Bytes shifted = TagFrame("Xing");
    shifted.insert(0, 1, '\0');
    EXPECT_EQ(ScanOf(shifted).verdict, kVerdictNone);
}

TEST(MpegAudioScan, NothingPastTheCollectedDataIsRead) {
    // A tenth header whose third byte lies past the fill end.
    Bytes data = Frames(kMpeg1At128, 10);
    EXPECT_EQ(ScanOf(data, 9 * 417 + 2).verdict, kVerdictNone);
    EXPECT_EQ(ScanOf(data, 9 * 417 + 3).verdict, kVerdictCbr);

    // Tag bytes past the fill end read as zero.
    Bytes tagged = TagFrame("Xing");
    EXPECT_EQ(ScanOf(tagged, 39).verdict, kVerdictNone);
    EXPECT_EQ(ScanOf(tagged, 158).verdict, kVerdictVbr);
    EXPECT_EQ(ScanOf(tagged, 158).tag, "");
    EXPECT_EQ(ScanOf(tagged, 162).tag, "LAME3.");
}

TEST(AudioFacts, BitrateToTheNearestKilobitWithTheMark) {
    struct Case {
        std::uint32_t bytesPerSec;
        int verdict;
        const char* text;
    };
    for (Case c : {Case{16000, kVerdictCbr, "128 kb/s CBR  "}, Case{17437, kVerdictVbr, "139 kb/s VBR  "},
                   Case{62, kVerdictNone, "0 kb/s"}, Case{63, kVerdictNone, "1 kb/s"},
                   Case{0, kVerdictCbr, "0 kb/s CBR  "}, Case{176400, kVerdictNone, "1411 kb/s"}}) {
        EXPECT_EQ(FormatAudioBitrate(c.bytesPerSec, c.verdict), c.text);
    }
}

TEST(AudioFacts, EveryFormatTagHasAName) {
    const std::vector<std::pair<std::uint16_t, const char*>> names = {
        {0x0000, "<unknown>"},   {0x0001, "PCM"},         {0x0002, "MS ADPCM"}, {0x0011, "IMA ADPCM"},
        {0x0031, "MS GSM 6.10"}, {0x0032, "MS GSM 6.10"}, {0x0050, "MP1/MP2"},  {0x0055, "MP3"},
        {0x0160, "DivX WMA"},    {0x0161, "DivX WMA"},    {0x2000, "AC3"},      {0x00ff, "Unknown type 0x00ff"},
        {0xa106, "Unknown type 0xa106"}, {0xffff, "Unknown type 0xffff"}};
    for (auto [tag, name] : names) EXPECT_EQ(AudioFormatName(tag), name) << tag;
}

// One audio stream of format `tag`; `data` in two audio chunks.
Bytes AudioAvi(std::uint16_t tag, std::uint32_t bytesPerSec, const Bytes& data) {
    Bytes wave = Bytes{static_cast<char>(tag), static_cast<char>(tag >> 8), 2, 0} + Le32(44100) + Le32(bytesPerSec) +
                 Bytes("\x01\x00\x10\x00", 4);
    using N = RiffNode;
    return N::Riff("AVI ", {N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0')), StreamList("auds", "", wave)}),
                            N::List("movi", {N::Leaf("01wb", data.substr(0, 100)), N::Leaf("01wb", data.substr(100))})})
        .ToBytes();
}

TEST_F(DialogTest, AudioGroupShowsNameTagAndMark) {
    Load(AudioAvi(0x55, 16000, TagFrame("Xing") + Frames(kMpeg1At128, 3)));
    EXPECT_EQ(Text(control::kAudioEncoding), "MP3  LAME3.92");
    EXPECT_EQ(Text(control::kAudioBitrate), "128 kb/s VBR  ");

    Load(AudioAvi(0x01, 176400, Bytes(4000, '\0')));
    EXPECT_EQ(Text(control::kAudioEncoding), "PCM  ");
    EXPECT_EQ(Text(control::kAudioBitrate), "1411 kb/s");
}

}  // namespace
}  // namespace quibo::test
