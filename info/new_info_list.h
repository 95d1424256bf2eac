// SPDX-License-Identifier: GPL-3.0-or-later
// Lays a new INFO list into the start of a JUNK chunk, for files without
// one: LIST INFO holding one ISFT field, with the JUNK shortened behind it
// so that its footprint stays the same.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "analysis/stream_facts.h"

namespace quibo {

inline constexpr std::size_t kNewInfoListSize = 32;
extern const std::array<std::uint8_t, kNewInfoListSize> NewInfoListTemplate;
// A JUNK chunk needs at least this declared size to take the template.
inline constexpr std::uint32_t kMinJunkForNewList = 48;

// Offset of the template's ISFT chunk from the start of the list.
inline constexpr std::size_t kTemplateFieldOffset = 12;

// The JUNK that takes a new INFO list, if any: the largest one directly in
// the RIFF in front of the movie list, where every reader looks for the
// list; else the largest one anywhere, unless it lies inside a stream list,
// where most readers never see the list. Either needs kMinJunkForNewList.
std::optional<std::size_t> JunkForNewInfoList(const StreamFacts& facts, const std::uint8_t* image);

// Writes the template over the JUNK at `junk` in `image` (capacity bytes).
// Only bytes of the JUNK's own footprint change. False, with nothing
// changed, when the template and the shortened JUNK's header do not fit
// inside the image.
bool LayNewInfoList(std::uint8_t* image, std::size_t junk);

}  // namespace quibo
