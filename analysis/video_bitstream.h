// SPDX-License-Identifier: GPL-3.0-or-later
// The facts inside the first chunks of the first video stream: MPEG-4
// Part 2's VOS, VOL, user data and VOP types, or H.264's SPS and x264's
// SEI. Bounded by the chunks, which lie in the image.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/avi_report.h"
#include "analysis/stream_facts.h"

namespace quibo {

// `compression` and `handler` name the stream's FourCCs; H.264 is told by
// them, MPEG-4 Part 2 by its start codes whatever they say.
void ReadVideoBitstream(const std::uint8_t* image, const StreamFacts& facts, std::string_view compression,
                        std::string_view handler, VideoBitstream& bitstream);

// "Advanced Simple@L5", "Simple", "High@L3.1" as MediaInfo writes them;
// nothing when the stream told none.
std::optional<std::string> VideoProfileName(const VideoBitstream& bitstream);

}  // namespace quibo
