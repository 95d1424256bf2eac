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

std::string CodecText(const char* text) { return text ? text : ""; }

}  // namespace

std::string FormatDuration(double seconds) {
    auto whole = static_cast<std::int64_t>(seconds + 0.5);
    char text[64];
    std::snprintf(text, sizeof text, "%02" PRId64 "h %02" PRId64 "m %02" PRId64 "s", whole / 3600, whole / 60 % 60,
                  whole % 60);
    return text;
}

std::optional<std::string> FormatFrameRate(double framesPerSecond) {
    if (!(framesPerSecond > 0) || !std::isfinite(framesPerSecond)) return std::nullopt;
    char text[64];
    std::snprintf(text, sizeof text, "%.3f FPS", framesPerSecond);
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

std::optional<std::string> FormatVideoBitrate(std::uint64_t movieBytes, double seconds, std::uint64_t audioBytesPerSec,
                                              bool hasAudio) {
    if (!(seconds > 0)) return std::nullopt;
    double audioBytes = hasAudio ? std::trunc(static_cast<double>(audioBytesPerSec) * seconds) : 0.0;
    // An audio estimate beyond the movie data leaves no video to measure.
    if (audioBytes > static_cast<double>(movieBytes)) return std::nullopt;
    double videoBytes = static_cast<double>(movieBytes) - audioBytes;
    char text[64];
    std::snprintf(text, sizeof text, "%.0f kb/s", videoBytes / seconds * 0.008);
    return text;
}

VideoTiming TimingOf(const StreamFacts& facts) {
    const std::uint8_t* header = facts.videoStreamHeader.data();
    std::uint32_t scale = ReadLe32(header + stream_header::kScale);
    std::uint32_t rate = ReadLe32(header + stream_header::kRate);
    double frames = ReadLe32(header + stream_header::kLength);
    if (scale != 0 && rate != 0) return {static_cast<double>(rate) / scale, frames * scale / rate};
    std::uint32_t microSecPerFrame = ReadLe32(facts.mainHeader.data() + main_header::kMicroSecPerFrame);
    double period = microSecPerFrame * kSecondsPerMicro;
    return {microSecPerFrame == 0 ? 0.0 : 1.0 / period, frames * period};
}

void ShowVideoFacts(const VideoFactsSources& sources, FieldSurface& fields) {
    const StreamFacts& facts = sources.facts;
    const std::uint8_t* main = facts.mainHeader.data();
    const VideoTiming timing = TimingOf(facts);
    fields.SetText(control::kVideoDuration, FormatDuration(timing.seconds));

    if (facts.videoStreamCount == 1) {
        std::uint64_t movieBytes = facts.moviSize;
        // An OpenDML file goes on in further RIFF chunks whose movie data
        // the image cannot show; their bytes count as movie data too.
        if (sources.continuesInAvix) movieBytes += sources.bytesAfterFirstRiff;
        if (auto bitrate = FormatVideoBitrate(movieBytes, timing.seconds, sources.audioBytesPerSec,
                                              facts.audioStreamCount > 0))
            fields.SetText(control::kVideoBitrate, *bitrate);
    }

    const std::string handler(ChunkIdText(facts.videoStreamHeader.data() + stream_header::kHandler));
    const std::uint32_t compressionValue = ReadLe32(facts.videoFormat.data() + bitmap_info::kCompression);
    std::string compression = bitmap_info::CompressionText(compressionValue);
    // Uncompressed and run-length video usually leave the handler empty.
    if (handler.empty() && compressionValue < 4)
        fields.SetText(control::kVideoFourCC, compression);
    else if (::strcasecmp(handler.c_str(), compression.c_str()) == 0)
        fields.SetText(control::kVideoFourCC, DisplayText(handler));
    else
        fields.SetText(control::kVideoFourCC, DisplayText(compression + "/" + handler));

    // DivX 3 files tagged div4 in the handler are looked up by the handler.
    std::string lookup = compression;
    if (::strcasecmp(handler.c_str(), "div4") == 0 && ::strcasecmp(compression.c_str(), "div3") == 0) lookup = handler;

    const CodecEntry& codec = sources.codecs.Slot(sources.codecs.FindCodecIndex(lookup.c_str()));
    fields.SetText(control::kVideoCodec, CodecText(codec.description));
    fields.SetText(control::kVideoVendor, CodecText(codec.vendor));

    if (auto rate = FormatFrameRate(timing.framesPerSecond)) fields.SetText(control::kVideoFrameRate, *rate);
    fields.SetText(control::kVideoAspect, FormatFrameSize(ReadLe32(main + main_header::kWidth),
                                                          ReadLe32(main + main_header::kHeight)));

    bool installed = sources.installed.HasEither(lookup.c_str(), handler.c_str());
    fields.SetChecked(control::kVideoStatus, true);
    fields.SetEnabled(control::kVideoStatus, true);
    fields.SetText(control::kVideoStatus, installed ? "Codec IS Installed" : "Codec NOT Installed");
}

}  // namespace quibo
