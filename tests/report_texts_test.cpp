// The one presenter: a typed report to the window's texts, row by row.
#include "app/report_texts.h"
#include "app/size_text.h"
#include "test_window.h"

namespace quibo::test {
namespace {

// A complete XVID file with MP3 audio; each row changes some facts.
AviReport Whole() {
    AviReport report;
    report.type = FileType::Avi;
    report.size = 235464;
    report.walked = true;
    VideoReport& video = report.video.emplace();
    video.handler = video.compression = "XVID";
    video.codec = "Xvid MPEG-4";
    video.vendor = "Xvid team";
    video.width = 640;
    video.height = 480;
    video.framesPerSecond = 25;
    video.seconds = 5400;
    video.bytesPerSecond = 100000;
    AudioReport& audio = report.audio.emplace();
    audio.formatTag = 0x55;
    audio.bytesPerSecond = 16000;
    audio.scan.verdict = kVerdictCbr;
    return report;
}

struct Row {
    const char* name;
    std::function<void(AviReport&)> change;
    int field;
    const char* text;
};

TEST(ReportTexts, EachFactAsTheWindowShowsIt) {
    auto video = [](auto change) { return [change](AviReport& r) { change(*r.video); }; };
    auto audio = [](auto change) { return [change](AviReport& r) { change(*r.audio); }; };
    const Row rows[] = {
        {"size", [](AviReport&) {}, control::kFileSize, "229 KB   (235,464 bytes)"},
        {"size unknown", [](AviReport& r) { r.size.reset(); }, control::kFileStatus, "n.a."},
        {"complete", [](AviReport&) {}, control::kFileStatus, "File Length Correct"},
        {"cut by 1", [](AviReport& r) { r.missingBytes = 1; }, control::kFileStatus, "May be truncated:1 bytes are missing."},
        {"cut by 1 KB", [](AviReport& r) { r.missingBytes = 1024; }, control::kFileStatus, "May be truncated:1.00 KB are missing."},
        {"cut more", [](AviReport& r) { r.missingBytes = 2000000; }, control::kFileStatus, "===> Truncated: 1.90 MB are missing."},
        {"sizes fail", [](AviReport& r) { r.walked = false; }, control::kFileStatus, "Not a valid AVI File"},
        {"sizes fail, no facts", [](AviReport& r) { r.walked = false; }, control::kVideoFourCC, "n.a."},
        {"WAV", [](AviReport& r) { r.type = FileType::Wav; }, control::kFileStatus, "File is .WAV audio - not supported"},
        {"unknown", [](AviReport& r) { r.type = FileType::Unknown; }, control::kFileStatus, "Not a Valid AVI File: Bad Header"},
        {"hours", [](AviReport&) {}, control::kVideoDuration, "01h 30m 00s"},
        {"half second up", video([](VideoReport& v) { v.seconds = 3600.5; }), control::kVideoDuration, "01h 00m 01s"},
        {"a day and more", video([](VideoReport& v) { v.seconds = 90000; }), control::kVideoDuration, "25h 00m 00s"},
        {"NTSC", video([](VideoReport& v) { v.framesPerSecond = 30000.0 / 1001; }), control::kVideoFrameRate, "29.970 FPS"},
        {"no rate", video([](VideoReport& v) { v.framesPerSecond = 0; }), control::kVideoFrameRate, "n.a."},
        {"landscape", [](AviReport&) {}, control::kVideoAspect, "640 x 480  (1.333 : 1)"},
        {"portrait", video([](VideoReport& v) { v.width = 480, v.height = 640; }), control::kVideoAspect, "480 x 640  (1 : 1.333)"},
        {"no height", video([](VideoReport& v) { v.height = 0; }), control::kVideoAspect, "640 x 0"},
        {"PAL 16:9", video([](VideoReport& v) { v.width = 720, v.height = 576, v.declaredAspect = 16.0 / 9; }),
         control::kVideoAspect, "720 x 576  (1.778 : 1)"},
        {"video bitrate", [](AviReport&) {}, control::kVideoBitrate, "800 kb/s"},
        {"no video bitrate", video([](VideoReport& v) { v.bytesPerSecond.reset(); }), control::kVideoBitrate, "n.a."},
        {"FourCC", [](AviReport&) {}, control::kVideoFourCC, "XVID"},
        {"case differs", video([](VideoReport& v) { v.handler = "xvid"; }), control::kVideoFourCC, "xvid"},
        {"pair", video([](VideoReport& v) { v.handler = "divx", v.compression = "DX50"; }), control::kVideoFourCC, "DX50/divx"},
        {"raw", video([](VideoReport& v) { v.handler = "", v.compression = "RGB "; }), control::kVideoFourCC, "RGB "},
        {"codec", [](AviReport&) {}, control::kVideoCodec, "Xvid MPEG-4"},
        {"no decoder", [](AviReport&) {}, control::kVideoStatus, "Codec NOT Installed"},
        {"decoder", video([](VideoReport& v) { v.decoderInstalled = true; }), control::kVideoStatus, "Codec IS Installed"},
        {"MP3", [](AviReport&) {}, control::kAudioEncoding, "MP3  "},
        {"tagged", audio([](AudioReport& a) { std::strcpy(a.scan.tag.text, "LAME3.100"); }), control::kAudioEncoding, "MP3  LAME3.100"},
        {"CBR", [](AviReport&) {}, control::kAudioBitrate, "128 kb/s CBR  "},
        {"VBR", audio([](AudioReport& a) { a.bytesPerSecond = 17437, a.scan.verdict = kVerdictVbr; }), control::kAudioBitrate, "139 kb/s VBR  "},
        {"rounds down", audio([](AudioReport& a) { a.bytesPerSecond = 62, a.scan.verdict = kVerdictNone; }), control::kAudioBitrate, "0 kb/s"},
        {"rounds up", audio([](AudioReport& a) { a.bytesPerSecond = 63, a.scan.verdict = kVerdictNone; }), control::kAudioBitrate, "1 kb/s"},
        {"PCM", audio([](AudioReport& a) { a.formatTag = 1, a.bytesPerSecond = 176400, a.scan.verdict = kVerdictNone; }), control::kAudioBitrate, "1411 kb/s"},
        {"unknown tag", audio([](AudioReport& a) { a.formatTag = 0xA106; }), control::kAudioEncoding, "Unknown type 0xa106  "},
        {"no audio", [](AviReport& r) { r.audio.reset(); }, control::kAudioEncoding, "No Audio Channels"},
        {"no audio bitrate", [](AviReport& r) { r.audio.reset(); }, control::kAudioBitrate, "n.a."},
    };
    for (const Row& row : rows) {
        AviReport report = Whole();
        row.change(report);
        RecordedFields fields;
        ShowReport(report, "movie.avi", fields);
        EXPECT_EQ(fields.Text(row.field), row.text) << row.name;
        EXPECT_EQ(fields.Text(control::kFileName), "movie.avi");
    }
}

TEST(ReportTexts, SizesCutDecimalsAndGroupThousands) {
    const std::pair<std::int64_t, const char*> rows[] = {
        {0, "0 bytes"},
        {1023, "1,023 bytes"},
        {1024, "1.00 KB   (1,024 bytes)"},
        {10239, "9.99 KB   (10,239 bytes)"},
        {10240, "10.0 KB   (10,240 bytes)"},
        {102399, "99.9 KB   (102,399 bytes)"},
        {102400, "100 KB   (102,400 bytes)"},
        {1048575, "1,023 KB   (1,048,575 bytes)"},
        {1048576, "1.00 MB   (1,024 KB    1,048,576 bytes)"},
        {5000000, "4.76 MB   (4,882 KB    5,000,000 bytes)"},
        {5368709120, "5,120 MB   (5,242,880 KB    5,368,709,120 bytes)"},
    };
    for (const auto& [bytes, text] : rows) EXPECT_EQ(FormatSizeText(bytes, SizeStyle::Long), text) << bytes;
    EXPECT_EQ(FormatSizeText(1048575, SizeStyle::Short), "1,023 KB");
    EXPECT_EQ(GroupThousands(-1), "");
}

}  // namespace
}  // namespace quibo::test
