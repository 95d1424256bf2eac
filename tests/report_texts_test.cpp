// SPDX-License-Identifier: GPL-3.0-or-later
// The one presenter: a typed report to the window's texts, row by row.
// Texts that crafted files reach through the window are checked there.
#include "app/report_texts.h"
#include "app/size_text.h"
#include "test_window.h"

namespace quibo::test {
namespace {

using namespace control;

// A complete XVID file with MP3 audio; each row changes some facts.
AviReport Whole() {
    AviReport report;
    report.type = FileType::Avi, report.size = 235464, report.walked = true;
    VideoReport& v = report.video.emplace();
    v.handler = v.compression = "XVID", v.codec = "Xvid MPEG-4", v.vendor = "Xvid team";
    v.width = 640, v.height = 480, v.framesPerSecond = 25, v.seconds = 5400, v.bytesPerSecond = 100000;
    AudioReport& a = report.audio.emplace();
    a.formatTag = 0x55, a.bytesPerSecond = 16000, a.scan.verdict = kVerdictCbr;
    return report;
}

TEST(ReportTexts, WholeFileAsTheWindowShowsIt) {
    RecordedFields fields;
    ShowReport(Whole(), "movie.avi", fields);
    std::vector<std::string> shown;
    for (int field : {kFileName, kFileSize, kFileStatus, kVideoDuration, kVideoAspect, kVideoBitrate, kVideoFourCC,
                      kVideoCodec, kVideoStatus, kAudioEncoding, kAudioBitrate})
        shown.push_back(fields.Text(field));
    EXPECT_EQ(shown, (std::vector<std::string>{"movie.avi", "229 KB   (235,464 bytes)", "File Length Correct",
                                               "01h 30m 00s", "640 x 480  (1.333 : 1)", "800 kb/s", "XVID",
                                               "Xvid MPEG-4", "Codec NOT Installed", "MP3  ", "128 kb/s CBR  "}));
}

TEST(ReportTexts, EachChangedFactAsTheWindowShowsIt) {
    using R = AviReport&; using V = VideoReport&; using A = AudioReport&;
    auto video = [](auto change) { return [change](R r) { change(*r.video); }; };
    auto audio = [](auto change) { return [change](R r) { change(*r.audio); }; };
    const struct {
        const char* name;
        std::function<void(AviReport&)> change;
        int field;
        const char* text;
    } rows[] = {
        {"size unknown", [](R r) { r.size.reset(); }, kFileStatus, "n.a."},
        {"sizes fail, no facts", [](R r) { r.walked = false; }, kVideoFourCC, "n.a."},
        {"half second up", video([](V v) { v.seconds = 3600.5; }), kVideoDuration, "01h 00m 01s"},
        {"a day and more", video([](V v) { v.seconds = 90000; }), kVideoDuration, "25h 00m 00s"},
        {"2^63 s, from the largest rate and scale", video([](V v) { v.seconds = 0x1p63; }), kVideoDuration,
         "2562047788015215h 30m 08s"},
        {"NTSC", video([](V v) { v.framesPerSecond = 30000.0 / 1001; }), kVideoFrameRate, "29.970 FPS"},
        {"no rate", video([](V v) { v.framesPerSecond = 0; }), kVideoFrameRate, "n.a."},
        {"portrait", video([](V v) { v.width = 480, v.height = 640; }), kVideoAspect, "480 x 640  (1 : 1.333)"},
        {"no height", video([](V v) { v.height = 0; }), kVideoAspect, "640 x 0"},
        {"PAL 16:9", video([](V v) { v.width = 720, v.height = 576, v.declaredAspect = 16.0 / 9; }), kVideoAspect,
         "720 x 576  (1.778 : 1)"},
        {"no video bitrate", video([](V v) { v.bytesPerSecond.reset(); }), kVideoBitrate, "n.a."},
        {"case differs", video([](V v) { v.handler = "xvid"; }), kVideoFourCC, "xvid"},
        {"pair", video([](V v) { v.handler = "divx", v.compression = "DX50"; }), kVideoFourCC, "DX50/divx"},
        {"raw", video([](V v) { v.handler = "", v.compression = "RGB "; }), kVideoFourCC, "RGB "},
        {"decoder", video([](V v) { v.decoderInstalled = true; }), kVideoStatus, "Codec IS Installed"},
        {"tagged", audio([](A a) { std::strcpy(a.scan.tag.text, "LAME3.100"); }), kAudioEncoding, "MP3  LAME3.100"},
        {"VBR", audio([](A a) { a.bytesPerSecond = 17437, a.scan.verdict = kVerdictVbr; }), kAudioBitrate,
         "139 kb/s VBR  "},
        {"62 B/s", audio([](A a) { a.bytesPerSecond = 62, a.scan.verdict = kVerdictNone; }), kAudioBitrate, "0 kb/s"},
        {"63 B/s", audio([](A a) { a.bytesPerSecond = 63, a.scan.verdict = kVerdictNone; }), kAudioBitrate, "1 kb/s"},
        {"PCM", audio([](A a) { a.formatTag = 1, a.bytesPerSecond = 176400, a.scan.verdict = kVerdictNone; }),
         kAudioBitrate, "1411 kb/s"},
        {"unknown tag", audio([](A a) { a.formatTag = 0xA106; }), kAudioEncoding, "Unknown type 0xa106  "},
    };
    for (const auto& row : rows) {
        AviReport report = Whole();
        row.change(report);
        RecordedFields fields;
        ShowReport(report, "movie.avi", fields);
        EXPECT_EQ(fields.Text(row.field), row.text) << row.name;
        EXPECT_EQ(fields.Text(kFileName), "movie.avi");
    }
}

TEST(ReportTexts, SizesCutDecimalsAndGroupThousands) {
    const std::pair<std::int64_t, const char*> rows[] = {
        {0, "0 bytes"}, {1023, "1,023 bytes"}, {1024, "1.00 KB   (1,024 bytes)"},
        {10239, "9.99 KB   (10,239 bytes)"}, {10240, "10.0 KB   (10,240 bytes)"},
        {102399, "99.9 KB   (102,399 bytes)"}, {102400, "100 KB   (102,400 bytes)"},
        {1048575, "1,023 KB   (1,048,575 bytes)"}, {1048576, "1.00 MB   (1,024 KB    1,048,576 bytes)"},
        {5000000, "4.76 MB   (4,882 KB    5,000,000 bytes)"},
    };
    for (const auto& [bytes, text] : rows) EXPECT_EQ(FormatSizeText(bytes, SizeStyle::Long), text) << bytes;
    EXPECT_EQ(FormatSizeText(1048575, SizeStyle::Short), "1,023 KB");
    EXPECT_EQ(GroupThousands(-1), "");
}

}  // namespace
}  // namespace quibo::test
