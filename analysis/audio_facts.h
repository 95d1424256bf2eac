// The Audio group: encoding with the encoder's tag, and the bitrate marked
// CBR or VBR.
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

void ShowAudioFacts(const StreamFacts& facts, const AudioSampleBuffer& audio, EncoderTag& tag, FieldSurface& fields);

}  // namespace quibo
