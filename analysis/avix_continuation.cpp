#include "analysis/avix_continuation.h"

#include "riff/riff_layout.h"

namespace quibo {

bool ContinuesInAvix(FileHandle& file, const std::uint8_t* image, std::uint64_t fileSize) {
    const std::uint64_t next = chunk::kHeaderSize + PaddedSize(ReadLe32(image + chunk::kSizeOffset));
    std::uint8_t header[chunk::kContainerHeaderSize];
    if (next + sizeof header > fileSize) return false;
    ReadResult read = file.ReadAt(next, header, sizeof header);
    return read.ok && read.count == sizeof header && IdEquals(header, "RIFF") &&
           IdEquals(header + chunk::kFormTypeOffset, "AVIX");
}

}  // namespace quibo
