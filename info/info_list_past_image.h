// An INFO list that the image does not reach: some writers put it behind a
// large reserved index or after the movie list. Other programs show that
// list, so an edit of the image's fields, or a new list in the image, would
// not be what they show.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/file_access.h"

namespace quibo {

// The offset of the first INFO list at the top level of the first RIFF
// whose list header does not lie wholly in the image (`image`, the file's
// first bytes), or nothing. Headers past the image are read from `file`,
// twelve bytes each, at most a bounded number of them.
std::optional<std::uint64_t> FindInfoListPastImage(FileHandle& file, const std::uint8_t* image,
                                                   std::uint64_t fileSize);

}  // namespace quibo
