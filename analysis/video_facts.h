// The Video group: FourCC, codec name and vendor, installed status, frame
// size and aspect ratio, frame rate, duration and average bitrate.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/stream_facts.h"
#include "codecs/codec_database.h"
#include "codecs/installed_fourcc_list.h"
#include "platform/field_surface.h"

namespace quibo {

// "01h 30m 00s": whole seconds to the nearest, total hours.
std::string FormatDuration(double seconds);
// "25.000 FPS"; nothing for a rate that is not positive.
std::optional<std::string> FormatFrameRate(double framesPerSecond);
// "640 x 480  (1.333 : 1)"; without the ratio when a side is zero.
std::string FormatFrameSize(std::uint32_t width, std::uint32_t height);
// Average video bitrate in kb/s from the movie data, the duration and the
// audio byte rate; nothing when it cannot be told.
std::optional<std::string> FormatVideoBitrate(std::uint64_t movieBytes, double seconds, std::uint64_t audioBytesPerSec,
                                              bool hasAudio);

struct VideoTiming {
    double framesPerSecond = 0;
    double seconds = 0;
};
// The video stream's rate and length: from its own rate and scale when
// both are set, which are exact, else from the main header's frame period,
// which is rounded to whole microseconds.
VideoTiming TimingOf(const StreamFacts& facts);

struct VideoFactsSources {
    const StreamFacts& facts;
    const CodecDatabase& codecs;
    const InstalledFourCCList& installed;
    // Bytes of the file past its first RIFF chunk, and whether an OpenDML
    // continuation (a RIFF AVIX chunk) follows it there.
    std::uint64_t bytesAfterFirstRiff = 0;
    bool continuesInAvix = false;
    // Bytes per second of every audio stream together.
    std::uint64_t audioBytesPerSec = 0;
};

void ShowVideoFacts(const VideoFactsSources& sources, FieldSurface& fields);

}  // namespace quibo
