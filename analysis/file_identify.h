// The General group: file name, size, date and the integrity verdict, and
// whether the file may be walked at all.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/field_surface.h"
#include "platform/file_access.h"

namespace quibo {

// The four texts and the result of the last identification that had a
// file; Refresh shows them again.
struct GeneralCache {
    std::string fileName;
    std::string size;
    std::string date;
    std::string status;
    std::int64_t result = 0;
};

// "06 Dec 2026, 23:16:31" in local time, English month names whatever the
// locale.
std::string FormatLastWriteTime(std::time_t seconds);

// Fills the General fields from the file and the image's first 16 bytes.
// Returns the file size when the file is an AVI file that may be walked,
// else 0. Without a file (`file` null) it shows the cached texts again and
// returns the cached result.
std::int64_t IdentifyFile(FileHandle* file, const std::string& path, const std::uint8_t* image,
                          FieldSurface& fields, GeneralCache& cache);

}  // namespace quibo
