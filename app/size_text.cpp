// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/size_text.h"

#include <cinttypes>
#include <cstdio>

namespace quibo {
namespace {

constexpr std::int64_t kKilo = 1024;
constexpr std::int64_t kMega = 1048576;

// "w UNIT" from 100 units on, "w.d UNIT" from 10, "w.dd UNIT" from 1.
std::string FormatInUnits(std::int64_t n, std::int64_t unit, const char* suffix) {
    if (n < unit) return {};
    std::int64_t whole = n / unit;
    char text[64];
    if (n >= 100 * unit) return GroupThousands(whole) + suffix;
    if (n >= 10 * unit)
        std::snprintf(text, sizeof text, "%" PRId64 ".%1" PRId64 "%s", whole, n * 10 / unit % 10, suffix);
    else
        std::snprintf(text, sizeof text, "%" PRId64 ".%02" PRId64 "%s", whole, n * 100 / unit % 100, suffix);
    return text;
}

}  // namespace

std::string GroupThousands(std::int64_t n) {
    if (n < 0) return {};
    if (n == 0) return "0";
    std::string text;
    char group[8];
    while (n > 0) {
        std::snprintf(group, sizeof group, n < 1000 ? ",%" PRId64 : ",%03" PRId64, n % 1000);
        text.insert(0, group);
        n /= 1000;
    }
    return text.substr(1);
}

std::string FormatKilobytes(std::int64_t n) { return FormatInUnits(n, kKilo, " KB"); }

std::string FormatMegabytes(std::int64_t n) { return FormatInUnits(n, kMega, " MB"); }

std::string FormatSizeText(std::int64_t n, SizeStyle style) {
    if (n < kKilo) return GroupThousands(n) + " bytes";
    if (n < kMega) {
        if (style == SizeStyle::Short) return FormatKilobytes(n);
        return FormatKilobytes(n) + "   (" + GroupThousands(n) + " bytes)";
    }
    if (style == SizeStyle::Short) return FormatMegabytes(n);
    return FormatMegabytes(n) + "   (" + FormatKilobytes(n) + "    " + GroupThousands(n) + " bytes)";
}

}  // namespace quibo
