#include "analysis/audio_facts.h"

#include <cstdio>

#include "riff/riff_layout.h"

namespace quibo {
namespace {

bool IsMpegAudio(std::uint16_t formatTag) { return formatTag == 0x0050 || formatTag == 0x0055; }

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

void SummariseAudio(const StreamFacts& facts, const AudioSampleBuffer& samples, AudioReport& audio) {
    const std::uint8_t* format = facts.audioFormat.data();
    audio.index = facts.firstAudioStream;
    audio.formatTag = ReadLe16(format + wave_format::kFormatTag);
    if (audio.formatTag == wave_format::kExtensibleTag) audio.formatTag = ReadLe16(format + wave_format::kSubFormat);
    audio.channels = ReadLe16(format + wave_format::kChannels);
    audio.sampleRate = ReadLe32(format + wave_format::kSamplesPerSec);
    audio.bitsPerSample = ReadLe16(format + wave_format::kBitsPerSample);
    audio.bytesPerSecond = ReadLe32(format + wave_format::kAvgBytesPerSec);
    audio.scan = {};
    if (!IsMpegAudio(audio.formatTag)) return;
    audio.scan = ScanMpegAudio(samples.Data(), samples.Filled());
    // Writers of variable, and some of constant, MPEG audio declare no rate.
    if (audio.bytesPerSecond == 0) audio.bytesPerSecond = audio.scan.bytesPerSecond;
}

}  // namespace quibo
