// SPDX-License-Identifier: GPL-3.0-or-later
// The concatenated data of the audio chunks met by the walk, for the MPEG
// audio frame scan. Fixed capacity; filled from the start by every walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quibo {

class AudioSampleBuffer {
public:
    AudioSampleBuffer(std::uint8_t* storage, std::size_t capacity) : data_(storage), capacity_(capacity) {}

    void Rewind() { fill_ = 0; }
    // Appends as much of [bytes, bytes + count) as there is room for.
    void Append(const std::uint8_t* bytes, std::size_t count) {
        std::size_t room = capacity_ - fill_;
        if (count > room) count = room;
        std::memcpy(data_ + fill_, bytes, count);
        fill_ += count;
    }
    const std::uint8_t* Data() const { return data_; }
    std::size_t Filled() const { return fill_; }
    std::size_t Capacity() const { return capacity_; }

private:
    std::uint8_t* data_;
    std::size_t capacity_;
    std::size_t fill_ = 0;
};

}  // namespace quibo
