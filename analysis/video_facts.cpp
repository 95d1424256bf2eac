// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/video_facts.h"

#include <cmath>
#include <strings.h>

#include "analysis/chunk_walker.h"
#include "riff/riff_layout.h"

namespace quibo {
namespace {

constexpr double kSecondsPerMicro = 0.000001;
constexpr std::uint32_t kMicrosPerSecond = 1000000;

// The stream's rate and length: from its own rate and scale when both are
// set, which are exact, else from the main header's frame period, which is
// rounded to whole microseconds.
void Time(const StreamFacts& facts, VideoReport& video) {
    const std::uint8_t* header = facts.streams[static_cast<std::size_t>(facts.firstVideoStream)].header.data();
    video.scale = ReadLe32(header + stream_header::kScale);
    video.rate = ReadLe32(header + stream_header::kRate);
    video.frames = ReadLe32(header + stream_header::kLength);
    const double frames = video.frames;
    if (video.scale != 0 && video.rate != 0) {
        video.framesPerSecond = static_cast<double>(video.rate) / video.scale;
        video.seconds = frames * video.scale / video.rate;
        return;
    }
    std::uint32_t microSecPerFrame = ReadLe32(facts.mainHeader.data() + main_header::kMicroSecPerFrame);
    double period = microSecPerFrame * kSecondsPerMicro;
    video.rate = microSecPerFrame == 0 ? 0 : kMicrosPerSecond;
    video.scale = microSecPerFrame;
    video.framesPerSecond = microSecPerFrame == 0 ? 0.0 : 1.0 / period;
    video.seconds = frames * period;
}

// Video bytes per second in the movie data, leaving out the audio; nothing
// when it cannot be told.
std::optional<double> VideoBytesPerSecond(std::uint64_t movieBytes, double seconds, std::uint64_t audioBytesPerSec,
                                          bool hasAudio) {
    if (!(seconds > 0)) return std::nullopt;
    double audioBytes = hasAudio ? std::trunc(static_cast<double>(audioBytesPerSec) * seconds) : 0.0;
    // An audio estimate beyond the movie data leaves no video to measure.
    if (audioBytes > static_cast<double>(movieBytes)) return std::nullopt;
    return (static_cast<double>(movieBytes) - audioBytes) / seconds;
}

}  // namespace

void SummariseVideo(const VideoFactsSources& sources, VideoReport& video) {
    const StreamFacts& facts = sources.facts;
    video.index = facts.firstVideoStream;
    Time(facts, video);
    video.width = ReadLe32(facts.mainHeader.data() + main_header::kWidth);
    video.height = ReadLe32(facts.mainHeader.data() + main_header::kHeight);

    video.bytesPerSecond.reset();
    if (facts.videoStreamCount == 1) {
        std::uint64_t movieBytes = facts.moviSize;
        // An OpenDML file goes on in further RIFF chunks whose movie data
        // the image cannot show; their bytes count as movie data too.
        if (sources.continuesInAvix) movieBytes += sources.bytesAfterFirstRiff;
        video.bytesPerSecond =
            VideoBytesPerSecond(movieBytes, video.seconds, sources.audioBytesPerSec, facts.audioStreamCount > 0);
    }

    video.handler =
        ChunkIdText(facts.streams[static_cast<std::size_t>(facts.firstVideoStream)].header.data() + stream_header::kHandler);
    video.compressionValue = ReadLe32(facts.videoFormat.data() + bitmap_info::kCompression);
    video.compression = bitmap_info::CompressionText(video.compressionValue);

    // DivX 3 files tagged div4 in the handler are looked up by the handler.
    const std::string& lookup =
        ::strcasecmp(video.handler.c_str(), "div4") == 0 && ::strcasecmp(video.compression.c_str(), "div3") == 0
            ? video.handler
            : video.compression;
    const std::size_t slot = sources.codecs.FindCodecIndex(lookup.c_str());
    const CodecEntry& codec = sources.codecs.Slot(slot);
    video.codecKnown = slot != 0;
    video.codec = codec.description;
    video.vendor = codec.vendor;
    video.decoderInstalled = sources.installed.HasEither(lookup.c_str(), video.handler.c_str());
}

}  // namespace quibo
