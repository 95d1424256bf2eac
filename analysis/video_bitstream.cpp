// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/video_bitstream.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "analysis/bit_reader.h"

namespace quibo {
namespace {

using Kind = VideoBitstream::Kind;

// The offset of the byte after the next 00 00 01 from `from`, or `size`.
std::size_t NextStartCode(const std::uint8_t* data, std::size_t size, std::size_t from) {
    // Compressed data holds few 01 bytes: find each, then look behind it.
    for (std::size_t at = from + 2; at < size;) {
        const void* one = std::memchr(data + at, 1, size - at);
        if (one == nullptr) break;
        at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(one) - data);
        if (data[at - 1] == 0 && data[at - 2] == 0) return at + 1;
        ++at;
    }
    return size;
}

// A printable run from `data`, ending at the first other byte.
std::string_view PrintableRun(const std::uint8_t* data, std::size_t size) {
    std::size_t length = 0;
    while (length < size && data[length] >= 0x20 && data[length] < 0x7F) ++length;
    return {reinterpret_cast<const char*>(data), length};
}

// Bits needed to count up to `resolution` - 1, at least one.
int TimeIncrementBits(std::uint32_t resolution) {
    int bits = 1;
    while (bits < 16 && (1u << bits) < resolution) ++bits;
    return bits;
}

// Pixel aspect ratios by code, shared by MPEG-4 Part 2 (codes 1 to 5) and
// H.264 (1 to 16); code 0 tells none.
constexpr std::uint16_t kPixelAspects[17][2] = {{0, 0},   {1, 1},   {12, 11}, {10, 11}, {16, 11}, {40, 33},
                                                {24, 11}, {20, 11}, {32, 11}, {80, 33}, {18, 11}, {15, 11},
                                                {64, 33}, {160, 99}, {4, 3},  {3, 2},   {2, 1}};

// Sets the pixel aspect ratio of `code`: one of the first `known` codes of
// the table, or `extended`, after which the stream writes the two numbers
// in `width` bits each.
void SetPixelAspect(std::uint32_t code, std::uint32_t known, std::uint32_t extended, int width, BitReader& bits,
                    VideoBitstream& out) {
    if (code == extended) {
        out.pixelAspectX = static_cast<std::uint16_t>(bits.Read(width));
        out.pixelAspectY = static_cast<std::uint16_t>(bits.Read(width));
    } else if (code < known) {
        out.pixelAspectX = kPixelAspects[code][0];
        out.pixelAspectY = kPixelAspects[code][1];
    }
    if (bits.Overrun()) out.pixelAspectX = out.pixelAspectY = 0;
}

// The video object layer header, up to its quarter_sample flag.
void ReadVol(const std::uint8_t* data, std::size_t size, VideoBitstream& out) {
    BitReader bits(data, size);
    bits.Skip(1);  // random_accessible_vol
    out.objectType = static_cast<std::uint8_t>(bits.Read(8));
    std::uint32_t verid = 1;
    if (bits.Flag()) {
        verid = bits.Read(4);
        bits.Skip(3);
    }
    SetPixelAspect(bits.Read(4), 6, 15, 8, bits, out);
    if (bits.Flag()) {  // vol_control_parameters
        bits.Skip(3);
        if (bits.Flag()) bits.Skip(79);  // vbv_parameters
    }
    const std::uint32_t shape = bits.Read(2);
    constexpr std::uint32_t kRectangular = 0, kBinaryOnly = 2, kGrayscale = 3;
    if (shape == kGrayscale && verid != 1) bits.Skip(4);
    bits.Skip(1);
    const std::uint32_t resolution = bits.Read(16);
    bits.Skip(1);
    if (bits.Flag()) bits.Skip(static_cast<std::size_t>(TimeIncrementBits(resolution)));
    if (shape == kBinaryOnly) return;
    if (shape == kRectangular) bits.Skip(29);  // width and height with markers
    out.interlaced = bits.Flag();
    bits.Skip(1);  // obmc_disable
    const std::uint32_t sprite = bits.Read(verid == 1 ? 1 : 2);
    constexpr std::uint32_t kStatic = 1, kGmc = 2;
    if (sprite == kStatic || sprite == kGmc) {
        if (sprite == kStatic) bits.Skip(56);
        const auto points = static_cast<int>(bits.Read(6));
        bits.Skip(3);
        if (sprite == kStatic) bits.Skip(1);
        if (sprite == kGmc) out.warpPoints = points;
    }
    if (verid != 1 && shape != kRectangular) bits.Skip(1);
    if (bits.Flag()) bits.Skip(8);  // not_8_bit
    if (shape == kGrayscale) return;
    if (bits.Flag()) {  // quant_type: matrices may follow
        for (int matrix = 0; matrix < 2; ++matrix)
            if (bits.Flag())
                for (int i = 0; i < 64 && bits.Read(8) != 0; ++i) {
                }
    }
    if (verid != 1 && !bits.Overrun()) out.quarterPel = bits.Flag();
}

void ReadMpeg4Chunk(const std::uint8_t* data, std::size_t size, int& bRun, bool& divxMet, VideoBitstream& out) {
    int vops = 0;
    for (std::size_t at = NextStartCode(data, size, 0); at < size; at = NextStartCode(data, size, at)) {
        const std::uint8_t code = data[at];
        const std::uint8_t* body = data + at + 1;
        const std::size_t left = size - at - 1;
        if (code == 0xB0 && left > 0) {
            out.profileAndLevel = body[0];
        } else if (code == 0xB2) {
            const std::string_view text = PrintableRun(body, left);
            // Xvid also writes DivX's user data, to mark a packed stream.
            if ((out.encoder.empty() && text.size() >= 3) || text.starts_with("XviD")) out.encoder = text;
            // The first DivX user data tells; mpeg4_unpack_bframes mends
            // only that one.
            if (text.starts_with("DivX") && !divxMet) {
                divxMet = true;
                out.packed = out.packed || text.ends_with('p');
            }
        } else if (code >= 0x20 && code <= 0x2F && !out.objectType) {
            ReadVol(body, left, out);
        } else if (code == 0xB6 && left > 0) {
            ++vops;
            bRun = (body[0] >> 6) == 2 ? bRun + 1 : 0;
            out.mostConsecutiveB = std::max(out.mostConsecutiveB, bRun);
        }
    }
    if (vops > 1) out.packed = true;
}

// Up to this many bytes of an SPS, its emulation prevention bytes taken out.
constexpr std::size_t kMaxSps = 256;

void SkipScalingList(BitReader& bits, int size) {
    int last = 8, next = 8;
    for (int i = 0; i < size && !bits.Overrun(); ++i) {
        // A step is -128 to 127; a damaged one may be anything up to 2^31 - 1.
        if (next != 0) next = (last + bits.ReadSignedGolomb() % 256 + 256) % 256;
        last = next == 0 ? last : next;
    }
}

void ReadSps(const std::uint8_t* data, std::size_t size, VideoBitstream& out) {
    std::array<std::uint8_t, kMaxSps> sps{};
    std::size_t length = 0;
    for (std::size_t i = 0; i < size && length < sps.size(); ++i) {
        if (i >= 2 && data[i] == 3 && data[i - 1] == 0 && data[i - 2] == 0) continue;
        sps[length++] = data[i];
    }
    BitReader bits(sps.data(), length);
    out.profileAndLevel = static_cast<std::uint8_t>(bits.Read(8));
    out.constraintFlags = static_cast<std::uint8_t>(bits.Read(8));
    out.level = static_cast<std::uint8_t>(bits.Read(8));
    bits.ReadUnsignedGolomb();
    static constexpr std::uint8_t kHighProfiles[] = {100, 110, 122, 244, 44, 83, 86, 118, 128, 138, 139, 134, 135};
    if (std::find(std::begin(kHighProfiles), std::end(kHighProfiles), *out.profileAndLevel) != std::end(kHighProfiles)) {
        const std::uint32_t chroma = bits.ReadUnsignedGolomb();
        if (chroma == 3) bits.Skip(1);
        bits.ReadUnsignedGolomb();
        bits.ReadUnsignedGolomb();
        bits.Skip(1);
        if (bits.Flag())
            for (int i = 0; i < (chroma != 3 ? 8 : 12); ++i)
                if (bits.Flag()) SkipScalingList(bits, i < 6 ? 16 : 64);
    }
    bits.ReadUnsignedGolomb();  // log2_max_frame_num
    const std::uint32_t pocType = bits.ReadUnsignedGolomb();
    if (pocType == 0) {
        bits.ReadUnsignedGolomb();
    } else if (pocType == 1) {
        bits.Skip(1);
        bits.ReadSignedGolomb();
        bits.ReadSignedGolomb();
        for (std::uint32_t i = 0, n = std::min(bits.ReadUnsignedGolomb(), 255u); i < n; ++i) bits.ReadSignedGolomb();
    }
    bits.ReadUnsignedGolomb();
    bits.Skip(1);
    bits.ReadUnsignedGolomb();
    bits.ReadUnsignedGolomb();
    if (!bits.Flag()) {  // frame_mbs_only
        out.interlaced = true;
        bits.Skip(1);
    }
    bits.Skip(1);
    if (bits.Flag())
        for (int i = 0; i < 4; ++i) bits.ReadUnsignedGolomb();
    if (!bits.Flag() || !bits.Flag()) return;  // vui, aspect_ratio_info
    SetPixelAspect(bits.Read(8), 17, 255, 16, bits, out);
}

// x264 names itself in an unregistered user data SEI: 16 bytes of UUID,
// then "x264 - core 164 r3095 baee400 - H.264/MPEG-4 AVC codec - ...".
void ReadSei(const std::uint8_t* data, std::size_t size, VideoBitstream& out) {
    // Type and size are each a run of 255s and a last byte, added up.
    std::size_t at = 0;
    auto number = [&] {
        std::size_t value = 0;
        while (at < size && data[at] == 0xFF) value += data[at++];
        return at < size ? value + data[at++] : value;
    };
    constexpr std::size_t kUserDataUnregistered = 5, kUuid = 16;
    const std::size_t type = number();
    number();
    if (type != kUserDataUnregistered || at + kUuid >= size) return;
    const std::string_view text = PrintableRun(data + at + kUuid, size - at - kUuid);
    if (!text.starts_with("x264") || !out.encoder.empty()) return;
    out.encoder = text.substr(0, text.find(" - H.264"));
    constexpr std::string_view kOptions = "options: ";
    if (const std::size_t options = text.find(kOptions); options != std::string_view::npos)
        out.encoderSettings = text.substr(options + kOptions.size());
}

void ReadH264Chunk(const std::uint8_t* data, std::size_t size, VideoBitstream& out) {
    for (std::size_t at = NextStartCode(data, size, 0); at < size; at = NextStartCode(data, size, at)) {
        const int type = data[at] & 0x1F;
        // The NAL unit runs to the next start code's first byte.
        const std::size_t end = NextStartCode(data, size, at);
        const std::size_t next = end < size ? end - 3 : size;
        const std::size_t length = next > at + 1 ? next - at - 1 : 0;
        if (type == 7 && !out.profileAndLevel) ReadSps(data + at + 1, length, out);
        if (type == 6) ReadSei(data + at + 1, length, out);
    }
}

bool IsH264(std::string_view fourCC) {
    for (const char* code : {"H264", "X264", "AVC1", "DAVC", "VSSH"})
        if (fourCC.size() == 4 && ::strncasecmp(fourCC.data(), code, 4) == 0) return true;
    return false;
}

// Whether the chunk opens with an MPEG-4 Part 2 start code: VOS, VO, VOL,
// user data, GOV or VOP.
bool LooksMpeg4(const std::uint8_t* data, std::size_t size) {
    const std::size_t at = NextStartCode(data, size, 0);
    return at < size && at == 3 && (data[at] <= 0x2F || (data[at] >= 0xB0 && data[at] <= 0xB6));
}

std::string Level(const char* profile, int level) {
    char text[48];
    std::snprintf(text, sizeof text, "%s@L%d", profile, level);
    return text;
}

std::optional<std::string> Mpeg4ProfileName(const VideoBitstream& stream) {
    if (stream.profileAndLevel) {
        const int value = *stream.profileAndLevel;
        if (value >= 1 && value <= 3) return Level("Simple", value);
        if (value == 0x08) return "Simple@L0";
        if (value == 0x09) return "Simple@L0b";
        if (value == 0x04) return "Simple@L4a";
        if (value == 0x05 || value == 0x06) return Level("Simple", value);
        if (value >= 0x11 && value <= 0x12) return Level("Simple Scalable", value - 0x10);
        if (value >= 0x21 && value <= 0x22) return Level("Core", value - 0x20);
        if (value >= 0x32 && value <= 0x34) return Level("Main", value - 0x30);
        if (value >= 0xF0 && value <= 0xF5) return Level("Advanced Simple", value - 0xF0);
        if (value == 0xF7) return "Advanced Simple@L3b";
    }
    if (!stream.objectType) return std::nullopt;
    switch (*stream.objectType) {
        case 1: return "Simple";
        case 2: return "Simple Scalable";
        case 3: return "Core";
        case 4: return "Main";
        case 17: return "Advanced Simple";
        default: return std::nullopt;
    }
}

std::optional<std::string> H264ProfileName(const VideoBitstream& stream) {
    if (!stream.profileAndLevel) return std::nullopt;
    const char* profile = nullptr;
    switch (*stream.profileAndLevel) {
        case 66: profile = (stream.constraintFlags & 0x40) ? "Constrained Baseline" : "Baseline"; break;
        case 77: profile = "Main"; break;
        case 88: profile = "Extended"; break;
        case 100: profile = "High"; break;
        case 110: profile = "High 10"; break;
        case 122: profile = "High 4:2:2"; break;
        case 244: profile = "High 4:4:4 Predictive"; break;
        default: return std::nullopt;
    }
    char text[64];
    if (stream.level % 10 == 0)
        std::snprintf(text, sizeof text, "%s@L%d", profile, stream.level / 10);
    else
        std::snprintf(text, sizeof text, "%s@L%d.%d", profile, stream.level / 10, stream.level % 10);
    return text;
}

}  // namespace

void ReadVideoBitstream(const std::uint8_t* image, const StreamFacts& facts, std::string_view compression,
                        std::string_view handler, VideoBitstream& bitstream) {
    bitstream = {};
    if (facts.videoChunkCount == 0) return;
    const ChunkSpan& first = facts.videoChunks[0];
    if (IsH264(compression) || IsH264(handler))
        bitstream.kind = Kind::H264;
    else if (LooksMpeg4(image + first.offset, first.length))
        bitstream.kind = Kind::Mpeg4Part2;
    else
        return;
    int bRun = 0;
    bool divxMet = false;
    for (std::size_t i = 0; i < facts.videoChunkCount; ++i) {
        const ChunkSpan& span = facts.videoChunks[i];
        if (bitstream.kind == Kind::H264)
            ReadH264Chunk(image + span.offset, span.length, bitstream);
        else
            ReadMpeg4Chunk(image + span.offset, span.length, bRun, divxMet, bitstream);
    }
}

std::optional<std::string> VideoProfileName(const VideoBitstream& bitstream) {
    switch (bitstream.kind) {
        case Kind::Mpeg4Part2: return Mpeg4ProfileName(bitstream);
        case Kind::H264: return H264ProfileName(bitstream);
        case Kind::Unknown: break;
    }
    return std::nullopt;
}

}  // namespace quibo
