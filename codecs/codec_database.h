// SPDX-License-Identifier: GPL-3.0-or-later
// The codec catalogue: FourCC, description and vendor per codec, parsed in
// place from the text of the database file into a fixed table of slots.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/file_access.h"

namespace quibo {

struct CodecEntry {
    const char* fourCC = nullptr;
    const char* description = nullptr;
    const char* vendor = nullptr;
};

inline constexpr std::size_t kCodecSlots = 400;
inline constexpr std::size_t kMaxCodecFileSize = 100000;
inline constexpr const char* kCodecFileName = "Quibo.dat";

class CodecDatabase {
public:
    // Slot 0 is the unknown entry; records follow from slot 1 in file order
    // and end at the first slot without a FourCC.
    const CodecEntry& Slot(std::size_t index) const { return slots_[index]; }
    // The first slot whose FourCC equals `key` over four characters,
    // ignoring letter case; 0 when none does.
    std::size_t FindCodecIndex(const char* key) const;
    // Number of records held.
    std::size_t RecordCount() const;
    // The records the codec lists show: from slot 1 up to the first whose
    // description is absent or empty.
    std::span<const CodecEntry> ListedEntries() const;

    // Takes the file's text (with room for one more byte, which must be
    // NUL) and parses it in place. True when the whole text was parsed.
    bool Parse(std::unique_ptr<char[]> text, std::size_t length);
    void MarkUnknownEntry();

private:
    std::array<CodecEntry, kCodecSlots> slots_{};
    std::unique_ptr<char[]> text_;
};

struct CodecLoadFailure {
    enum class Kind { None, Open, InvalidSize, Read, Memory } kind = Kind::None;
    std::string path;  // the path last tried
    int error = 0;     // errno of the failed call
};

struct CodecLoadResult {
    bool complete = false;
    CodecLoadFailure failure;
};

// Opens the first of `places` that opens, reads it whole and parses it.
CodecLoadResult LoadCodecDatabase(FileAccess& files, const std::vector<std::string>& places,
                                  CodecDatabase& database);

// Where the database is looked for, in order: the current directory, the
// program's own folder, the installed data folder.
std::vector<std::string> CodecDatabasePlaces(const std::string& programDirectory);

}  // namespace quibo
