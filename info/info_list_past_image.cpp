#include "info/info_list_past_image.h"

#include <algorithm>
#include <cstring>

#include "riff/riff_layout.h"

namespace quibo {
namespace {

// Top-level chunks past the image are few (the movie list, an index,
// perhaps INFO and JUNK); this bounds the reads of a file that is not.
constexpr int kMaxReadsPastImage = 256;

}  // namespace

std::optional<std::uint64_t> FindInfoListPastImage(FileHandle& file, const std::uint8_t* image,
                                                   std::uint64_t fileSize) {
    const std::uint64_t riffEnd = std::min(DeclaredRiffEnd(image), fileSize);
    int reads = 0;
    for (std::uint64_t at = chunk::kContainerHeaderSize; at + chunk::kContainerHeaderSize <= riffEnd;) {
        std::uint8_t header[chunk::kContainerHeaderSize];
        const bool inImage = at + sizeof header <= kImageCapacity;
        if (inImage) {
            std::memcpy(header, image + at, sizeof header);
        } else {
            if (++reads > kMaxReadsPastImage) break;
            ReadResult read = file.ReadAt(at, header, sizeof header);
            if (!read.ok || read.count < sizeof header) break;
            if (IdEquals(header, "LIST") && IdEquals(header + chunk::kFormTypeOffset, "INFO")) return at;
        }
        at += chunk::kHeaderSize + PaddedSize(ReadLe32(header + chunk::kSizeOffset));
    }
    return std::nullopt;
}

}  // namespace quibo
