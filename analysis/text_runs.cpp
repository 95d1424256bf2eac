#include "analysis/text_runs.h"

namespace quibo {
namespace {
constexpr std::int64_t kScanLimit = 8192;
constexpr int kRunStart = 6;
}  // namespace

bool IsTextChar(std::uint8_t c) {
    return c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::optional<TextRun> FindTextRun(const std::uint8_t* data, std::int64_t length) {
    if (length <= 0) return std::nullopt;
    int qualifying = 0;
    std::uint8_t previous = 0;
    for (std::int64_t j = 0; j < length && j < kScanLimit; ++j) {
        std::uint8_t c = data[j];
        qualifying = (IsTextChar(c) && c != previous) ? qualifying + 1 : 0;
        previous = c;
        if (qualifying == kRunStart) {
            std::int64_t start = j - (kRunStart - 1);
            std::int64_t k = j;
            while (k < length && k < kScanLimit && IsTextChar(data[k])) ++k;
            return TextRun{static_cast<std::size_t>(start), static_cast<std::size_t>(k - start)};
        }
    }
    return std::nullopt;
}

}  // namespace quibo
