// SPDX-License-Identifier: GPL-3.0-or-later
// What one walk of the chunk tree leaves behind about the file's streams.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "riff/riff_layout.h"

namespace quibo {

enum class StreamType { Video, Audio, Text, Other };

// One stream list of the header list: its header and the start of its
// format as stored, its name, and what its other chunks say.
struct StreamEntry {
    StreamType type = StreamType::Other;
    std::array<std::uint8_t, stream_header::kKeptSize> header{};
    // Its format's first 40 bytes: a bitmap or wave format header.
    std::array<std::uint8_t, bitmap_info::kSize> format{};
    bool hasFormat = false;
    std::string_view name;  // "strn", a view into the image
    bool superIndex = false;  // an OpenDML "indx"
    std::array<std::uint8_t, video_properties::kKeptSize> properties{};  // "vprp"
    bool hasProperties = false;
    // Where its "strh" and "strf" chunks start in the image.
    std::optional<std::size_t> headerChunk;
    std::optional<std::size_t> formatChunk;
};

// A chunk's data in the image.
struct ChunkSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
};
inline constexpr std::size_t kKeptVideoChunks = 16;

struct StreamFacts {
    std::array<std::uint8_t, main_header::kSize> mainHeader{};
    std::array<std::uint8_t, bitmap_info::kSize> videoFormat{};
    std::int32_t videoStreamCount = 0;
    std::int32_t audioStreamCount = 0;
    // Each stream met so far, in file order: the next stream's number is
    // their count.
    std::vector<StreamEntry> streams;
    std::int32_t firstVideoStream = -1;
    // The number of the first audio stream, which names its data chunks.
    std::int32_t firstAudioStream = -1;
    // The declared byte rates of the audio streams after the first.
    std::uint64_t otherAudioBytesPerSec = 0;
    // The first data chunks of the first video stream, for its bitstream.
    std::array<ChunkSpan, kKeptVideoChunks> videoChunks{};
    std::size_t videoChunkCount = 0;
    std::uint32_t moviSize = 0;
    // Total frames of an OpenDML file, from its "dmlh" header; 0 without.
    std::uint32_t odmlTotalFrames = 0;
    bool odmlHeaderMet = false;
    // The recording date cameras put in the header list ("IDIT"), as stored.
    std::string_view recordedText;
    // Header positions in the file image.
    std::optional<std::size_t> firstInfoChunk;
    std::optional<std::size_t> largestJunkChunk;
    bool largestJunkInStreamList = false;
    // The largest JUNK directly in the first RIFF, in front of its movie
    // list: where every reader finds an INFO list laid into it.
    std::optional<std::size_t> largestTopLevelJunkChunk;
    bool movieListMet = false;
    std::int32_t junkTextCount = 0;

    // Clears everything before an analysis, so that nothing of an earlier
    // file shows through a file that lacks a chunk.
    void Reset() {
        mainHeader.fill(0);
        videoFormat.fill(0);
        moviSize = 0;
        odmlTotalFrames = 0;
        odmlHeaderMet = false;
        recordedText = {};
        audioStreamCount = 0;
        videoStreamCount = 0;
        streams.clear();
        firstVideoStream = -1;
        firstAudioStream = -1;
        otherAudioBytesPerSec = 0;
        junkTextCount = 0;
        videoChunkCount = 0;
        firstInfoChunk.reset();
        largestJunkChunk.reset();
        largestJunkInStreamList = false;
        largestTopLevelJunkChunk.reset();
        movieListMet = false;
    }
};

}  // namespace quibo
