// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis of a file's first bytes: identification, the walk of its
// chunk tree and the stream facts, into a report reused from file to file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>

#include "analysis/audio_sample_buffer.h"
#include "analysis/avi_report.h"
#include "analysis/past_image.h"
#include "codecs/codec_database.h"
#include "codecs/installed_fourcc_list.h"

namespace quibo {

struct AnalysisInput {
    const std::uint8_t* image;  // kImageCapacity bytes; zero past the file's own
    std::size_t loadedLength;   // bytes of the image that are the file's
    // What the file system tells of the file; without a size nothing is
    // walked.
    std::optional<std::int64_t> fileSize;
    std::optional<std::time_t> lastWrite;
    // What the file holds past the image at its top level.
    const PastImage& pastImage;
    const CodecDatabase& codecs;
    const InstalledFourCCList& installed;
};

// Fills `report` from `input`; `samples` is room for the audio data the
// walk collects. The report's texts point into the image.
void Analyse(const AnalysisInput& input, AudioSampleBuffer& samples, AviReport& report);

}  // namespace quibo
