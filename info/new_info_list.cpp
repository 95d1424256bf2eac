// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/new_info_list.h"

#include <algorithm>
#include <cstring>

#include "riff/riff_layout.h"

namespace quibo {

const std::array<std::uint8_t, kNewInfoListSize> NewInfoListTemplate = {
    'L', 'I', 'S', 'T', 24, 0, 0, 0, 'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 11, 0, 0, 0,
    'Q', 'u', 'i', 'b', 'o', ' ', 'v', '1', '.', '1', 0, 0,
};

std::optional<std::size_t> JunkForNewInfoList(const StreamFacts& facts, const std::uint8_t* image) {
    auto largeEnough = [&](const std::optional<std::size_t>& junk) {
        return junk && ReadLe32(image + *junk + chunk::kSizeOffset) >= kMinJunkForNewList;
    };
    if (largeEnough(facts.largestTopLevelJunkChunk)) return facts.largestTopLevelJunkChunk;
    if (largeEnough(facts.largestJunkChunk) && !facts.largestJunkInStreamList) return facts.largestJunkChunk;
    return std::nullopt;
}

bool LayNewInfoList(std::uint8_t* image, std::size_t junk) {
    if (junk + kNewInfoListSize + chunk::kHeaderSize > kImageCapacity) return false;
    std::uint32_t size = ReadLe32(image + junk + chunk::kSizeOffset);
    WriteLe32(image + junk + chunk::kSizeOffset, size - kNewInfoListSize);
    // The shortened JUNK's header and the start of its filler move behind
    // the template, but never past the old JUNK's end: the chunk after it
    // must not be touched.
    std::uint64_t footprintEnd = std::min<std::uint64_t>(junk + chunk::kHeaderSize + PaddedSize(size), kImageCapacity);
    auto moved = static_cast<std::size_t>(
        std::min<std::uint64_t>(kNewInfoListSize, footprintEnd - (junk + kNewInfoListSize)));
    std::memmove(image + junk + kNewInfoListSize, image + junk, moved);
    std::memcpy(image + junk, NewInfoListTemplate.data(), kNewInfoListSize);
    return true;
}

}  // namespace quibo
