// SPDX-License-Identifier: GPL-3.0-or-later
// The first video stream: FourCC, codec name and vendor, whether a decoder
// is installed, frame size, frame rate, duration and average bitrate.
#pragma once

#include <cstdint>

#include "analysis/avi_report.h"
#include "analysis/stream_facts.h"
#include "codecs/codec_database.h"
#include "codecs/installed_fourcc_list.h"

namespace quibo {

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

void SummariseVideo(const VideoFactsSources& sources, VideoReport& video);

}  // namespace quibo
