// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/file_identify.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "riff/riff_layout.h"

namespace quibo {
namespace {

constexpr std::uint8_t kAsfHeaderGuid[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                             0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};

// Foreign formats recognised by their leading bytes, in testing order.
FileType ForeignFileType(const std::uint8_t* image) {
    if (std::memcmp(image, kAsfHeaderGuid, 16) == 0) return FileType::Asf;
    if (std::memcmp(image + 4, "moov", 4) == 0) return FileType::QuickTime;
    if (image[0] == 0 && image[1] == 0 && image[2] == 1) return FileType::Mpeg;
    if (std::memcmp(image, "Rar!", 4) == 0) return FileType::Rar;
    if (std::memcmp(image, "PK\x03\x04", 4) == 0) return FileType::Zip;
    if (std::memcmp(image, "OggS", 4) == 0) return FileType::Ogg;
    return FileType::Unknown;
}

bool StartsIgnoringCase(const std::uint8_t* bytes, const char* text) {
    return ::strncasecmp(reinterpret_cast<const char*>(bytes), text, std::strlen(text)) == 0;
}

}  // namespace

Identification IdentifyFile(const std::uint8_t* image, std::int64_t fileSize) {
    if (!StartsIgnoringCase(image, "RIFF")) return {ForeignFileType(image), 0};
    if (!StartsIgnoringCase(image + 8, "AVI"))
        return {StartsIgnoringCase(image + 8, "WAVE") ? FileType::Wav : FileType::Riff, 0};
    // In 64 bits, so that files of 2 GiB and more get true verdicts.
    return {FileType::Avi, std::max<std::int64_t>(0, static_cast<std::int64_t>(DeclaredRiffEnd(image)) - fileSize)};
}

}  // namespace quibo
