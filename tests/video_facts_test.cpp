// The Video group of crafted files: duration, frame rate, frame size,
// bitrate, the FourCC pair and its lookup, and the installed check.
#include <gtest/gtest.h>

#include <optional>

#include "app/main_dialog.h"
#include "fake_file_access.h"
#include "platform/recorded_fields.h"
#include "res/control_ids.h"
#include "riff_builder.h"
#include "scripted_file_dialogs.h"
#include "scripted_message_boxes.h"

namespace quibo::test {
namespace {

using N = RiffNode;

// What a crafted file declares. The movie list is declared, not written:
// the file claims to be as long as its headers say.
struct Movie {
    std::uint32_t microSecPerFrame = 40000;
    std::uint32_t frames = 250;  // the video stream's length
    std::uint32_t scale = 0, rate = 0;  // the video stream's own; unset when 0
    std::optional<std::uint32_t> firstRiffFrames{};  // main header; `frames` when unset
    std::uint32_t width = 640;
    std::uint32_t height = 480;
    std::string handler = "XVID";
    std::optional<std::string> compression = "XVID";  // no video format chunk when unset
    int videoStreams = 1;
    int audioStreams = 0;
    std::uint32_t audioBytesPerSec = 16000;
    std::optional<std::uint32_t> moviSize = 4;  // no movie list when unset
    std::optional<std::uint32_t> odmlTotalFrames{};
};

RiffNode Stream(const std::string& type, const std::string& handler, std::uint32_t length,
                std::optional<Bytes> format, std::uint32_t scale = 0, std::uint32_t rate = 0) {
    Bytes header = type + handler;
    header.resize(56, '\0');
    header.replace(20, 4, Le32(scale) + Le32(rate));
    header.replace(32, 4, Le32(length));
    std::vector<N> chunks{N::Leaf("strh", header)};
    if (format) chunks.push_back(N::Leaf("strf", *format));
    return N::List("strl", std::move(chunks));
}

// The file's bytes and the size it claims on disk.
std::pair<Bytes, std::int64_t> Craft(const Movie& movie) {
    Bytes avih(56, '\0');
    avih.replace(0, 4, Le32(movie.microSecPerFrame));
    avih.replace(16, 4, Le32(movie.firstRiffFrames.value_or(movie.frames)));
    avih.replace(32, 8, Le32(movie.width) + Le32(movie.height));
    std::optional<Bytes> bitmap;
    if (movie.compression) bitmap = Bytes(16, '\0') + *movie.compression + Bytes(20, '\0');
    Bytes wave = Bytes("\x55\x00\x02\x00", 4) + Le32(44100) + Le32(movie.audioBytesPerSec) + Bytes(4, '\0');

    std::vector<N> header{N::Leaf("avih", avih)};
    for (int i = 0; i < movie.videoStreams; ++i) header.push_back(Stream("vids", movie.handler, movie.frames, bitmap, movie.scale, movie.rate));
    for (int i = 0; i < movie.audioStreams; ++i) header.push_back(Stream("auds", "", 0, wave));
    if (movie.odmlTotalFrames) header.push_back(N::List("odml", {N::Leaf("dmlh", Le32(*movie.odmlTotalFrames))}));
    std::vector<N> top{N::List("hdrl", header)};
    if (movie.moviSize) top.push_back(N::List("movi").DeclaredSize(*movie.moviSize));

    Bytes bytes = N::Riff("AVI ", top).ToBytes();
    // The movie list stands last; only its form type was written.
    std::uint32_t riffSize = static_cast<std::uint32_t>(bytes.size() - 8 - (movie.moviSize ? 4 : 0)) +
                             movie.moviSize.value_or(0);
    bytes.replace(4, 4, Le32(riffSize));
    return {bytes, std::int64_t{riffSize} + 8};
}

class VideoFactsTest : public testing::Test {
protected:
    VideoFactsTest() {
        files.Add("Quibo.dat", "XVID\tXvid\tXvid team\r\nDX50\tDivX 5\tDivX\r\nDIVX\tDivX 4\tDivX\r\n"
                               "DIV3\tLow motion\tMS\r\nDIV4\tFast motion\tMS\r\n");
        dialog.Start();
    }

    // Opens the crafted file; `trailing` follows its RIFF chunk, whose
    // movie list is then written out in zeros.
    void Show(const Movie& movie, const Bytes& trailing = {}) {
        auto [bytes, size] = Craft(movie);
        if (!trailing.empty()) bytes.resize(static_cast<std::size_t>(size), '\0');
        files.Add("/data/movie.avi", bytes + trailing).reportedSize = size + static_cast<std::int64_t>(trailing.size());
        dialog.SetPendingFileName("/data/movie.avi");
        dialog.OnFileOpen();
        ASSERT_TRUE(dialog.FileAnalysed()) << fields.Text(control::kFileStatus);
    }
    const std::string& Text(int controlId) const { return fields.Text(controlId); }

    FakeFileAccess files;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    RecordedFields fields;
    MainDialog dialog{{files, messages, dialogs, fields}, {"Quibo.dat"}};
};

TEST_F(VideoFactsTest, DurationRoundsToTheSecondAndShowsTotalHours) {
    struct Case {
        std::uint32_t frames, microSecPerFrame;
        const char* text;
    };
    for (Case c : {Case{135000, 40000, "01h 30m 00s"}, Case{90001, 40000, "01h 00m 00s"},
                   Case{7201, 500000, "01h 00m 01s"}, Case{2250000, 40000, "25h 00m 00s"}}) {
        SCOPED_TRACE(c.text);
        Show({.microSecPerFrame = c.microSecPerFrame, .frames = c.frames});
        EXPECT_EQ(Text(control::kVideoDuration), c.text);
    }
}

TEST_F(VideoFactsTest, FrameRateFromTheStreamElseTheFramePeriod) {
    Show({.microSecPerFrame = 40000});
    EXPECT_EQ(Text(control::kVideoFrameRate), "25.000 FPS");
    Show({.microSecPerFrame = 33367});
    EXPECT_EQ(Text(control::kVideoFrameRate), "29.970 FPS");
    // The period is rounded; the stream's own rate and scale are exact.
    Show({.microSecPerFrame = 33366, .frames = 107892, .scale = 1001, .rate = 30000});
    EXPECT_EQ(Text(control::kVideoFrameRate), "29.970 FPS");
    EXPECT_EQ(Text(control::kVideoDuration), "01h 00m 00s");
    Show({.microSecPerFrame = 5337, .scale = 2000, .rate = 374700});
    EXPECT_EQ(Text(control::kVideoFrameRate), "187.350 FPS");
    // No period: no rate, no length, no bitrate; the rest still shows.
    Show({.microSecPerFrame = 0, .moviSize = 1000000});
    EXPECT_EQ(Text(control::kVideoFrameRate), "n.a.");
    EXPECT_EQ(Text(control::kVideoDuration), "00h 00m 00s");
    EXPECT_EQ(Text(control::kVideoBitrate), "n.a.");
    EXPECT_EQ(Text(control::kVideoFourCC), "XVID");
}

TEST_F(VideoFactsTest, FrameSizeWithTheRatioOfTheLongerSide) {
    struct Case {
        std::uint32_t width, height;
        const char* text;
    };
    for (Case c : {Case{640, 480, "640 x 480  (1.333 : 1)"}, Case{480, 640, "480 x 640  (1 : 1.333)"},
                   Case{500, 500, "500 x 500  (1.000 : 1)"}, Case{640, 0, "640 x 0"}, Case{0, 480, "0 x 480"}}) {
        SCOPED_TRACE(c.text);
        Show({.width = c.width, .height = c.height});
        EXPECT_EQ(Text(control::kVideoAspect), c.text);
    }
}

TEST_F(VideoFactsTest, BitrateLeavesOutTheAudioEstimate) {
    // 10,000,000 bytes in 100 seconds.
    Movie movie{.frames = 2500, .audioStreams = 1, .audioBytesPerSec = 16000, .moviSize = 10000000};
    Show(movie);
    EXPECT_EQ(Text(control::kVideoBitrate), "672 kb/s");
    movie.audioStreams = 0;
    Show(movie);
    EXPECT_EQ(Text(control::kVideoBitrate), "800 kb/s");
    // More audio than movie data.
    Show({.frames = 2500, .audioStreams = 1, .audioBytesPerSec = 200000, .moviSize = 10000000});
    EXPECT_EQ(Text(control::kVideoBitrate), "n.a.");
    Show({.frames = 0, .moviSize = 10000000});
    EXPECT_EQ(Text(control::kVideoBitrate), "n.a.");
}

TEST_F(VideoFactsTest, BitrateOfOneVideoStreamLeavesOutEveryAudioStream) {
    // 1,000,000 bytes in 10 seconds, 16,000 bytes a second of each audio.
    for (auto [movie, bitrate] : {std::pair{Movie{.videoStreams = 2, .moviSize = 1000000}, "n.a."},
                                  std::pair{Movie{.audioStreams = 2, .moviSize = 1000000}, "544 kb/s"}}) {
        Show(movie);
        EXPECT_EQ(Text(control::kVideoBitrate), bitrate);
        EXPECT_EQ(Text(control::kVideoDuration), "00h 00m 10s");
        EXPECT_EQ(Text(control::kVideoCodec), "Xvid");
    }
}

TEST_F(VideoFactsTest, FourCCPairAndTheCodeLookedUp) {
    struct Case {
        const char *handler, *compression, *fourCC, *codec;
    };
    for (Case c : {Case{"DIVX", "divx", "DIVX", "DivX 4"}, Case{"divx", "DX50", "DX50/divx", "DivX 5"},
                   Case{"XVID", "XVID", "XVID", "Xvid"}, Case{"div4", "DIV3", "DIV3/div4", "Fast motion"},
                   Case{"div3", "DIV3", "div3", "Low motion"}, Case{"MJPG", "MJPG", "MJPG", "<unknown>"}}) {
        SCOPED_TRACE(c.fourCC);
        Show({.handler = c.handler, .compression = c.compression});
        EXPECT_EQ(Text(control::kVideoFourCC), c.fourCC);
        EXPECT_EQ(Text(control::kVideoCodec), c.codec);
    }
    EXPECT_EQ(Text(control::kVideoVendor), "<unknown>");
}

TEST_F(VideoFactsTest, InstalledWhenEitherCodeIsListed) {
    Show({.handler = "divx", .compression = "DX50"});
    EXPECT_EQ(Text(control::kVideoStatus), "Codec NOT Installed");
    EXPECT_TRUE(fields.Field(control::kVideoStatus).checked);
    EXPECT_TRUE(fields.Field(control::kVideoStatus).enabled);

    // Listed under the handler code only, in another letter case.
    dialog.InstalledFourCCs().Add("DIVX");
    Show({.handler = "divx", .compression = "DX50"});
    EXPECT_EQ(Text(control::kVideoStatus), "Codec IS Installed");

    // Whole codes only, and the list ends at its first empty entry.
    dialog.InstalledFourCCs().Clear();
    for (const char* code : {"DIV", "", "DX50"}) dialog.InstalledFourCCs().Add(code);
    Show({.handler = "divx", .compression = "DX50"});
    EXPECT_EQ(Text(control::kVideoStatus), "Codec NOT Installed");

    // A div4 handler replaces DIV3 in the check too.
    dialog.InstalledFourCCs().Clear();
    dialog.InstalledFourCCs().Add("DIV3");
    Show({.handler = "div4", .compression = "DIV3"});
    EXPECT_EQ(Text(control::kVideoStatus), "Codec NOT Installed");
    Show({.handler = "div3", .compression = "DIV3"});
    EXPECT_EQ(Text(control::kVideoStatus), "Codec IS Installed");
}

TEST_F(VideoFactsTest, NothingOfTheLastFileShowsThroughMissingChunks) {
    Show({.moviSize = 1000000});
    EXPECT_EQ(Text(control::kVideoBitrate), "800 kb/s");
    Show({.compression = std::nullopt, .moviSize = std::nullopt});
    EXPECT_EQ(Text(control::kVideoFourCC), "RGB /XVID");
    EXPECT_EQ(Text(control::kVideoCodec), "<unknown>");
    EXPECT_EQ(Text(control::kVideoBitrate), "0 kb/s");
}

TEST_F(VideoFactsTest, OpenDmlContinuationCountsAsMovieData) {
    // 500 frames of 40 ms; the first RIFF chunk's movie list holds 100,000
    // bytes and 100,000 more follow it.
    const Bytes avix = "RIFF" + Le32(99992) + "AVIX" + Bytes(99988, '\0');
    struct Case {
        std::uint32_t firstRiffFrames, odmlTotalFrames;
        Bytes trailing;
        const char* bitrate;
    } cases[] = {
        {250, 500, avix, "80 kb/s"},
        // mencoder gives both headers the same count.
        {500, 500, avix, "80 kb/s"},
        // Trailing bytes that are no AVIX chunk are no movie data.
        {250, 500, Bytes(100000, '\0'), "40 kb/s"},
    };
    for (const Case& c : cases) {
        Show({.frames = 500, .firstRiffFrames = c.firstRiffFrames, .moviSize = 100000,
              .odmlTotalFrames = c.odmlTotalFrames},
             c.trailing);
        EXPECT_EQ(Text(control::kVideoBitrate), c.bitrate);
    }
}

}  // namespace
}  // namespace quibo::test
