// SPDX-License-Identifier: GPL-3.0-or-later
// The first video stream of crafted files, as the window analyses them:
// timing, bitrate, the FourCC pair and its lookup, and the installed check.
#include "analysis/video_bitstream.h"
#include "test_window.h"

namespace quibo::test {
namespace {

// What a crafted file declares; its movie list holds zeros.
struct Movie {
    std::uint32_t microSecPerFrame = 40000;
    std::uint32_t frames = 250;  // the video stream's length
    std::uint32_t scale = 0, rate = 0;  // the video stream's own; unset when 0
    std::optional<std::uint32_t> firstRiffFrames{};  // main header; `frames` when unset
    std::string handler = "XVID";
    std::optional<std::string> compression = "XVID";  // no video format chunk when unset
    int videoStreams = 1, audioStreams = 0;
    std::uint32_t audioBytesPerSec = 16000;
    std::optional<std::uint32_t> moviSize = 4;  // no movie list when unset
    std::optional<Bytes> frame{};  // the movie list's one video chunk, in place of its zeros
    std::optional<std::uint32_t> odmlTotalFrames{};
};

Bytes Craft(const Movie& movie) {
    Bytes avih(56, '\0');
    avih.replace(0, 4, Le32(movie.microSecPerFrame));
    avih.replace(16, 4, Le32(movie.firstRiffFrames.value_or(movie.frames)));
    avih.replace(32, 8, Le32(640) + Le32(480));
    std::optional<Bytes> bitmap;
    if (movie.compression) bitmap = Bytes(16, '\0') + *movie.compression + Bytes(20, '\0');
    Bytes wave = Bytes("\x55\x00\x02\x00", 4) + Le32(44100) + Le32(movie.audioBytesPerSec) + Bytes(4, '\0');

    std::vector<N> header{N::Leaf("avih", avih)};
    for (int i = 0; i < movie.videoStreams; ++i)
        header.push_back(StreamList("vids", movie.handler, bitmap, movie.frames, movie.scale, movie.rate));
    for (int i = 0; i < movie.audioStreams; ++i) header.push_back(StreamList("auds", "", wave));
    if (movie.odmlTotalFrames) header.push_back(N::List("odml", {N::Leaf("dmlh", Le32(*movie.odmlTotalFrames))}));
    std::vector<N> top{N::List("hdrl", header)};
    if (movie.frame) top.push_back(N::List("movi", {N::Leaf("00dc", *movie.frame)}));
    else if (movie.moviSize) top.push_back(N::Leaf("LIST", "movi" + Bytes(*movie.moviSize - 4, '\0')));
    return N::Riff("AVI ", top).ToBytes();
}

// The window over crafted files, with a codec database of its own.
class VideoFactsTest : public testing::Test, public TestWindow<MemoryFiles> {
protected:
    VideoFactsTest() : TestWindow({"Quibo.dat"}) {
        files.Add("Quibo.dat", "XVID\tXvid\tXvid team\r\nDX50\tDivX 5\tDivX\r\nDIVX\tDivX 4\tDivX\r\n"
                               "DIV3\tLow motion\tMS\r\nDIV4\tFast motion\tMS\r\n");
        dialog.Start();
        EXPECT_TRUE(messages.shown.empty());
    }

    // The Video group of the crafted file; `trailing` follows its RIFF chunk.
    const VideoReport& Video(const Movie& movie, const Bytes& trailing = {}) {
        Load(Craft(movie) + trailing);
        EXPECT_TRUE(dialog.Report().walked && dialog.Report().video);
        static const VideoReport kNone;
        return dialog.Report().video ? *dialog.Report().video : kNone;
    }
};

// The stream's own rate and scale are exact; the main header's frame period
// is rounded to whole microseconds and counts only without them.
TEST_F(VideoFactsTest, TimingFromTheStreamElseTheFramePeriod) {
    struct Case { Movie movie; std::uint32_t rate, scale; double framesPerSecond, seconds; };
    for (const Case& c : {Case{{.microSecPerFrame = 40000, .frames = 135000}, 1000000, 40000, 25, 5400},
                          Case{{.microSecPerFrame = 33367, .frames = 30}, 1000000, 33367, 1e6 / 33367, 30 * 0.033367},
                          Case{{.microSecPerFrame = 33366, .frames = 107892, .scale = 1001, .rate = 30000}, 30000,
                               1001, 30000.0 / 1001, 3599.9964},
                          Case{{.microSecPerFrame = 5337, .scale = 2000, .rate = 374700}, 374700, 2000, 187.35,
                               250 / 187.35},
                          Case{{.microSecPerFrame = 0, .moviSize = 1000000}, 0, 0, 0, 0}}) {
        const VideoReport& video = Video(c.movie);
        EXPECT_EQ(std::pair(video.rate, video.scale), std::pair(c.rate, c.scale));
        EXPECT_DOUBLE_EQ(video.framesPerSecond, c.framesPerSecond);
        EXPECT_NEAR(video.seconds, c.seconds, 1e-9) << c.rate;
    }
}

// Bytes per second of video: the movie data over the duration, less every audio stream's rate; nothing with two video
// streams, no duration, or more audio than movie data. An OpenDML continuation counts as movie data. Without a movie
// list nothing of the last file's shows through.
TEST_F(VideoFactsTest, BitrateLeavesOutEveryAudioStream) {
    const Bytes avix = "RIFF" + Le32(99992) + "AVIX" + Bytes(99988, '\0');
    const struct { const char* name; Movie movie; Bytes trailing; std::optional<double> bytesPerSecond; } cases[] = {
        {"one audio", {.frames = 2500, .audioStreams = 1, .moviSize = 10000000}, {}, 84000},
        {"no audio", {.frames = 2500, .moviSize = 10000000}, {}, 100000},
        {"two audio", {.audioStreams = 2, .moviSize = 1000000}, {}, 68000},
        {"no movie list", {.moviSize = std::nullopt}, {}, 0},
        {"audio beyond", {.frames = 2500, .audioStreams = 1, .audioBytesPerSec = 200000, .moviSize = 10000000}, {}, {}},
        {"no frames", {.frames = 0, .moviSize = 10000000}, {}, {}},
        {"two video", {.videoStreams = 2, .moviSize = 1000000}, {}, {}},
        {"AVIX", {.frames = 500, .firstRiffFrames = 250, .moviSize = 100000, .odmlTotalFrames = 500}, avix, 10000},
        // mencoder gives both headers the same count.
        {"AVIX, equal counts", {.frames = 500, .moviSize = 100000, .odmlTotalFrames = 500}, avix, 10000},
        {"no AVIX", {.frames = 500, .firstRiffFrames = 250, .moviSize = 100000, .odmlTotalFrames = 500},
         Bytes(100000, '\0'), 5000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Video(c.movie, c.trailing).bytesPerSecond, c.bytesPerSecond) << c.name;
        EXPECT_EQ(dialog.Report().opendml, c.movie.odmlTotalFrames.has_value()) << c.name;
    }
}

// DivX 3 tagged div4 in the handler is looked up by the handler; a decoder listed under either code, whole and in any
// case, is installed. The installed list ends at its first empty entry. Without a video format the compression is RGB,
// whatever the last file's was.
TEST_F(VideoFactsTest, FourCCPairLookupAndInstalledCheck) {
    struct Case { const char* handler; std::optional<std::string> compression; const char* codec;
                  std::vector<const char*> installed; bool decoder; };
    const Case cases[] = {
        {"DIVX", "divx", "DivX 4", {""}, false}, {"divx", "DX50", "DivX 5", {"DIVX"}, true},
        {"divx", "DX50", "DivX 5", {"DIV"}, false}, {"divx", "DX50", "DivX 5", {"", "DX50"}, false},
        {"div4", "DIV3", "Fast motion", {"DIV3"}, false}, {"div3", "DIV3", "Low motion", {"DIV3"}, true},
        {"XVID", std::nullopt, "<unknown>", {"XVID"}, true}, {"MJPG", "MJPG", "<unknown>", {""}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.handler << "/" << c.compression.value_or("") << "/" << c.installed.size());
        dialog.InstalledFourCCs().Clear();
        for (const char* code : c.installed) dialog.InstalledFourCCs().Add(code);
        const VideoReport& video = Video({.handler = c.handler, .compression = c.compression});
        EXPECT_EQ(video.compression, c.compression.value_or("RGB "));
        EXPECT_STREQ(video.codec, c.codec);
        EXPECT_EQ(video.codecKnown, std::string(c.codec) != "<unknown>");
        EXPECT_EQ(video.decoderInstalled, c.decoder);
    }
}

// An H.264 sequence header of High profile, level 3.0, whose scaling list steps by 2^31 - 1 (31 zeros, a one and 31
// bits in Exp-Golomb): read to its end without overflow.
TEST_F(VideoFactsTest, H264HeaderWithAnImpossibleScalingStep) {
    const std::string bits = "1" "010" "1" "1" "0" "1" "1" + std::string(31, '0') + "1" + std::string(30, '1') + "0";
    Bytes sps("\0\0\1\x67\x64\0\x1e", 7);
    for (std::size_t at = 0; at < bits.size(); at += 8)
        sps += static_cast<char>(std::stoi((bits.substr(at, 8) + "0000000").substr(0, 8), nullptr, 2));
    EXPECT_EQ(VideoProfileName(Video({.handler = "H264", .compression = "H264", .frame = sps}).bitstream), "High@L3");
}

}  // namespace
}  // namespace quibo::test
