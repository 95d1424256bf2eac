// Damaged copies of a real AVI file, damaged the ways files get damaged:
// cut short, or with one chunk's declared size replaced by an extreme value.
// The chunk tree is walked here, independently of the program's own walk.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "riff_builder.h"

namespace quibo::test {

// One damaged copy: the first `length` bytes of the file, and, when
// `sizeField` is set, `value` written over the size field at that offset.
struct Damage {
    std::string name;
    std::size_t length = 0;
    std::size_t sizeField = SIZE_MAX;
    std::uint32_t value = 0;
};

inline Bytes Damaged(const Bytes& file, const Damage& damage) {
    Bytes bytes = file.substr(0, damage.length);
    if (damage.sizeField != SIZE_MAX) bytes.replace(damage.sizeField, 4, Le32(damage.value));
    return bytes;
}

// Appends the offset of the size field of each chunk in [begin, end) whose
// header lies in the first `limit` bytes, descending into RIFF and LIST
// chunks; stops at the first header that does not fit.
inline void CollectSizeFields(const Bytes& file, std::uint64_t begin, std::uint64_t end, std::uint64_t limit,
                              std::vector<std::size_t>& into) {
    end = std::min<std::uint64_t>({end, file.size(), limit});
    for (std::uint64_t at = begin; at + 8 <= end;) {
        const char* header = file.data() + at;
        std::uint32_t size = 0;
        for (int i = 3; i >= 0; --i) size = size << 8 | static_cast<std::uint8_t>(header[4 + i]);
        bool container = std::memcmp(header, "RIFF", 4) == 0 || std::memcmp(header, "LIST", 4) == 0;
        if (container && at + 12 > end) return;
        into.push_back(static_cast<std::size_t>(at + 4));
        std::uint64_t next = at + 8 + size + (size & 1);
        if (container) CollectSizeFields(file, at + 12, std::min(next, end), limit, into);
        at = next;
    }
}

// The file cut after every `step` bytes: lengths step, 2 step, ... below
// its length.
inline std::vector<Damage> CutCopies(const std::string& prefix, const Bytes& file, std::size_t step) {
    std::vector<Damage> copies;
    for (std::size_t length = step; length < file.size(); length += step)
        copies.push_back({prefix + "-cut-" + std::to_string(length) + ".avi", length});
    return copies;
}

// Each size field whose header lies in the first `limit` bytes set, in
// turn, to each extreme value.
inline std::vector<Damage> SizeFieldCopies(const std::string& prefix, const Bytes& file, std::size_t limit) {
    static constexpr std::uint32_t kExtremes[] = {0, 1, 2, 3, 4, 0x7FFFFFFF, 0xFFFFFFFF};
    std::vector<std::size_t> fields;
    CollectSizeFields(file, 0, file.size(), limit, fields);
    std::vector<Damage> copies;
    for (std::size_t field : fields)
        for (std::uint32_t value : kExtremes) {
            char name[64];
            std::snprintf(name, sizeof name, "-size-%zu-%x.avi", field, value);
            copies.push_back({prefix + name, file.size(), field, value});
        }
    return copies;
}

}  // namespace quibo::test
