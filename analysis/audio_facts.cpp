#include "analysis/audio_facts.h"

#include <cstdio>

#include "analysis/riff_layout.h"
#include "info/display_text.h"
#include "res/control_ids.h"

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

std::string FormatAudioBitrate(std::uint32_t avgBytesPerSec, int verdict) {
    char text[48];
    // Bytes per second times 8 / 1,000, to the nearest kilobit, without
    // overflowing 32 bits.
    std::uint32_t kilobits = avgBytesPerSec / 125 + (avgBytesPerSec % 125 >= 63 ? 1 : 0);
    std::snprintf(text, sizeof text, "%u kb/s", kilobits);
    std::string result = text;
    if (verdict == kVerdictVbr) result += " VBR  ";
    else if (verdict == kVerdictCbr) result += " CBR  ";
    return result;
}

AudioSummary SummariseAudio(const StreamFacts& facts, const AudioSampleBuffer& audio) {
    const std::uint8_t* format = facts.audioFormat.data();
    AudioSummary summary;
    summary.formatTag = ReadLe16(format + wave_format::kFormatTag);
    if (summary.formatTag == wave_format::kExtensibleTag) summary.formatTag = ReadLe16(format + wave_format::kSubFormat);
    summary.bytesPerSecond = ReadLe32(format + wave_format::kAvgBytesPerSec);
    if (!IsMpegAudio(summary.formatTag)) return summary;
    summary.scan = ScanMpegAudio(audio.Data(), audio.Filled());
    // Writers of variable, and some of constant, MPEG audio declare no rate.
    if (summary.bytesPerSecond == 0) summary.bytesPerSecond = summary.scan.bytesPerSecond;
    return summary;
}

void ShowAudioFacts(const AudioSummary& audio, FieldSurface& fields) {
    fields.SetText(control::kAudioBitrate, FormatAudioBitrate(audio.bytesPerSecond, audio.scan.verdict));
    fields.SetText(control::kAudioEncoding,
                   AudioFormatName(audio.formatTag) + "  " + DisplayText(audio.scan.tag.text));
}

}  // namespace quibo
