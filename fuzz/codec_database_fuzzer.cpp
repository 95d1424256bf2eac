// SPDX-License-Identifier: GPL-3.0-or-later
// The codec database loaded from arbitrary bytes, as start-up loads it,
// then asked what the window and the lists ask of it.
#include "codecs/codec_database.h"
#include "tests/memory_files.h"

namespace {

constexpr const char* kPath = "/fuzz/Quibo.dat";

// Reads every text a record points at, so that a pointer past the parsed text shows up under the address checker.
std::size_t TouchRecord(const quibo::CodecEntry& entry) {
    std::size_t length = 0;
    for (const char* text : {entry.fourCC, entry.description, entry.vendor})
        if (text != nullptr) length += std::strlen(text);
    return length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quibo::test::MemoryFiles files(false);
    files.Add(kPath, std::string(reinterpret_cast<const char*>(data), size));

    quibo::CodecDatabase database;
    quibo::CodecLoadResult result = quibo::LoadCodecDatabase(files, {kPath}, database);
    if (!result.complete) database.MarkUnknownEntry();

    std::size_t touched = 0;
    for (std::size_t slot = 0; slot <= database.RecordCount(); ++slot) touched += TouchRecord(database.Slot(slot));
    for (const quibo::CodecEntry& entry : database.ListedEntries()) touched += TouchRecord(entry);
    // Lookups by the input's own first FourCC and by common ones.
    char own[4] = {};
    std::memcpy(own, data, size < 4 ? size : 4);
    for (const char* key : {static_cast<const char*>(own), "XVID", "divx", "MJPG", "\0\0\0\0"})
        touched += TouchRecord(database.Slot(database.FindCodecIndex(key)));
    // Keeps the reads above from being optimised away.
    asm volatile("" : : "r"(touched) : "memory");
    return 0;
}
