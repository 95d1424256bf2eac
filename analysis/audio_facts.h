// The Audio group: encoding with the encoder's tag, and the bitrate marked
// CBR or VBR; and the first audio stream's byte rate, which the video
// bitrate needs too.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/audio_sample_buffer.h"
#include "analysis/mpeg_audio_scan.h"
#include "analysis/stream_facts.h"
#include "platform/field_surface.h"

namespace quibo {

// A name for a WAVE format tag.
std::string AudioFormatName(std::uint16_t formatTag);
// "128 kb/s" to the nearest kilobit, then " VBR  ", " CBR  " or nothing.
std::string FormatAudioBitrate(std::uint32_t avgBytesPerSec, int verdict);

// The first audio stream as the Audio group shows it.
struct AudioSummary {
    // The format of the data: an extensible format's SubFormat tag.
    std::uint16_t formatTag = 0;
    // Only MPEG audio is scanned; other formats have no verdict and no tag.
    MpegAudioScan scan;
    // The declared byte rate; the stream's own where MPEG audio declares 0.
    std::uint32_t bytesPerSecond = 0;
};

AudioSummary SummariseAudio(const StreamFacts& facts, const AudioSampleBuffer& audio);
void ShowAudioFacts(const AudioSummary& audio, FieldSurface& fields);

}  // namespace quibo
