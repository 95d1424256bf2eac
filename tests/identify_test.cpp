// SPDX-License-Identifier: GPL-3.0-or-later
// The General group through the window: identification by leading bytes,
// the truncation verdict and sizes past 2 GiB.
#include "test_window.h"

namespace quibo::test {
namespace {

// Only an AVI is walked; the verdict shows that.
TEST_F(DialogTest, IdentificationTableRowByRow) {
    const Bytes riffHeader = "RIFF" + Le32(56);
    const struct { const char* name; Bytes head; const char* status; } cases[] = {
        {"ASF", Bytes("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16),
         "File is ASF (.WMA/.WMV) - not supported"},
        {"QuickTime", Bytes("\0\0\0\x20moov", 8), "File is Quicktime (.MOV) - not supported"},
        {"QuickTime before MPEG", Bytes("\0\0\x01\xBAmoov", 8), "File is Quicktime (.MOV) - not supported"},
        {"MPEG", Bytes("\0\0\x01\xB3", 4), "File is MPEG (.MPG/.MPEG) - not supported"},
        {"RAR", "Rar!\x1a\x07", "File is Winrar (/RAR) - not supported"},
        {"ZIP", Bytes("PK\x03\x04", 4), "File is Zipped (.ZIP) - not supported"},
        {"Ogg", "OggS", "File is Ogg Media (.OGM) - not supported"},
        {"RIFX", "RIFX" + Le32(56) + "AVI ", "Not a Valid AVI File: Bad Header"},
        {"WAVE", riffHeader + "WAVE", "File is .WAV audio - not supported"},
        {"wave", "riff" + Le32(56) + "wave", "File is .WAV audio - not supported"},
        {"CDXA", riffHeader + "CDXA", "Unsupported / Unknown RIFF file"},
        {"AVI", riffHeader + "AVI ", "File Length Correct"},
        {"avi", riffHeader + "avi ", "File Length Correct"},
        {"AVIX", riffHeader + "AVIX", "File Length Correct"},
        {"riff", "riff" + Le32(56) + "AVI ", "File Length Correct"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.head + Bytes(64 - c.head.size(), '\0'));
        EXPECT_EQ(Status(), c.status);
        const bool walked = std::string(c.status) == "File Length Correct";
        EXPECT_EQ(dialog.FileAnalysed(), walked);
        EXPECT_EQ(Text(control::kAudioEncoding) == "n.a.", !walked) << Text(control::kAudioEncoding);
    }
}

// Whatever the verdict, what the headers say is shown too. Sizes on disk past 2 GiB keep their value (an OpenDML file's
// first RIFF chunk holds 1 GiB, AVIX chunks follow); a small file whose header claims nearly 4 GiB is truncated, not
// complete by wrap-around.
TEST_F(DialogTest, TruncationVerdictComparesDeclaredAndRealSize) {
    const Bytes avi = SmallAvi().ToBytes();
    const std::uint32_t exact = static_cast<std::uint32_t>(avi.size() - 8);
    struct Case { std::uint32_t declared; std::size_t appended; std::int64_t onDisk;  // the bytes' own size when 0
                  const char *status, *size = nullptr; };
    const Case cases[] = {
        {exact, 0, 0, "File Length Correct"},
        {exact, 5000, 0, "File Length Correct"},
        {exact + 1, 0, 0, "May be truncated:1 bytes are missing."},
        {exact + 1024, 0, 0, "May be truncated:1.00 KB are missing."},
        {exact + 1025, 0, 0, "===> Truncated: 1.00 KB are missing."},
        {exact + 2000000, 0, 0, "===> Truncated: 1.90 MB are missing."},
        {0xFFFFFFF0, 0, 0, "===> Truncated: 4,095 MB are missing."},
        {1u << 30, 0, 3758096384, "File Length Correct", "3,584 MB   (3,670,016 KB    3,758,096,384 bytes)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.declared << " declared, " << c.appended << " appended, " << c.onDisk);
        files.Add("/data/test.avi", "RIFF" + Le32(c.declared) + avi.substr(8) + Bytes(c.appended, '\0'))
            .reportedSize = c.onDisk ? std::optional(c.onDisk) : std::nullopt;
        Open("/data/test.avi");
        EXPECT_EQ(Status(), c.status);
        EXPECT_TRUE(dialog.FileAnalysed());
        EXPECT_FALSE(fields.Rows().empty());
        EXPECT_EQ(Text(control::kVideoFourCC), "XVID");
        if (c.size) {
            EXPECT_EQ(Text(control::kFileSize), c.size);
        }
    }
}

}  // namespace
}  // namespace quibo::test
