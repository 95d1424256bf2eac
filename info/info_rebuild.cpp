// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/info_rebuild.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "riff/riff_layout.h"

namespace quibo {
namespace {

constexpr std::int64_t kFailed = -1;
// Filler for a JUNK that grows; a balance never exceeds the image.
const std::array<std::uint8_t, kImageCapacity> kZeros{};

class Rebuilder {
public:
    Rebuilder(const std::uint8_t* source, std::uint8_t* work, const InfoEditRequest& request)
        : source_(source), work_(work), request_(request) {
        // The text, its NUL and a zero pad byte.
        text_.assign(request.text.begin(), request.text.end());
        text_.resize(PaddedSize(static_cast<std::uint32_t>(request.TextLength())), 0);
    }

    std::int64_t RebuildChunk(std::size_t src, std::size_t dst);

    std::int64_t balance = 0;
    std::size_t highWaterMark = 0;
    bool targetMet = false;

private:
    std::uint32_t SizeAt(std::size_t src) const { return ReadLe32(source_ + src + chunk::kSizeOffset); }
    static bool HasSourceBytes(std::size_t at, std::size_t count) {
        return at <= kImageCapacity && count <= kImageCapacity - at;
    }

    std::int64_t RebuildContainer(std::size_t src, std::size_t dst);
    std::int64_t RebuildTarget(std::size_t src, std::size_t dst);
    std::int64_t RebuildJunk(std::size_t src, std::size_t dst);

    // Copies into the work image, cut at the end of either image; notes how
    // far the work image has been written.
    void ClippedCopyFromSource(std::size_t dst, std::size_t src, std::uint64_t count) {
        if (src >= kImageCapacity) return;
        count = std::min<std::uint64_t>(count, kImageCapacity - src);
        ClippedCopy(dst, source_ + src, count);
    }
    void ClippedCopy(std::size_t dst, const std::uint8_t* from, std::uint64_t count) {
        if (dst >= kImageCapacity) return;
        auto copied = static_cast<std::size_t>(std::min<std::uint64_t>(count, kImageCapacity - dst));
        std::memmove(work_ + dst, from, copied);
        highWaterMark = std::max(highWaterMark, dst + copied);
    }
    void WriteHeader(std::size_t dst, const std::uint8_t* id, std::uint64_t size) {
        if (dst + chunk::kHeaderSize > kImageCapacity) return;
        std::memcpy(work_ + dst, id, 4);
        WriteLe32(work_ + dst + chunk::kSizeOffset, static_cast<std::uint32_t>(size));
    }

    const std::uint8_t* source_;
    std::uint8_t* work_;
    const InfoEditRequest& request_;
    std::vector<std::uint8_t> text_;
    // Once the movie list is reached, no JUNK gives or takes space: moving
    // the chunks inside it would break every index that points at them.
    bool inMovieOrAfter_ = false;
};

std::int64_t Rebuilder::RebuildChunk(std::size_t src, std::size_t dst) {
    if (IsContainerId(source_ + src)) return RebuildContainer(src, dst);
    if (src == request_.target) return RebuildTarget(src, dst);
    if (IdEquals(source_ + src, "JUNK") && balance != 0 && !inMovieOrAfter_) return RebuildJunk(src, dst);
    std::uint32_t size = SizeAt(src);
    ClippedCopyFromSource(dst + chunk::kDataOffset, src + chunk::kDataOffset, PaddedSize(size));
    WriteHeader(dst, source_ + src, size);
    return static_cast<std::int64_t>(PaddedSize(size) + chunk::kHeaderSize);
}

std::int64_t Rebuilder::RebuildContainer(std::size_t src, std::size_t dst) {
    std::uint32_t size = SizeAt(src);
    // The form type is read only where the image holds it.
    if (HasSourceBytes(src + chunk::kFormTypeOffset, 4) &&
        std::memcmp(source_ + src + chunk::kFormTypeOffset, "movi", 4) == 0)
        inMovieOrAfter_ = true;
    ClippedCopyFromSource(dst + chunk::kFormTypeOffset, src + chunk::kFormTypeOffset, 4);
    std::int64_t remaining = static_cast<std::int64_t>(PaddedSize(size)) - 4;
    std::int64_t out = chunk::kContainerHeaderSize;
    std::size_t child = src + chunk::kContainerHeaderSize;
    bool first = true;
    while (remaining > 0) {
        // A child whose header is not wholly in the image is not visited:
        // the container keeps the size it has in the source.
        bool headerOutside = first ? child + chunk::kHeaderSize > kImageCapacity
                                   : child + chunk::kHeaderSize >= kImageCapacity;
        if (headerOutside) {
            out = static_cast<std::int64_t>(size) + chunk::kHeaderSize;
            remaining = 0;
            break;
        }
        first = false;
        std::int64_t written = RebuildChunk(child, dst + static_cast<std::size_t>(out));
        if (written < 0) return kFailed;
        std::uint64_t footprint = PaddedSize(SizeAt(child)) + chunk::kHeaderSize;
        remaining -= static_cast<std::int64_t>(footprint);
        out += written;
        if (child + footprint + chunk::kHeaderSize >= kImageCapacity) {
            out = static_cast<std::int64_t>(size) + chunk::kHeaderSize;
            remaining = 0;
            break;
        }
        child += static_cast<std::size_t>(footprint);
    }
    // Children that do not fill their container exactly would shift every
    // byte after it without a balance to account for it.
    if (remaining != 0) return kFailed;
    WriteHeader(dst, source_ + src, static_cast<std::uint64_t>(out) - chunk::kHeaderSize);
    return out;
}

std::int64_t Rebuilder::RebuildTarget(std::size_t src, std::size_t dst) {
    targetMet = true;
    const auto* code = reinterpret_cast<const std::uint8_t*>(request_.code);
    std::uint64_t padded = PaddedSize(SizeAt(src));
    std::uint64_t textPadded = text_.size();
    switch (request_.kind) {
        case InfoEditKind::Edit:
            ClippedCopy(dst + chunk::kDataOffset, text_.data(), textPadded);
            balance += static_cast<std::int64_t>(padded) - static_cast<std::int64_t>(textPadded);
            WriteHeader(dst, code, request_.TextLength());
            return static_cast<std::int64_t>(textPadded + chunk::kHeaderSize);
        case InfoEditKind::Delete:
            balance += static_cast<std::int64_t>(padded + chunk::kHeaderSize);
            return 0;
        case InfoEditKind::Insert:
            ClippedCopyFromSource(dst + chunk::kDataOffset + textPadded, src, chunk::kHeaderSize + padded);
            ClippedCopy(dst + chunk::kDataOffset, text_.data(), textPadded);
            balance -= static_cast<std::int64_t>(chunk::kHeaderSize + textPadded);
            WriteHeader(dst, code, request_.TextLength());
            return static_cast<std::int64_t>(2 * chunk::kHeaderSize + textPadded + padded);
    }
    return kFailed;
}

std::int64_t Rebuilder::RebuildJunk(std::size_t src, std::size_t dst) {
    auto padded = static_cast<std::int64_t>(PaddedSize(SizeAt(src)));
    std::int64_t newSize = std::max<std::int64_t>(padded + balance, 0);
    // The JUNK's data is filler: its own bytes, then zeros where it grows,
    // so that no copy of the chunks behind it shows up inside it.
    std::int64_t kept = std::min(newSize, padded);
    ClippedCopyFromSource(dst + chunk::kDataOffset, src + chunk::kDataOffset, static_cast<std::uint64_t>(kept));
    ClippedCopy(dst + chunk::kDataOffset + static_cast<std::size_t>(kept), kZeros.data(),
                static_cast<std::uint64_t>(newSize - kept));
    balance += padded - newSize;
    WriteHeader(dst, source_ + src, static_cast<std::uint64_t>(newSize));
    return newSize + static_cast<std::int64_t>(chunk::kHeaderSize);
}

}  // namespace

RebuildResult RebuildInfoTree(const std::uint8_t* source, std::uint8_t* work, std::size_t loadedLength,
                              const InfoEditRequest& request) {
    Rebuilder rebuilder(source, work, request);
    std::int64_t written = rebuilder.RebuildChunk(0, 0);
    RebuildResult result;
    result.highWaterMark = rebuilder.highWaterMark;
    if (written < 0 || !rebuilder.targetMet) return result;
    // The write-back never reaches past the file's own bytes, so the file
    // never grows.
    if (rebuilder.balance != 0 || rebuilder.highWaterMark > loadedLength) {
        result.outcome = RebuildOutcome::NoRoom;
        return result;
    }
    result.outcome = RebuildOutcome::Committed;
    return result;
}

}  // namespace quibo
