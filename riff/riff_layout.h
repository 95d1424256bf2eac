// SPDX-License-Identifier: GPL-3.0-or-later
// On-disk records of a RIFF/AVI file, read in place as little-endian values
// at fixed offsets. Nothing here reads outside the span it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace quibo {

// Only this many leading bytes of any file are read, analysed or edited.
inline constexpr std::size_t kImageCapacity = 100000;

inline std::uint32_t ReadLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::uint16_t ReadLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline void WriteLe32(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
    p[3] = static_cast<std::uint8_t>(value >> 24);
}

// A chunk: 4-byte id, 4-byte declared data size, data, pad byte when odd.
namespace chunk {
inline constexpr std::size_t kIdOffset = 0;
inline constexpr std::size_t kSizeOffset = 4;
inline constexpr std::size_t kDataOffset = 8;
inline constexpr std::size_t kHeaderSize = 8;
// RIFF and LIST containers: form type at 8, children from 12.
inline constexpr std::size_t kFormTypeOffset = 8;
inline constexpr std::size_t kContainerHeaderSize = 12;
}  // namespace chunk

// Declared size rounded up to even, in 64 bits so that it never wraps.
inline std::uint64_t PaddedSize(std::uint32_t size) { return (static_cast<std::uint64_t>(size) + 1) & ~std::uint64_t{1}; }

// Where the first RIFF chunk, at the start of `image`, ends by its declared
// size (its pad byte not counted).
inline std::uint64_t DeclaredRiffEnd(const std::uint8_t* image) {
    return chunk::kHeaderSize + std::uint64_t{ReadLe32(image + chunk::kSizeOffset)};
}

// One 32-bit comparison: the walks compare every chunk's id, and a call to
// memcmp for each costs more than the rest of the walk.
inline bool IdEquals(const std::uint8_t* id, const char (&text)[5]) {
    std::uint32_t have = 0;
    std::uint32_t want = 0;
    std::memcpy(&have, id, 4);
    std::memcpy(&want, text, 4);
    return have == want;
}

inline bool IsContainerId(const std::uint8_t* id) { return IdEquals(id, "RIFF") || IdEquals(id, "LIST"); }

// MainAVIHeader ("avih" data), 56 bytes.
namespace main_header {
inline constexpr std::size_t kSize = 56;
inline constexpr std::size_t kMicroSecPerFrame = 0;
inline constexpr std::size_t kTotalFrames = 16;
inline constexpr std::size_t kWidth = 32;
inline constexpr std::size_t kHeight = 36;
}  // namespace main_header

// AVISTREAMHEADER ("strh" data); 64 bytes are kept.
namespace stream_header {
inline constexpr std::size_t kKeptSize = 64;
inline constexpr std::size_t kType = 0;
inline constexpr std::size_t kHandler = 4;
inline constexpr std::size_t kScale = 20;
inline constexpr std::size_t kRate = 24;
inline constexpr std::size_t kStart = 28;
inline constexpr std::size_t kLength = 32;
inline constexpr std::size_t kSuggestedBufferSize = 36;
}  // namespace stream_header

// Video properties ("vprp" data): the frame's aspect ratio as two 16-bit
// numbers (X in the high half) and the fields per frame.
namespace video_properties {
inline constexpr std::size_t kKeptSize = 36;
inline constexpr std::size_t kFrameAspectRatio = 20;
inline constexpr std::size_t kFieldsPerFrame = 32;
}  // namespace video_properties

// OpenDML extended header ("dmlh" data): frames of the whole file.
namespace odml_header {
inline constexpr std::size_t kTotalFrames = 0;
}  // namespace odml_header

// BITMAPINFOHEADER (video "strf" data); 40 bytes are kept.
namespace bitmap_info {
inline constexpr std::size_t kSize = 40;
inline constexpr std::size_t kWidth = 4;
inline constexpr std::size_t kHeight = 8;
inline constexpr std::size_t kCompression = 16;

// A compression value as a FourCC text. The values 0 to 3 are numbers
// (uncompressed, 8- and 4-bit run lengths, bit fields), named by the codes
// people know for them; any other is its bytes up to the first NUL.
inline std::string CompressionText(std::uint32_t compression) {
    static const char* const kNumbered[] = {"RGB ", "RLE8", "RLE4", "BITF"};
    if (compression < 4) return kNumbered[compression];
    std::string text;
    for (int shift = 0; shift < 32 && ((compression >> shift) & 0xFF) != 0; shift += 8)
        text += static_cast<char>((compression >> shift) & 0xFF);
    return text;
}
}  // namespace bitmap_info

// WAVEFORMATEX (audio "strf" data) and the WAVEFORMATEXTENSIBLE that
// extends it.
namespace wave_format {
inline constexpr std::uint16_t kExtensibleTag = 0xFFFE;
inline constexpr std::size_t kFormatTag = 0;
inline constexpr std::size_t kChannels = 2;
inline constexpr std::size_t kSamplesPerSec = 4;
inline constexpr std::size_t kAvgBytesPerSec = 8;
inline constexpr std::size_t kBlockAlign = 12;
inline constexpr std::size_t kBitsPerSample = 14;
inline constexpr std::size_t kChannelMask = 20;
// The first two bytes of an extensible format's SubFormat GUID are the
// format tag of its data.
inline constexpr std::size_t kSubFormat = 24;
}  // namespace wave_format

}  // namespace quibo
