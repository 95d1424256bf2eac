// SPDX-License-Identifier: GPL-3.0-or-later
// Rebuilds the chunk tree of the file image into the work image with one
// INFO edit applied. The bytes an edit frees or needs are given to or taken
// from the JUNK chunks that follow the field, so the file keeps its length
// and everything after the absorbing JUNK stays where it was.
#pragma once

#include <cstddef>
#include <cstdint>

#include "info/info_edit_request.h"

namespace quibo {

enum class RebuildOutcome {
    Committed,        // the work image holds the edited tree
    Failed,           // malformed tree, unknown kind or target never met
    NoRoom,           // the space does not balance
};

struct RebuildResult {
    RebuildOutcome outcome = RebuildOutcome::Failed;
    // Bytes of the work image that the rebuild reached (write-back length).
    std::size_t highWaterMark = 0;
};

// `source` and `work` are image-capacity buffers; `work` must hold a copy of
// the source on entry. `loadedLength` is how many source bytes are the
// file's own: the rebuilt region never reaches past them.
RebuildResult RebuildInfoTree(const std::uint8_t* source, std::uint8_t* work, std::size_t loadedLength,
                              const InfoEditRequest& request);

}  // namespace quibo
