// SPDX-License-Identifier: GPL-3.0-or-later
// Decides whether the MPEG audio (Layer II or III) at the start of the
// file has a constant or variable bitrate, measures that bitrate, and picks
// up the encoder's tag from a Xing, Info (LAME) or VBRI header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quibo {

inline constexpr int kVerdictVbr = 1;
inline constexpr int kVerdictCbr = 0;
inline constexpr int kVerdictNone = -1;

// Room for 15 characters and the NUL.
struct EncoderTag {
    char text[16] = {};
};

// Sample rates in Hz by version bit (0 MPEG-2, 1 MPEG-1) and sampling
// index; the reserved index 3 counts as 50,000 Hz.
extern const int MpegSampleRates[2][4];
// Layer III bitrates in kbit/s by version bit and bitrate index; -1 marks
// free format and the forbidden index. Layer II of MPEG-2 uses the same
// table as Layer III.
extern const int MpegLayer3Bitrates[2][16];
// Layer II bitrates of MPEG-1 in kbit/s by bitrate index.
extern const int Mpeg1Layer2Bitrates[16];

struct MpegAudioScan {
    int verdict = kVerdictNone;
    EncoderTag tag;
    // The stream's own bitrate in bytes per second: from the totals of a
    // Xing, Info or VBRI header, else from the frames counted (their
    // bitrate when constant, the mean when variable); 0 without either.
    std::uint32_t bytesPerSecond = 0;
    // The encoder's name as LAME ("LAME3.100") or FFmpeg ("Lavc59.37.100")
    // leave it in the first frames' spare bytes, with or without a tag
    // header.
    EncoderTag frameTag;
};

// Scans the `filled` bytes of collected audio data. The verdict is VBR,
// CBR, or none (fewer than ten frames and no tag header).
MpegAudioScan ScanMpegAudio(const std::uint8_t* data, std::size_t filled);

}  // namespace quibo
