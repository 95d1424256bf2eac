// SPDX-License-Identifier: GPL-3.0-or-later
// One INFO edit: what to do, to which chunk, with which code and text.
#pragma once

#include <cstddef>
#include <string>

namespace quibo {

enum class InfoEditKind { Edit = 1, Delete = 2, Insert = 3 };

// The editor keeps texts up to this many bytes whole; a longer stored text
// is kept whole too.
inline constexpr std::size_t kInfoTextCapacity = 1023;

struct InfoEditRequest {
    InfoEditKind kind = InfoEditKind::Edit;
    // Edit, Delete: header of the field's chunk. Insert: header of the chunk
    // in front of which the new field goes. Offsets in the file image.
    std::size_t target = 0;
    char code[5] = {};
    std::string text;  // without its terminating NUL

    // strlen(text) + 1: the stored size, NUL included.
    std::size_t TextLength() const { return text.size() + 1; }
};

}  // namespace quibo
