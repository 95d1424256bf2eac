#include "analysis/file_identify.h"

#include <cstring>
#include <strings.h>

#include "analysis/riff_layout.h"
#include "analysis/size_text.h"
#include "res/control_ids.h"

namespace quibo {
namespace {

constexpr std::int64_t kTruncationTolerance = 1024;

constexpr std::uint8_t kAsfHeaderGuid[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                             0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};

struct Verdict {
    std::string status;
    std::int64_t result;
};

// Foreign formats recognised by their leading bytes, in testing order.
const char* ForeignFileStatus(const std::uint8_t* image) {
    if (std::memcmp(image, kAsfHeaderGuid, 16) == 0) return "File is ASF (.WMA/.WMV) - not supported";
    if (std::memcmp(image + 4, "moov", 4) == 0) return "File is Quicktime (.MOV) - not supported";
    if (image[0] == 0 && image[1] == 0 && image[2] == 1) return "File is MPEG (.MPG/.MPEG) - not supported";
    if (std::memcmp(image, "Rar!", 4) == 0) return "File is Winrar (/RAR) - not supported";
    if (std::memcmp(image, "PK\x03\x04", 4) == 0) return "File is Zipped (.ZIP) - not supported";
    if (std::memcmp(image, "OggS", 4) == 0) return "File is Ogg Media (.OGM) - not supported";
    return "Not a Valid AVI File: Bad Header";
}

bool StartsIgnoringCase(const std::uint8_t* bytes, const char* text) {
    return ::strncasecmp(reinterpret_cast<const char*>(bytes), text, std::strlen(text)) == 0;
}

// Compares the size the RIFF header declares with the real size, both in
// 64 bits so that files of 2 GiB and more get true verdicts.
Verdict TruncationVerdict(const std::uint8_t* image, std::int64_t fileSize) {
    std::int64_t missing = static_cast<std::int64_t>(ReadLe32(image + 4)) + 8 - fileSize;
    if (missing <= 0) return {"File Length Correct", fileSize};
    if (missing <= kTruncationTolerance)
        return {"May be truncated:" + FormatSizeText(missing, SizeStyle::Short) + " are missing.", fileSize};
    // What the headers of a cut file say is shown all the same.
    return {"===> Truncated: " + FormatSizeText(missing, SizeStyle::Short) + " are missing.", fileSize};
}

Verdict Identify(const std::uint8_t* image, std::int64_t fileSize) {
    if (!StartsIgnoringCase(image, "RIFF")) return {ForeignFileStatus(image), 0};
    if (!StartsIgnoringCase(image + 8, "AVI")) {
        if (StartsIgnoringCase(image + 8, "WAVE")) return {"File is .WAV audio - not supported", 0};
        return {"Unsupported / Unknown RIFF file", 0};
    }
    return TruncationVerdict(image, fileSize);
}

// The four texts and the result for a file that is open.
GeneralCache IdentifyOpenFile(FileHandle& file, const std::string& path, const std::uint8_t* image) {
    GeneralCache shown;
    shown.fileName = path;
    // A failed size or time query leaves its field at "n.a."; without a
    // size there is no verdict and nothing is walked.
    shown.size = shown.date = shown.status = "n.a.";
    SizeResult size = file.Size();
    if (size.ok) shown.size = FormatSizeText(size.bytes, SizeStyle::Long);
    TimeResult time = file.LastWriteTime();
    if (time.ok) shown.date = FormatLastWriteTime(time.seconds);
    if (size.ok) {
        Verdict verdict = Identify(image, size.bytes);
        shown.status = verdict.status;
        shown.result = verdict.result;
    }
    return shown;
}

}  // namespace

std::string FormatLastWriteTime(std::time_t seconds) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) return "n.a.";
    char text[64];
    std::snprintf(text, sizeof text, "%02d %s %04d, %02d:%02d:%02d", local.tm_mday, kMonths[local.tm_mon],
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::int64_t IdentifyFile(FileHandle* file, const std::string& path, const std::uint8_t* image,
                          FieldSurface& fields, GeneralCache& cache) {
    if (file != nullptr) cache = IdentifyOpenFile(*file, path, image);
    fields.SetText(control::kFileName, cache.fileName);
    fields.SetText(control::kFileSize, cache.size);
    fields.SetText(control::kFileDate, cache.date);
    fields.SetText(control::kFileStatus, cache.status);
    return cache.result;
}

}  // namespace quibo
