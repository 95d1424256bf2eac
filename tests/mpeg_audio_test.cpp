// SPDX-License-Identifier: GPL-3.0-or-later
// The MPEG audio frame scan over collected audio data: frames counted, tag headers and the bounds of the data.
#include "analysis/mpeg_audio_scan.h"
#include "test_window.h"

namespace quibo::test {
namespace {

// Second and third header bytes of some frames, and their lengths.
struct FrameKind { std::uint8_t b1, b2; std::size_t length; };
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

// An MPEG-1 frame at 128 kbit/s (stereo, or mono with `mono`) starting with
// a tag header at its place and `lame` 120 bytes after it.
Bytes TagFrame(const char* header, const Bytes& lame = "LAME3.92 ", bool mono = false) {
    Bytes frame = Frames(kMpeg1At128, 1);
    const std::size_t at = mono ? 21 : 36;
    if (mono) frame[3] = '\xC0';
    frame.replace(at, 4, header);
    // 1,000 frames of 400,000 bytes: after the flags for a Xing header,
    // after version, delay and quality for a VBRI header.
    const Bytes frames("\0\0\x03\xE8", 4), bytes("\0\x06\x1A\x80", 4);
    if (::strncasecmp(header, "VBRI", 4) == 0) frame.replace(at + 10, 8, bytes + frames);
    else frame.replace(at + 4, 12, Bytes("\0\0\0\x03", 4) + frames + bytes);
    frame.replace(at + 120, lame.size(), lame);
    return frame;
}

// The scan of the first `filled` bytes of `data` (all of them by default).
MpegAudioScan ScanOf(const Bytes& data, std::size_t filled = Bytes::npos) {
    return ScanMpegAudio(reinterpret_cast<const std::uint8_t*>(data.data()), std::min(filled, data.size()));
}

// Plain frames are counted; a tag header gives the totals (400,000 bytes in
// 1,000 frames of 1,152 samples at 44,100 Hz) and names the encoder. Nothing
// past the collected data (the first `filled` bytes) is read.
TEST(MpegAudioScan, VerdictTagAndRate) {
    const Bytes junk("\xFF\xFB\x00junk", 7), tagged = TagFrame("Xing");
    const std::uint32_t fromTotals = 15313;
    struct Case { const char* what; Bytes data; int verdict; const char* tag; std::uint32_t bytesPerSecond;
                  std::size_t filled = Bytes::npos; };
    const Case cases[] = {
        {"nothing", "", kVerdictNone, "", 0},
        {"nine frames", Frames(kMpeg1At128, 9), kVerdictNone, "", 16000},
        {"ten frames", Frames(kMpeg1At128, 10), kVerdictCbr, "", 16000},
        {"MPEG-1 at 160", Frames(kMpeg1At160, 30), kVerdictCbr, "", 20000},
        {"MPEG-2 at 64", Frames(kMpeg2At64, 10), kVerdictCbr, "", 8000},
        {"reserved rate", Frames(kReservedRate, 10), kVerdictCbr, "", 16000},
        {"Layer II", Frames(kLayer2, 20), kVerdictCbr, "", 16000},
        {"junk searched through", junk + Frames(kMpeg1At128, 5) + "\xFF\xFF" + Frames(kMpeg1At128, 5), kVerdictCbr, "",
         16000},
        {"one change", Frames(kMpeg1At128, 5) + Frames(kMpeg1At160, 5), kVerdictVbr, "", 18000},
        {"one change, nine frames", Frames(kMpeg1At128, 4) + Frames(kMpeg1At160, 5), kVerdictNone, "", 18222},
        {"MPEG-2.5", Frames(kMpeg25Layer3, 20), kVerdictNone, "", 0},
        {"free format", Frames({0xFB, 0x00, 417}, 20, false), kVerdictNone, "", 0},
        {"forbidden bitrate", Frames({0xFB, 0xF0, 417}, 20, false), kVerdictNone, "", 0},
        // A Layer III sync inside Layer II data is another stream's.
        {"chance sync", Bytes("\xFF\xFB\xA0", 3) + Frames(kLayer2, 12), kVerdictCbr, "", 16000},
        {"Xing", TagFrame("Xing"), kVerdictVbr, "LAME3.92", fromTotals},
        {"XING and frames", TagFrame("XING") + Frames(kMpeg1At128, 20), kVerdictVbr, "LAME3.92", fromTotals},
        {"Info is constant", TagFrame("Info") + Frames(kMpeg1At128, 20), kVerdictCbr, "LAME3.92", fromTotals},
        {"mono: the header at 21", TagFrame("Xing", "LAME3.92 ", true), kVerdictVbr, "LAME3.92", fromTotals},
        {"lower-case lame", TagFrame("Xing", "lame3.92 "), kVerdictVbr, "", fromTotals},
        {"another encoder", TagFrame("Xing", "Lavc59.37"), kVerdictVbr, "", fromTotals},
        {"long", TagFrame("Xing", "LAME3.99.5abcdefghij"), kVerdictVbr, "LAME3.99.5abcde", fromTotals},
        {"NUL", TagFrame("Xing", Bytes("LAME3.90\0abc", 12)), kVerdictVbr, "LAME3.90", fromTotals},
        {"LAME 3.100", TagFrame("Xing", "LAME3.100\x04\xAF"), kVerdictVbr, "LAME3.100", fromTotals},
        {"VBRI", TagFrame("VBRI"), kVerdictVbr, "Frau", fromTotals},
        {"vbri", TagFrame("vbri"), kVerdictVbr, "Frau", fromTotals},
        {"shifted from its place", Bytes(1, '\0') + tagged, kVerdictNone, "", 16000},
        {"tenth header's third byte not filled", Frames(kMpeg1At128, 10), kVerdictNone, "", 16000, 9 * 417 + 2},
        {"tenth header filled", Frames(kMpeg1At128, 10), kVerdictCbr, "", 16000, 9 * 417 + 3},
        // The first frame's follower is not read past the fill end, where its third byte would make it no header.
        {"follower's third byte not filled", Frames(kMpeg1At128, 1, false) + Bytes("\xFF\xFB\0", 3), kVerdictNone, "",
         16000, 417 + 2},
        // Tag bytes past the fill end read as zero.
        {"tag header not filled", tagged, kVerdictNone, "", 16000, 39},
        {"LAME tag not filled", tagged, kVerdictVbr, "", fromTotals, 158},
        {"LAME tag partly filled", tagged, kVerdictVbr, "LAME3.", fromTotals, 162},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const MpegAudioScan scan = ScanOf(c.data, c.filled);
        EXPECT_EQ(scan.verdict, c.verdict);
        EXPECT_STREQ(scan.tag.text, c.tag);
        EXPECT_EQ(scan.bytesPerSecond, c.bytesPerSecond);
    }
}

}  // namespace
}  // namespace quibo::test
