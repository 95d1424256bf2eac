// SPDX-License-Identifier: GPL-3.0-or-later
// Reads bits most significant first from a bounded span; past its end
// every bit reads as zero and Overrun() tells.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quibo {

class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size) : data_(data), bits_(size * 8) {}

    std::uint32_t Read(int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value <<= 1;
            if (position_ < bits_) value |= (data_[position_ / 8] >> (7 - position_ % 8)) & 1u;
            ++position_;
        }
        return value;
    }
    bool Flag() { return Read(1) != 0; }
    void Skip(std::size_t count) { position_ += count; }
    // Exp-Golomb coded numbers of H.264.
    std::uint32_t ReadUnsignedGolomb() {
        int zeros = 0;
        while (!Flag() && zeros < 32 && !Overrun()) ++zeros;
        return zeros >= 32 ? 0 : (1u << zeros) - 1 + Read(zeros);
    }
    std::int32_t ReadSignedGolomb() {
        const std::uint32_t code = ReadUnsignedGolomb();
        return (code & 1) != 0 ? static_cast<std::int32_t>((code + 1) / 2) : -static_cast<std::int32_t>(code / 2);
    }
    bool Overrun() const { return position_ > bits_; }

private:
    const std::uint8_t* data_;
    std::size_t bits_;
    std::size_t position_ = 0;
};

}  // namespace quibo
