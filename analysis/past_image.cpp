// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/past_image.h"

#include <algorithm>
#include <cstring>

#include "riff/riff_layout.h"

namespace quibo {
namespace {

// Top-level chunks past the image are few (the movie list, an index,
// perhaps INFO and JUNK); this bounds the reads of a file that is not.
constexpr int kMaxReadsPastImage = 256;
constexpr std::uint32_t kIndexEntrySize = 16;

bool ContinuesInAvix(FileHandle& file, const std::uint8_t* image, std::uint64_t fileSize) {
    const std::uint64_t next = chunk::kHeaderSize + PaddedSize(ReadLe32(image + chunk::kSizeOffset));
    std::uint8_t header[chunk::kContainerHeaderSize];
    if (next + sizeof header > fileSize) return false;
    ReadResult read = file.ReadAt(next, header, sizeof header);
    return read.ok && read.count == sizeof header && IdEquals(header, "RIFF") &&
           IdEquals(header + chunk::kFormTypeOffset, "AVIX");
}

}  // namespace

PastImage ReadPastImage(FileHandle& file, const std::uint8_t* image, std::uint64_t fileSize) {
    PastImage past;
    past.continuesInAvix = ContinuesInAvix(file, image, fileSize);
    const std::uint64_t riffEnd = std::min(DeclaredRiffEnd(image), fileSize);
    int reads = 0;
    for (std::uint64_t at = chunk::kContainerHeaderSize; at + chunk::kHeaderSize <= riffEnd;) {
        std::uint8_t header[chunk::kContainerHeaderSize] = {};
        const bool inImage = at + sizeof header <= kImageCapacity;
        if (inImage) {
            std::memcpy(header, image + at, sizeof header);
        } else {
            if (++reads > kMaxReadsPastImage) break;
            ReadResult read = file.ReadAt(at, header, sizeof header);
            if (!read.ok || read.count < chunk::kHeaderSize) break;
            if (!past.infoList && IdEquals(header, "LIST") && IdEquals(header + chunk::kFormTypeOffset, "INFO"))
                past.infoList = at;
        }
        const std::uint32_t size = ReadLe32(header + chunk::kSizeOffset);
        if (!past.legacyIndexEntries && IdEquals(header, "idx1")) past.legacyIndexEntries = size / kIndexEntrySize;
        at += chunk::kHeaderSize + PaddedSize(size);
    }
    return past;
}

}  // namespace quibo
