// SPDX-License-Identifier: GPL-3.0-or-later
// What lies past the image at the top level of the file, read with a few
// bounded reads at Open: an INFO list the image does not reach (other
// programs show that list, so the image's may not be edited), the legacy
// index after the movie list, and an OpenDML continuation (a RIFF AVIX
// chunk right after the first RIFF chunk, which every OpenDML writer adds
// whatever its headers' frame counts say).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/file_access.h"

namespace quibo {

struct PastImage {
    // Where the first INFO list whose header the image does not hold lies.
    std::optional<std::uint64_t> infoList;
    // Entries of the first top-level idx1 chunk; none without one.
    std::optional<std::uint32_t> legacyIndexEntries;
    bool continuesInAvix = false;
};

// `image` holds the file's first bytes; headers past it are read from
// `file`, twelve bytes each, at most a bounded number of them.
PastImage ReadPastImage(FileHandle& file, const std::uint8_t* image, std::uint64_t fileSize);

}  // namespace quibo
