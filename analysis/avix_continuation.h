// Whether an OpenDML file goes on past its first RIFF chunk: a RIFF chunk
// of form AVIX follows it directly. Writers disagree on the frame counts of
// their headers, but every one of them writes that chunk.
#pragma once

#include <cstdint>

#include "platform/file_access.h"

namespace quibo {

// One read of 12 bytes after the first RIFF chunk, whose header is at the
// start of `image`.
bool ContinuesInAvix(FileHandle& file, const std::uint8_t* image, std::uint64_t fileSize);

}  // namespace quibo
