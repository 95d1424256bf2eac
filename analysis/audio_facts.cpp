// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/audio_facts.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "riff/riff_layout.h"

namespace quibo {
namespace {

bool IsMpegAudio(std::uint16_t formatTag) { return formatTag == 0x0050 || formatTag == 0x0055; }

constexpr std::uint16_t kAc3Tag = 0x2000;
// Sync frames are short; the first lies within this many bytes of the data.
constexpr std::size_t kAc3SearchBytes = 8192;

// The channels of the first AC-3 sync frame's bit stream information,
// the LFE channel counted.
std::optional<int> Ac3Channels(const std::uint8_t* data, std::size_t filled) {
    static const int kFullBandChannels[8] = {2, 1, 2, 3, 3, 4, 4, 5};
    const std::size_t end = std::min(filled, kAc3SearchBytes);
    for (std::size_t at = 0; at + 8 <= end; ++at) {
        if (data[at] != 0x0B || data[at + 1] != 0x77 || (data[at + 5] >> 3) > 10) continue;
        // From byte 6: acmod (3 bits), the mix levels it implies, lfeon.
        const unsigned bits = static_cast<unsigned>(data[at + 6]) << 8 | data[at + 7];
        const unsigned acmod = bits >> 13;
        int skip = 3;
        if ((acmod & 1) != 0 && acmod != 1) skip += 2;
        if ((acmod & 4) != 0) skip += 2;
        if (acmod == 2) skip += 2;
        const bool lfe = (bits >> (15 - skip)) & 1;
        return kFullBandChannels[acmod] + (lfe ? 1 : 0);
    }
    return std::nullopt;
}

}  // namespace

std::string AudioFormatName(std::uint16_t formatTag) {
    switch (formatTag) {
        case 0x0000: return "<unknown>";
        case 0x0001: return "PCM";
        case 0x0002: return "MS ADPCM";
        case 0x0003: return "IEEE Float";
        case 0x0006: return "A-law";
        case 0x0007: return "mu-law";
        case 0x0008:
        case 0x2001: return "DTS";
        case 0x000A: return "WMA Voice";
        case 0x0011: return "IMA ADPCM";
        case 0x0031:
        case 0x0032: return "MS GSM 6.10";
        case 0x0050: return "MP1/MP2";
        case 0x0055: return "MP3";
        case 0x00FF:
        case 0x1600:
        case 0x1601:
        case 0x706D: return "AAC";
        case 0x0160:
        case 0x0161: return "DivX WMA";
        case 0x0162: return "WMA Pro";
        case 0x0163: return "WMA Lossless";
        case 0x2000: return "AC3";
        case 0x674F:
        case 0x6750:
        case 0x6751:
        case 0x676F:
        case 0x6770:
        case 0x6771: return "Vorbis";
        case 0xF1AC: return "FLAC";
        default: {
            char text[32];
            std::snprintf(text, sizeof text, "Unknown type 0x%04x", formatTag);
            return text;
        }
    }
}

std::string ChannelLayoutName(std::uint16_t channels, std::uint32_t channelMask) {
    // Speaker bits: FL 0x1, FR 0x2, FC 0x4, LFE 0x8, BL 0x10, BR 0x20,
    // SL 0x200, SR 0x400.
    switch (channelMask) {
        case 0x4: return "mono";
        case 0x3: return "stereo";
        case 0xB: return "2.1";
        case 0x33: return "quad";
        case 0x37:
        case 0x607: return "5.0";
        case 0x3F:
        case 0x60F: return "5.1";
        case 0x63F:
        case 0xFF: return "7.1";
        default: break;
    }
    switch (channels) {
        case 1: return "mono";
        case 2: return "stereo";
        case 6: return "5.1";
        case 8: return "7.1";
        default: return std::to_string(channels) + " channels";
    }
}

void SummariseAudio(const StreamReport& stream, const AudioSampleBuffer& samples, AudioReport& audio) {
    audio.index = stream.index;
    audio.formatTag = stream.formatTag;
    audio.bytesPerSecond = stream.bytesPerSecond;
    audio.scan = {};
    audio.codedChannels.reset();
    if (audio.formatTag == kAc3Tag) audio.codedChannels = Ac3Channels(samples.Data(), samples.Filled());
    if (!IsMpegAudio(audio.formatTag)) return;
    audio.scan = ScanMpegAudio(samples.Data(), samples.Filled());
    // Writers of variable, and some of constant, MPEG audio declare no rate.
    if (audio.bytesPerSecond == 0) audio.bytesPerSecond = audio.scan.bytesPerSecond;
}

}  // namespace quibo
