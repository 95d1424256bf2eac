// Decides whether the MPEG Layer III audio at the start of the file has a
// constant or variable bitrate, and picks up the encoder's tag from a Xing
// (LAME) or VBRI header.
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
// free format and the forbidden index.
extern const int MpegLayer3Bitrates[2][16];

// Scans the `filled` bytes of collected audio data. Returns VBR, CBR or no
// verdict (fewer than ten frames and no tag header) and fills `tag`.
int ScanMpegAudio(const std::uint8_t* data, std::size_t filled, EncoderTag& tag);

}  // namespace quibo
