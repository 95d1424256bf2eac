// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/mpeg_audio_scan.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <strings.h>

namespace quibo {
namespace {

constexpr std::size_t kVbriOffset = 36;
// The LAME tag follows a Xing or Info header that carries every field.
constexpr std::size_t kLameTagFromXing = 120;
constexpr std::size_t kMaxTagLength = 15;
constexpr int kFramesForVerdict = 10;

// The bytes at `offset`, zero where they lie past the collected data.
void ReadCollected(const std::uint8_t* data, std::size_t filled, std::size_t offset, std::uint8_t* out,
                   std::size_t count) {
    std::memset(out, 0, count);
    if (offset < filled) std::memcpy(out, data + offset, std::min(count, filled - offset));
}

std::uint32_t ReadBe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

struct FrameHeader {
    int layer = 0;    // 2 or 3
    int version = 0;  // 1 MPEG-1, 0 MPEG-2
    int samplingIndex = 0;
    int bitrate = 0;  // kbit/s
    int sampleRate = 0;
    std::size_t length = 0;
    int samples = 0;  // per frame

    // Frames of one stream share layer, version and sample rate.
    bool SameStream(const FrameHeader& other) const {
        return layer == other.layer && version == other.version && samplingIndex == other.samplingIndex;
    }
};

// The header whose first three bytes are at `h`: MPEG-1 or MPEG-2, Layer II
// or III (the MPEG-2.5 variant is not recognised).
std::optional<FrameHeader> ParseHeader(const std::uint8_t* h) {
    if (h[0] != 0xFF || (h[1] & 0xF0) != 0xF0) return std::nullopt;
    FrameHeader frame;
    int layerBits = (h[1] >> 1) & 3;
    if (layerBits != 1 && layerBits != 2) return std::nullopt;
    frame.layer = layerBits == 1 ? 3 : 2;
    frame.version = (h[1] >> 3) & 1;
    frame.samplingIndex = (h[2] >> 2) & 3;
    int index = h[2] >> 4;
    frame.bitrate = frame.layer == 2 && frame.version == 1 ? Mpeg1Layer2Bitrates[index]
                                                            : MpegLayer3Bitrates[frame.version][index];
    frame.sampleRate = MpegSampleRates[frame.version][frame.samplingIndex];
    if (frame.bitrate <= 0 || frame.sampleRate <= 0) return std::nullopt;
    // Layer III of MPEG-2 holds half the samples of the other frames.
    frame.samples = frame.layer == 3 && frame.version == 0 ? 576 : 1152;
    frame.length = static_cast<std::size_t>(frame.samples / 8 * 1000 * frame.bitrate / frame.sampleRate) +
                   ((h[2] >> 1) & 1);
    return frame;
}

// The frame at the start of the data, where the tag headers stand.
struct FirstFrame {
    std::optional<FrameHeader> header;
    bool mono = false;
};

FirstFrame ReadFirstFrame(const std::uint8_t* data, std::size_t filled) {
    std::uint8_t h[4];
    ReadCollected(data, filled, 0, h, sizeof h);
    return {ParseHeader(h), (h[3] >> 6) == 3};
}

// Where a Xing or Info header follows the first frame's side information:
// 36 for stereo MPEG-1, and 36 when no Layer III frame starts the data.
std::size_t XingOffset(const FirstFrame& first) {
    if (!first.header || first.header->layer != 3) return 36;
    if (first.header->version == 1) return first.mono ? 21 : 36;
    return first.mono ? 13 : 21;
}

// The tag's text: printable characters up to the first that is not, at
// most 15.
void CopyTag(const std::uint8_t* bytes, EncoderTag& tag) {
    std::size_t length = 0;
    while (length < kMaxTagLength && bytes[length] > ' ' && bytes[length] < 0x7F) ++length;
    std::memcpy(tag.text, bytes, length);
}

// Bytes per second from a stream's totals; 0 when they cannot tell.
std::uint32_t RateFromTotals(std::uint32_t bytes, std::uint32_t frames, const FirstFrame& first) {
    if (!first.header || bytes == 0 || frames == 0) return 0;
    double seconds = static_cast<double>(frames) * first.header->samples / first.header->sampleRate;
    return static_cast<std::uint32_t>(bytes / seconds + 0.5);
}

// Reads the tag headers at the start of the data into `scan`; true when one
// says the stream is variable.
bool ReadTagHeaders(const std::uint8_t* data, std::size_t filled, MpegAudioScan& scan) {
    const FirstFrame first = ReadFirstFrame(data, filled);
    std::uint8_t vbri[18];
    ReadCollected(data, filled, kVbriOffset, vbri, sizeof vbri);
    if (::strncasecmp(reinterpret_cast<const char*>(vbri), "VBRI", 4) == 0) {
        std::strcpy(scan.tag.text, "Frau");
        scan.bytesPerSecond = RateFromTotals(ReadBe32(vbri + 10), ReadBe32(vbri + 14), first);
        return true;
    }
    const std::size_t xing = XingOffset(first);
    std::uint8_t header[16];
    ReadCollected(data, filled, xing, header, sizeof header);
    const char* name = reinterpret_cast<const char*>(header);
    bool variable = ::strncasecmp(name, "Xing", 4) == 0;
    // LAME writes "Info" in place of "Xing" for a constant bitrate.
    if (!variable && std::memcmp(name, "Info", 4) != 0) return false;
    std::uint32_t flags = ReadBe32(header + 4);
    if ((flags & 3) == 3) scan.bytesPerSecond = RateFromTotals(ReadBe32(header + 12), ReadBe32(header + 8), first);
    std::uint8_t lame[kMaxTagLength];
    ReadCollected(data, filled, xing + kLameTagFromXing, lame, sizeof lame);
    if (std::memcmp(lame, "LAME", 4) == 0) CopyTag(lame, scan.tag);
    return variable;
}

// LAME and FFmpeg's encoders name themselves in the first frames.
constexpr std::size_t kFrameTagSearch = 4096;

void FindFrameTag(const std::uint8_t* data, std::size_t filled, EncoderTag& tag) {
    const std::size_t end = std::min(filled, kFrameTagSearch);
    for (std::size_t at = 0; at + 4 < end; ++at) {
        const void* letter = std::memchr(data + at, 'L', end - 4 - at);
        if (letter == nullptr) return;
        at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(letter) - data);
        if (std::memcmp(data + at, "LAME", 4) != 0 && std::memcmp(data + at, "Lavc", 4) != 0) continue;
        // The name, then its version in digits and dots (LAME may add a
        // letter); LAME pads with 'U's after it.
        std::size_t length = 4;
        while (at + length < end && length < kMaxTagLength &&
               ((data[at + length] >= '0' && data[at + length] <= '9') || data[at + length] == '.'))
            ++length;
        if (length < kMaxTagLength && at + length < end && data[at + length] >= 'a' && data[at + length] <= 'z')
            ++length;
        if (length == 4) continue;
        std::memcpy(tag.text, data + at, length);
        tag.text[length] = '\0';
        return;
    }
}

}  // namespace

const int MpegSampleRates[2][4] = {
    {22050, 24000, 16000, 50000},
    {44100, 48000, 32000, 50000},
};

const int MpegLayer3Bitrates[2][16] = {
    {-1, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
    {-1, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1},
};

const int Mpeg1Layer2Bitrates[16] = {-1, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1};

MpegAudioScan ScanMpegAudio(const std::uint8_t* data, std::size_t filled) {
    MpegAudioScan scan;
    int frames = 0;
    int changes = 0;
    if (ReadTagHeaders(data, filled, scan)) {
        frames = kFramesForVerdict;
        changes = 1;
    }

    // The first frame counted fixes the stream; it must be followed by
    // another of the same stream, or by the end of the data, so that a
    // chance sync pattern does not fix it.
    std::optional<FrameHeader> stream;
    int lastBitrate = -1;
    int counted = 0;
    std::uint64_t bitrateSum = 0;
    std::size_t p = 0;
    // A header needs three bytes inside the collected data.
    while (p + 2 < filled) {
        std::optional<FrameHeader> frame = ParseHeader(data + p);
        bool accepted = frame && (stream ? frame->SameStream(*stream) : true);
        if (accepted && !stream) {
            std::size_t next = p + frame->length;
            std::optional<FrameHeader> follower = next + 2 < filled ? ParseHeader(data + next) : frame;
            accepted = follower && follower->SameStream(*frame);
        }
        if (!accepted) {
            ++p;
            continue;
        }
        if (!stream) stream = frame;
        if (lastBitrate > 0 && frame->bitrate != lastBitrate) ++changes;
        ++frames;
        ++counted;
        bitrateSum += static_cast<std::uint64_t>(frame->bitrate);
        lastBitrate = frame->bitrate;
        p += frame->length;
    }
    if (scan.bytesPerSecond == 0 && counted > 0)
        scan.bytesPerSecond = static_cast<std::uint32_t>((bitrateSum * 1000 / 8 + counted / 2) / counted);
    if (frames >= kFramesForVerdict) scan.verdict = changes > 0 ? kVerdictVbr : kVerdictCbr;
    FindFrameTag(data, filled, scan.frameTag);
    return scan;
}

}  // namespace quibo
