#include "analysis/mpeg_audio_scan.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace quibo {
namespace {

constexpr std::size_t kTagHeaderOffset = 36;
constexpr std::size_t kLameTagOffset = 156;
constexpr std::size_t kMaxTagLength = 15;
constexpr int kFramesForVerdict = 10;
constexpr int kFrameLengthFactor = 72000;

// The bytes at `offset`, zero where they lie past the collected data.
void ReadCollected(const std::uint8_t* data, std::size_t filled, std::size_t offset, std::uint8_t* out,
                   std::size_t count) {
    std::memset(out, 0, count);
    if (offset < filled) std::memcpy(out, data + offset, std::min(count, filled - offset));
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

int ScanMpegAudio(const std::uint8_t* data, std::size_t filled, EncoderTag& tag) {
    tag = EncoderTag{};
    int frames = 0;
    int changes = 0;
    int lastBitrate = -1;

    std::uint8_t header[4];
    ReadCollected(data, filled, kTagHeaderOffset, header, sizeof header);
    const char* headerText = reinterpret_cast<const char*>(header);
    if (::strncasecmp(headerText, "VBRI", 4) == 0) {
        std::strcpy(tag.text, "Frau");
        frames = kFramesForVerdict;
        changes = 1;
    } else if (::strncasecmp(headerText, "Xing", 4) == 0) {
        frames = kFramesForVerdict;
        changes = 1;
        std::uint8_t lame[kMaxTagLength];
        ReadCollected(data, filled, kLameTagOffset, lame, sizeof lame);
        if (std::memcmp(lame, "LAME", 4) == 0) {
            std::size_t length = 0;
            while (length < kMaxTagLength && lame[length] != 0 && lame[length] != ' ') ++length;
            std::memcpy(tag.text, lame, length);
        }
    }

    // A header needs three bytes inside the collected data.
    std::size_t p = 0;
    while (p + 2 < filled) {
        const std::uint8_t* h = data + p;
        bool layer3Sync = h[0] == 0xFF && (h[1] & 0xF0) == 0xF0 && ((h[1] >> 1) & 3) == 1;
        if (!layer3Sync) {
            ++p;
            continue;
        }
        int version = (h[1] >> 3) & 1;
        int bitrate = MpegLayer3Bitrates[version][h[2] >> 4];
        int rate = MpegSampleRates[version][(h[2] >> 2) & 3];
        if (bitrate <= 0 || rate <= 0) {
            ++p;
            continue;
        }
        int frameLength = (version + 1) * kFrameLengthFactor * bitrate / rate + ((h[2] >> 1) & 1);
        if (lastBitrate > 0 && bitrate != lastBitrate) ++changes;
        ++frames;
        lastBitrate = bitrate;
        p += static_cast<std::size_t>(frameLength);
    }
    if (frames < kFramesForVerdict) return kVerdictNone;
    return changes > 0 ? kVerdictVbr : kVerdictCbr;
}

}  // namespace quibo
