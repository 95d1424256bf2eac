// SPDX-License-Identifier: GPL-3.0-or-later
// What a file is, from its first 16 bytes, and for an AVI file how many
// bytes its RIFF header declares beyond the file's end.
#pragma once

#include <cstdint>

#include "analysis/avi_report.h"

namespace quibo {

// A cut of up to this many bytes may only be a writer's rounding.
inline constexpr std::int64_t kTruncationTolerance = 1024;

struct Identification {
    FileType type = FileType::Unknown;
    std::int64_t missingBytes = 0;
};

Identification IdentifyFile(const std::uint8_t* image, std::int64_t fileSize);

}  // namespace quibo
