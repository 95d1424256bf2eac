// SPDX-License-Identifier: GPL-3.0-or-later
// Readable text inside JUNK chunks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quibo {

// Space, digits and ASCII letters.
bool IsTextChar(std::uint8_t c);

struct TextRun {
    std::size_t start;   // offset from the data given
    std::size_t length;
};

// The first run of at least six text characters in which no two neighbours
// are equal at its start; once started it takes every following text
// character. Only the first 8,192 bytes are examined.
std::optional<TextRun> FindTextRun(const std::uint8_t* data, std::int64_t length);

}  // namespace quibo
