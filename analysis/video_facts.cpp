#include "analysis/video_facts.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <strings.h>

#include "analysis/chunk_walker.h"
#include "analysis/riff_layout.h"
#include "info/display_text.h"
#include "res/control_ids.h"

namespace quibo {
namespace {

constexpr double kSecondsPerMicro = 0.000001;

// A FourCC as a NUL-terminated text: the four bytes up to the first NUL.
struct FourCCText {
    char text[5] = {};
    explicit FourCCText(const std::uint8_t* bytes) {
        std::string_view view = ChunkIdText(bytes);
        view.copy(text, view.size());
    }
};

std::string CodecText(const char* text) { return text ? text : ""; }

}  // namespace

std::string FormatDuration(double seconds) {
    auto whole = static_cast<std::int64_t>(seconds + 0.5);
    char text[64];
    std::snprintf(text, sizeof text, "%02" PRId64 "h %02" PRId64 "m %02" PRId64 "s", whole / 3600, whole / 60 % 60,
                  whole % 60);
    return text;
}

std::optional<std::string> FormatFrameRate(std::uint32_t microSecPerFrame) {
    if (microSecPerFrame == 0) return std::nullopt;
    char text[64];
    std::snprintf(text, sizeof text, "%.3f FPS", 1.0 / (microSecPerFrame * kSecondsPerMicro));
    return text;
}

std::string FormatFrameSize(std::uint32_t width, std::uint32_t height) {
    char text[96];
    if (width == 0 || height == 0)
        std::snprintf(text, sizeof text, "%u x %u", width, height);
    else if (width < height)
        std::snprintf(text, sizeof text, "%u x %u  (1 : %4.3f)", width, height, static_cast<double>(height) / width);
    else
        std::snprintf(text, sizeof text, "%u x %u  (%4.3f : 1)", width, height, static_cast<double>(width) / height);
    return text;
}

std::optional<std::string> FormatVideoBitrate(std::uint64_t movieBytes, double seconds, std::uint32_t audioBytesPerSec,
                                              bool hasAudio) {
    if (!(seconds > 0)) return std::nullopt;
    double audioBytes = hasAudio ? std::trunc(audioBytesPerSec * seconds) : 0.0;
    // An audio estimate beyond the movie data leaves no video to measure.
    if (audioBytes > static_cast<double>(movieBytes)) return std::nullopt;
    double videoBytes = static_cast<double>(movieBytes) - audioBytes;
    char text[64];
    std::snprintf(text, sizeof text, "%.0f kb/s", videoBytes / seconds * 0.008);
    return text;
}

void ShowVideoFacts(const VideoFactsSources& sources, FieldSurface& fields) {
    const StreamFacts& facts = sources.facts;
    const std::uint8_t* main = facts.mainHeader.data();
    std::uint32_t microSecPerFrame = ReadLe32(main + main_header::kMicroSecPerFrame);
    std::uint32_t length = ReadLe32(facts.videoStreamHeader.data() + stream_header::kLength);
    double seconds = static_cast<double>(length) * microSecPerFrame * kSecondsPerMicro;
    fields.SetText(control::kVideoDuration, FormatDuration(seconds));

    if (facts.videoStreamCount == 1 && facts.audioStreamCount <= 1) {
        std::uint64_t movieBytes = facts.moviSize;
        // An OpenDML file goes on in further RIFF chunks whose movie data
        // the image cannot show; their bytes count as movie data too.
        if (facts.odmlTotalFrames > ReadLe32(main + main_header::kTotalFrames))
            movieBytes += sources.bytesAfterFirstRiff;
        std::uint32_t audioRate = ReadLe32(facts.audioFormat.data() + wave_format::kAvgBytesPerSec);
        if (auto bitrate = FormatVideoBitrate(movieBytes, seconds, audioRate, facts.audioStreamCount == 1))
            fields.SetText(control::kVideoBitrate, *bitrate);
    }

    FourCCText handler(facts.videoStreamHeader.data() + stream_header::kHandler);
    FourCCText compression(facts.videoFormat.data() + bitmap_info::kCompression);
    if (::strcasecmp(handler.text, compression.text) == 0)
        fields.SetText(control::kVideoFourCC, DisplayText(handler.text));
    else
        fields.SetText(control::kVideoFourCC, DisplayText(std::string(compression.text) + "/" + handler.text));

    // DivX 3 files tagged div4 in the handler are looked up by the handler.
    const char* lookup = compression.text;
    if (::strcasecmp(handler.text, "div4") == 0 && ::strcasecmp(compression.text, "div3") == 0) lookup = handler.text;

    const CodecEntry& codec = sources.codecs.Slot(sources.codecs.FindCodecIndex(lookup));
    fields.SetText(control::kVideoCodec, CodecText(codec.description));
    fields.SetText(control::kVideoVendor, CodecText(codec.vendor));

    if (auto rate = FormatFrameRate(microSecPerFrame)) fields.SetText(control::kVideoFrameRate, *rate);
    fields.SetText(control::kVideoAspect, FormatFrameSize(ReadLe32(main + main_header::kWidth),
                                                          ReadLe32(main + main_header::kHeight)));

    bool installed = sources.installed.HasEither(lookup, handler.text);
    fields.SetChecked(control::kVideoStatus, true);
    fields.SetEnabled(control::kVideoStatus, true);
    fields.SetText(control::kVideoStatus, installed ? "Codec IS Installed" : "Codec NOT Installed");
}

}  // namespace quibo
