// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/text_runs.h"

#include <algorithm>
#include <cstring>

namespace quibo {
namespace {
constexpr std::int64_t kScanLimit = 8192;
constexpr int kRunStart = 6;

bool IsZeroWord(const std::uint8_t* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word == 0;
}
}  // namespace

bool IsTextChar(std::uint8_t c) {
    return c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::optional<TextRun> FindTextRun(const std::uint8_t* data, std::int64_t length) {
    if (length <= 0) return std::nullopt;
    int qualifying = 0;
    std::uint8_t previous = 0;
    const std::int64_t end = std::min(length, kScanLimit);
    for (std::int64_t j = 0; j < end; ++j) {
        // JUNK is mostly zeros: skip them eight at a time. Zero bytes only
        // reset the count and leave zero as the previous byte.
        if (qualifying == 0 && j + 8 <= end && IsZeroWord(data + j)) {
            do j += 8;
            while (j + 8 <= end && IsZeroWord(data + j));
            previous = 0;
            if (j >= end) break;
        }
        std::uint8_t c = data[j];
        qualifying = (IsTextChar(c) && c != previous) ? qualifying + 1 : 0;
        previous = c;
        if (qualifying == kRunStart) {
            std::int64_t start = j - (kRunStart - 1);
            std::int64_t k = j;
            while (k < end && IsTextChar(data[k])) ++k;
            return TextRun{static_cast<std::size_t>(start), static_cast<std::size_t>(k - start)};
        }
    }
    return std::nullopt;
}

}  // namespace quibo
