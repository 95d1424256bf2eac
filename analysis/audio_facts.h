// SPDX-License-Identifier: GPL-3.0-or-later
// The first audio stream: its format, channels and rate, its byte rate
// (which the video bitrate needs too), and for MPEG audio the CBR or VBR
// verdict and the encoder's tag.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/audio_sample_buffer.h"
#include "analysis/avi_report.h"
#include "analysis/stream_facts.h"

namespace quibo {

// A name for a WAVE format tag.
std::string AudioFormatName(std::uint16_t formatTag);
// "mono", "stereo", "5.1" and kin from an extensible format's channel mask,
// else from the count alone; "N channels" for others.
std::string ChannelLayoutName(std::uint16_t channels, std::uint32_t channelMask);

// The first audio stream, `stream`, with the data the walk collected of it.
void SummariseAudio(const StreamReport& stream, const AudioSampleBuffer& samples, AudioReport& audio);

}  // namespace quibo
