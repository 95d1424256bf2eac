// SPDX-License-Identifier: GPL-3.0-or-later
// Depth-first walk of the RIFF chunk tree held in the file image. Each list
// is placed once by its chunk path ("/RIFF:AVI /LIST:hdrl"); each leaf goes
// with its id and its list's place to the leaf dispatch, which fills the
// stream facts, collects audio data and adds INFO rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "analysis/audio_sample_buffer.h"
#include "analysis/avi_report.h"
#include "analysis/stream_facts.h"

namespace quibo {

// Longest chunk path, in characters.
inline constexpr std::size_t kMaxChunkPath = 255;

// A chunk's id (or form type) as text: the four bytes up to the first NUL.
std::string_view ChunkIdText(const std::uint8_t* id);

struct WalkTarget {
    const std::uint8_t* image;  // kImageCapacity bytes
    StreamFacts& facts;
    AudioSampleBuffer& audio;
    std::vector<InfoRow>& rows;
};

// Walks the tree whose outermost chunk starts at offset 0 of the image.
// `fileSize` bounds the outermost chunk's declared size (within 1,024
// bytes); `walkEnd` is the offset at or past which no chunk header is read.
// Returns false when a declared size is invalid.
bool WalkFileImage(const WalkTarget& target, std::int64_t fileSize, std::size_t walkEnd);

}  // namespace quibo
