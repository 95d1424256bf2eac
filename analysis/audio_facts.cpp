#include "analysis/audio_facts.h"

#include <cstdio>

#include "analysis/riff_layout.h"
#include "res/control_ids.h"

namespace quibo {

std::string AudioFormatName(std::uint16_t formatTag) {
    switch (formatTag) {
        case 0x0000: return "<unknown>";
        case 0x0001: return "PCM";
        case 0x0002: return "MS ADPCM";
        case 0x0011: return "IMA ADPCM";
        case 0x0031:
        case 0x0032: return "MS GSM 6.10";
        case 0x0050: return "MP1/MP2";
        case 0x0055: return "MP3";
        case 0x0160:
        case 0x0161: return "DivX WMA";
        case 0x2000: return "AC3";
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

void ShowAudioFacts(const StreamFacts& facts, const AudioSampleBuffer& audio, EncoderTag& tag, FieldSurface& fields) {
    int verdict = ScanMpegAudio(audio.Data(), audio.Filled(), tag);
    const std::uint8_t* format = facts.audioFormat.data();
    fields.SetText(control::kAudioBitrate, FormatAudioBitrate(ReadLe32(format + wave_format::kAvgBytesPerSec), verdict));
    fields.SetText(control::kAudioEncoding,
                   AudioFormatName(ReadLe16(format + wave_format::kFormatTag)) + "  " + tag.text);
}

}  // namespace quibo
