// SPDX-License-Identifier: GPL-3.0-or-later
// Sizes as the user reads them: a kilobyte is 1,024 bytes, a megabyte
// 1,048,576 bytes, and decimals are cut off, never rounded up.
#pragma once

#include <cstdint>
#include <string>

namespace quibo {

enum class SizeStyle { Long, Short };

std::string GroupThousands(std::int64_t n);    // "1,000,005"; "" when negative
std::string FormatKilobytes(std::int64_t n);   // "9.99 KB"; "" below 1,024
std::string FormatMegabytes(std::int64_t n);   // "4.76 MB"; "" below 1 MB
std::string FormatSizeText(std::int64_t n, SizeStyle style);

}  // namespace quibo
