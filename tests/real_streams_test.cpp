// SPDX-License-Identifier: GPL-3.0-or-later
// The Video and Audio groups of AVI files written at test time by ffmpeg and mencoder, checked against what ffprobe and
// MediaInfo read from the same files.
#include <cmath>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <numeric>
#include <sstream>

#include "analysis/video_bitstream.h"
#include "app/advice.h"
#include "platform/libav_decoder_source.h"
#include "test_window.h"

namespace quibo::test {
namespace {

// ffprobe's view of a file's streams.
nlohmann::json Probe(const std::string& path) {
    const auto probe = nlohmann::json::parse(
        Captured("ffprobe -v error -show_entries stream=codec_type,codec_tag_string,width,height,r_frame_rate,"
                 "duration,bit_rate,channels,sample_rate -of json " + Quoted(path)), nullptr, false);
    EXPECT_TRUE(probe.is_object() && probe.contains("streams")) << "ffprobe read nothing from " << path;
    return probe.is_object() ? probe.value("streams", nlohmann::json::array()) : nlohmann::json::array();
}

// The first of `streams` of `type` ("video", "audio"); empty when none is.
nlohmann::json First(const nlohmann::json& streams, const char* type) {
    for (const auto& stream : streams)
        if (stream.value("codec_type", "") == type) return stream;
    return nlohmann::json::object();
}

// What MediaInfo prints for `inform` ("Video;%ScanType%").
std::string MediaInfo(const std::string& path, const std::string& inform) {
    return Captured("mediainfo --Inform='" + inform + "' " + Quoted(path));
}

void ExpectBitrateNearMediaInfo(const std::string& shown, const std::string& path, const char* kind, double share) {
    const double theirs = std::atof(MediaInfo(path, std::string(kind) + ";%BitRate%|").c_str()) / 1000;
    EXPECT_NEAR(std::atof(shown.c_str()), theirs, theirs * share) << kind << ": " << shown;
}

// The main window over a real file, with the shipped codec database and FFmpeg's decoders.
struct Window : TestWindow<PosixFileAccess> {
    explicit Window(const std::string& path) : TestWindow({QUIBO_CODEC_FILE}, &decoders) {
        dialog.Start();
        OpenByName(path);
    }
    LibavDecoderSource decoders;
};

// The size and exact rate of a stream, or of the Video group, against ffprobe's.
template <class Video>
void ExpectSizeAndRate(const Video& ours, const nlohmann::json& theirs) {
    unsigned long numerator = 0, denominator = 0;
    EXPECT_EQ(std::sscanf(theirs.value("r_frame_rate", "").c_str(), "%lu/%lu", &numerator, &denominator), 2);
    EXPECT_EQ(std::tuple(ours.width, ours.height, ours.rate * denominator),
              std::tuple(theirs.value("width", 0u), theirs.value("height", 0u), ours.scale * numerator));
}

// The typed report against ffprobe: each stream's type, an audio stream's channels and rate, a video stream's
// FourCC, size and rate. The Video group against the first video stream, its codec named from the database and
// installed.
void ExpectAsProbed(const Window& window, const nlohmann::json& streams, const std::string& fourCC) {
    ASSERT_TRUE(window.dialog.FileAnalysed()) << window.Status();
    EXPECT_TRUE(window.messages.shown.empty());
    const AviReport& report = window.dialog.Report();
    ASSERT_EQ(report.streams.size(), streams.size());
    for (std::size_t i = 0; i < streams.size(); ++i) {
        SCOPED_TRACE(i);
        const StreamReport& stream = report.streams[i];
        const nlohmann::json& theirs = streams[i];
        EXPECT_EQ(StreamTypeName(stream.type), theirs.value("codec_type", ""));
        if (stream.type == StreamType::Audio) {
            EXPECT_EQ(stream.channels, theirs.value("channels", 0u));
            EXPECT_EQ(std::to_string(stream.sampleRate), theirs.value("sample_rate", ""));
        }
        if (stream.type != StreamType::Video) continue;
        if (stream.compression.size() == 4 && stream.compression != "RGB ") {
            EXPECT_EQ(stream.compression, theirs.value("codec_tag_string", ""));
        }
        ExpectSizeAndRate(stream, theirs);
    }
    const nlohmann::json video = First(streams, "video");
    ASSERT_TRUE(report.video);
    ExpectSizeAndRate(*report.video, video);
    EXPECT_NEAR(report.video->seconds, std::atof(video.value("duration", "0").c_str()), 0.5);
    EXPECT_EQ(window.Text(control::kVideoFourCC), fourCC);
    EXPECT_TRUE(report.video->codecKnown) << fourCC;
    EXPECT_EQ(window.Text(control::kVideoStatus), "Codec IS Installed");
}

// Files made by ffmpeg's encoders, and by mencoder with its own MP3 and with MP3 files copied in, against ffprobe and
// MediaInfo. Over 1 GiB of raw 1080p: both writers go on in AVIX chunks, and mencoder gives both its headers the same
// frame count; the bitrate counts every RIFF chunk.
TEST(RealStreams, FfmpegAndMencoderFilesShowWhatFfprobeReads) {
    for (const char* tool : {"ffmpeg", "ffprobe", "mencoder", "lame", "mediainfo"})
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    TempDir dir;
    const std::string source = dir / "source.avi", wave = dir / "tone.wav", xing = dir / "xing.mp3";
    const std::string lame = dir / "lame.mp3", second = dir / "second.y4m";
    // The commands, less the output file: a test picture of a size and rate
    // with a tone, or the source with `audio` options.
    const auto ffmpeg = [](const char* picture, const char* options) {
        return std::string("ffmpeg -y -f lavfi -i testsrc=size=") + picture + ":duration=2 -f lavfi -i "
               "sine=frequency=440:duration=2 -ac 2 " + options + " -metadata title='Clip Title'";
    };
    const auto mencoder = [&](const std::string& audio) {
        return "mencoder '" + source + "' -ovc lavc -lavcopts vcodec=mpeg4 " + audio +
               " -info name='Clip Title':artist='Menc Artist' -o";
    };
    ASSERT_TRUE(RunQuietly(ffmpeg("320x240:rate=25", "-c:v mpeg4 -c:a pcm_s16le") + " '" + source + "'"));
    ASSERT_TRUE(RunQuietly("ffmpeg -y -f lavfi -i sine=frequency=440:duration=3 -ac 2 '" + wave + "'"));
    // ffmpeg writes a Xing frame first in an MP3 file and names the encoder at its offset 156 from the stream's encoder
    // tag; LAME 3.100 follows its version with binary bytes there.
    ASSERT_TRUE(RunQuietly("ffmpeg -y -i '" + wave + "' -c:a libmp3lame -q:a 4 -id3v2_version 0 "
                           "-metadata:s:a 'encoder=LAME3.92 ' '" + xing + "'"));
    ASSERT_TRUE(RunQuietly("lame -V 4 '" + wave + "' '" + lame + "'"));
    const std::string hd =
        "ffmpeg -y -f lavfi -i color=size=1920x1080:rate=25 -pix_fmt yuv420p -metadata title='Clip Title'";
    ASSERT_TRUE(RunQuietly(hd + " -t 1 '" + second + "'"));
    std::string sixteenSeconds;
    for (int i = 0; i < 16; ++i) sixteenSeconds += " '" + second + "'";
    // The audio bitrate text ends in the CBR or VBR mark, or "kb/s" without
    // one; byteRate: whether the header holds the byte rate ffprobe reports.
    struct Case { const char* name; std::string make; const char *fourCC, *encoding, *bitrate; bool byteRate; };
    const Case cases[] = {
        {"xvid", ffmpeg("320x240:rate=25", "-c:v mpeg4 -vtag XVID -c:a libmp3lame -b:a 128k"), "XVID", "MP3  ",
         "128 kb/s CBR  ", true},
        // VBR MP3 declares no byte rate; NTSC's frame period is rounded.
        {"dx50", ffmpeg("352x288:rate=30000/1001", "-c:v mpeg4 -vtag DX50 -c:a libmp3lame -q:a 4"), "DX50", "MP3  ",
         " VBR  ", false},
        {"divx", ffmpeg("320x240:rate=25", "-c:v mpeg4 -vtag DIVX -c:a mp2 -b:a 192k"), "DIVX", "MP1/MP2  ",
         "192 kb/s CBR  ", true},
        {"div3", ffmpeg("176x144:rate=15", "-c:v msmpeg4 -vtag DIV3 -c:a ac3"), "DIV3", "AC3  ", "kb/s", true},
        {"mjpg", ffmpeg("240x320:rate=25", "-c:v mjpeg -c:a pcm_s16le"), "MJPG", "PCM  ", "kb/s", true},
        {"hfyu", ffmpeg("160x120:rate=25", "-c:v huffyuv -c:a adpcm_ima_wav"), "HFYU", "IMA ADPCM  ", "kb/s", true},
        {"ffv1", ffmpeg("320x180:rate=24", "-c:v ffv1 -an"), "FFV1", "No Audio Channels", "n.a.", false},
        {"aac", ffmpeg("320x240:rate=25", "-c:v mpeg4 -c:a aac"), "FMP4", "AAC  ", "kb/s", true},
        {"pcm 5.1", ffmpeg("320x240:rate=25", "-c:v mpeg4 -c:a pcm_s24le -ac 6"), "FMP4", "PCM  ", "kb/s", true},
        {"raw", ffmpeg("160x120:rate=25", "-c:v rawvideo -pix_fmt bgr24 -an"), "RGB ", "No Audio Channels", "n.a.",
         false},
        // Two audio streams: the first is described, both leave the video.
        {"two audio",
         ffmpeg("320x240:rate=25", "-c:v mpeg4 -filter_complex '[1:a]asplit[a][b]' -map 0:v -map '[a]' -map '[b]' "
                                   "-c:a:0 libmp3lame -b:a:0 128k -c:a:1 ac3"),
         "FMP4", "MP3  ", "128 kb/s CBR  ", true},
        {"mencoder lame", mencoder("-oac mp3lame -lameopts cbr:br=128"), "FMP4", "MP3  ", " CBR  ", true},
        {"mencoder xing", mencoder("-audiofile '" + xing + "' -oac copy"), "FMP4", "MP3  LAME3.92", " VBR  ", true},
        {"mencoder lame 3.100", mencoder("-audiofile '" + lame + "' -oac copy"), "FMP4", "MP3  LAME3.100", " VBR  ",
         true},
        {"opendml ffmpeg", hd + " -t 16 -c:v rawvideo", "I420", "No Audio Channels", "n.a.", false},
        {"opendml mencoder", "mencoder" + sixteenSeconds + " -ovc raw -nosound -info name='Clip Title':artist='Menc "
         "Artist' -o", "I420", "No Audio Channels", "n.a.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / (std::string(c.name) + ".avi");
        ASSERT_TRUE(RunQuietly(c.make + " '" + path + "'"));
        const bool opendml = std::string_view(c.name).starts_with("opendml");
        if (opendml) {  // the first RIFF chunk holds well under the whole file
            std::uint8_t header[8] = {};
            std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(header), sizeof header);
            ASSERT_GT(static_cast<double>(std::filesystem::file_size(path)), (ReadLe32(header + 4) + 8.0) * 1.1);
        }
        Window window(path);
        EXPECT_TRUE(window.dialog.Report().opendml || !opendml);
        const nlohmann::json streams = Probe(path), audio = First(streams, "audio");
        ExpectAsProbed(window, streams, c.fourCC);
        EXPECT_THAT(window.Rows(), testing::Contains("INAM=Clip Title"));
        if (c.make.starts_with("mencoder")) {
            // MEncoder's INFO fields in file order, then its JUNK texts: five rows at most.
            const auto junk = testing::StartsWith("JUNK=");
            EXPECT_THAT(window.Rows(), testing::ElementsAre(testing::StartsWith("ISFT=MEncoder"), "INAM=Clip Title",
                                                            "IART=Menc Artist", junk, junk, junk, junk, junk));
        }
        if (const auto& scanned = window.dialog.Report().audio) {
            // MediaInfo adds the LAME tag's binary bytes after a VBR stream's name.
            const std::string library = MediaInfo(path, "Audio;%Encoded_Library%|");
            const std::size_t end = library.find_first_not_of(
                "0123456789.ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
            EXPECT_EQ(scanned->scan.frameTag.text, library.substr(0, end));
        }
        EXPECT_EQ(window.Text(control::kAudioEncoding), c.encoding);
        const std::string& bitrate = window.Text(control::kAudioBitrate);
        EXPECT_TRUE(bitrate.ends_with(c.bitrate)) << bitrate;
        // The declared byte rate against ffprobe's, in whole kilobits. Without one, the first 100,000 bytes, against
        // MediaInfo's reading of all of them. The video bitrate counts chunk headers and the index, which MediaInfo
        // leaves out: up to 7 % for Huffyuv's few large frames, 0.1 % for raw 1080p. A copied MP3 runs a second past
        // the video, and only the video's time of audio is taken out of the movie data.
        if (c.byteRate)
            EXPECT_EQ(std::atol(bitrate.c_str()), std::lround(std::atof(audio.value("bit_rate", "0").c_str()) / 1000));
        else if (!audio.empty())
            ExpectBitrateNearMediaInfo(bitrate, path, "Audio", 0.05);
        if (c.make.find("-audiofile") == std::string::npos)
            ExpectBitrateNearMediaInfo(window.Text(control::kVideoBitrate), path, "Video", opendml ? 0.001 : 0.07);
        std::filesystem::remove(path);
    }
}

// 16:9 PAL MPEG-4 with a named 5.1 AC-3 track and 24-bit PCM, languages set with quibo-info; the General fields against
// the file system. A copy cut by 5,000 bytes shows the verdict and still what its headers say; one with its legacy
// index cut off has none.
TEST(RealStreams, StreamHeadersAsMediaInfoReadsThem) {
    for (const char* tool : {"ffmpeg", "mediainfo"}) if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    TempDir dir;
    const std::string path = dir / "film.avi";
    ASSERT_TRUE(RunQuietly("ffmpeg -y -f lavfi -i testsrc=size=720x576:rate=25:duration=1 -f lavfi -i sine=duration=1"
                           " -map 0 -map 1 -map 1 -c:v mpeg4 -aspect 16:9 -c:a:0 ac3 -ac:a:0 6"
                           " -metadata:s:a:0 title=Main -c:a:1 pcm_s24le '" + path + "'"));
    ASSERT_EQ(RunQuiboInfo({"--set", "IAS1=English", "--set", "IAS2=French", path}).status, 0);
    Window window(path);
    const AviReport& report = window.dialog.Report();
    ASSERT_EQ(report.streams.size(), 3u);
    EXPECT_EQ(MediaInfo(path, "Video;%DisplayAspectRatio%|%ScanType%"), "1.778|Progressive");
    EXPECT_EQ(window.Text(control::kVideoAspect), "720 x 576  (1.778 : 1)");
    EXPECT_EQ(report.streams[0].fieldsPerFrame, 1u);
    EXPECT_EQ(MediaInfo(path, "Audio;%Channel(s)%|%BitDepth%|%Title%|%Language/String%/"),
              "6|16|Main|English/1|24||French/");
    EXPECT_EQ(report.audio->codedChannels, 6);
    EXPECT_EQ(report.streams[2].bitsPerSample, 24);
    EXPECT_EQ(report.streams[1].name, "Main");
    EXPECT_EQ(report.streams[1].language, "English");
    EXPECT_EQ(report.streams[2].language, "French");
    // One index entry for each chunk of the movie data: a packet to ffprobe.
    std::istringstream counts(
        Captured("ffprobe -v error -count_packets -show_entries stream=nb_read_packets -of csv=p=0 " + Quoted(path)));
    EXPECT_EQ(report.legacyIndexEntries, std::accumulate(std::istream_iterator<long>(counts), {}, 0L));

    EXPECT_EQ(window.Text(control::kFileDate), Captured("LC_ALL=C date -r " + Quoted(path) + " '+%d %b %Y, %H:%M:%S'"));
    EXPECT_EQ(window.Status(), "File Length Correct");
    const std::string whole = ReadAll(path);
    Window cut(dir.Write("cut.avi", whole.substr(0, whole.size() - 5000)));
    EXPECT_EQ(cut.Status(), "===> Truncated: 4.88 KB are missing.");
    EXPECT_EQ(cut.Text(control::kVideoFourCC), window.Text(control::kVideoFourCC));
    Window unindexed(dir.Write("unindexed.avi", whole.substr(0, whole.rfind("idx1"))));
    EXPECT_TRUE(unindexed.dialog.FileAnalysed());
    EXPECT_FALSE(unindexed.dialog.Report().legacyIndexEntries);
}

// The bitstream facts in MediaInfo's words: profile, encoder, B-VOPs in a
// row, quarter-pel, GMC warp points and the pixel aspect ratio.
std::string InMediaInfoWords(const VideoBitstream& bits) {
    char pixelAspect[32] = "";
    if (bits.pixelAspectX && bits.pixelAspectY)
        std::snprintf(pixelAspect, sizeof pixelAspect, "%.3f", double(bits.pixelAspectX) / bits.pixelAspectY);
    std::string words = VideoProfileName(bits).value_or("") + "|" + std::string(bits.encoder) + "|";
    if (bits.kind == VideoBitstream::Kind::Mpeg4Part2)
        words += (bits.mostConsecutiveB ? std::to_string(bits.mostConsecutiveB) : "No") + "|" +
                 (bits.quarterPel ? "Yes" : "No") + "|" + std::to_string(bits.warpPoints);
    else
        words += "||";
    return words + "|" + pixelAspect;
}

// MediaInfo reads nothing of a lower-case xvid FourCC: it is asked about the same file retagged XVID.
TEST(RealStreams, VideoBitstreamAsMediaInfoReadsIt) {
    for (const char* tool : {"ffmpeg", "mediainfo"}) if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    struct Case { const char *name, *encode; bool packed; };
    const Case cases[] = {
        {"lavc B-frames", "-c:v mpeg4 -bf 2 -vtag XVID", false},
        {"xvid qpel gmc", "-c:v libxvid -flags +qpel -gmc 1 -bf 2 -vtag xvid", true},
        {"x264 High", "-c:v libx264 -pix_fmt yuv420p -profile:v high -vf setsar=4/3", false},
        {"lavc 16:9", "-c:v mpeg4 -aspect 16:9", false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / "clip.avi";
        ASSERT_TRUE(RunQuietly(std::string("ffmpeg -y -f lavfi -i testsrc=size=320x240:rate=25:duration=2 ") +
                               c.encode + " '" + path + "'"));
        std::string bytes = ReadAll(path);
        for (std::size_t at = bytes.find("xvid"); at != std::string::npos; at = bytes.find("xvid", at))
            bytes.replace(at, 4, "XVID");
        Window window(path);
        const VideoBitstream& bits = window.dialog.Report().video->bitstream;
        EXPECT_EQ(InMediaInfoWords(bits),
                  MediaInfo(dir.Write("upper.avi", bytes), "Video;%Format_Profile%|%Encoded_Library%|"
                            "%Format_Settings_BVOP%|%Format_Settings_QPel%|%Format_Settings_GMC%|%PixelAspectRatio%"));
        EXPECT_EQ(bits.packed, c.packed);
        // The advice's own command unpacks the B-frames.
        const std::vector<std::string> advice = Advice(window.dialog.Report(), path);
        const auto unpack = std::find_if(advice.begin(), advice.end(),
                                         [](auto& line) { return line.find("unpack") != std::string::npos; });
        ASSERT_EQ(unpack != advice.end(), c.packed);
        if (!c.packed) continue;
        const std::size_t from = unpack->find('`') + 1;
        ASSERT_TRUE(RunQuietly(unpack->substr(from, unpack->find('`', from) - from)));
        EXPECT_FALSE(Window(dir / "clip-fixed.avi").dialog.Report().video->bitstream.packed);
    }
}

// quibo-info --set-fourcc on ffmpeg's and mencoder's files: only the named four or eight bytes change, the peers read
// the new tag, FFmpeg decodes the same frames; a tag FFmpeg decodes otherwise is refused without --force.
TEST(RealStreams, FourCCChangedInPlace) {
    for (const char* tool : {"ffmpeg", "ffprobe", "mencoder", "mediainfo"})
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    TempDir dir;
    const std::string source = dir / "source.y4m", path = dir / "clip.avi";
    ASSERT_TRUE(RunQuietly("ffmpeg -y -f lavfi -i testsrc=size=320x240:rate=25:duration=2 -pix_fmt yuv420p " +
                           Quoted(source)));
    const std::string writers[] = {"ffmpeg -y -i " + Quoted(source) + " -c:v mpeg4 -vtag XVID " + Quoted(path),
                                   "mencoder " + Quoted(source) + " -ovc lavc -lavcopts vcodec=mpeg4 -ffourcc XVID "
                                   "-nosound -o " + Quoted(path)};
    const std::string frames = "ffmpeg -v error -i " + Quoted(path) + " -f framecrc -";
    const struct {
        const char *argument, *tags;  // handler/compression after the change
        int status;
    } rows[] = {{"DIVX", "DIVX/DIVX", 0}, {"handler=xvid", "xvid/DIVX", 0}, {"compression=DX50", "xvid/DX50", 0},
                {"H264", "xvid/DX50", 1}, {"compression=WMV3", "xvid/DX50", 1}};
    for (const std::string& writer : writers) {
        SCOPED_TRACE(writer);
        ASSERT_TRUE(RunQuietly(writer));
        const std::string decoded = Captured(frames);
        for (const auto& row : rows) {
            SCOPED_TRACE(row.argument);
            const Bytes before = ReadAll(path);
            EXPECT_EQ(RunQuiboInfo({"--set-fourcc", row.argument, path}).status, row.status);
            const Bytes after = ReadAll(path);
            ASSERT_EQ(after.size(), before.size());
            const std::size_t handler = after.find("strh") + 12, compression = after.find("strf") + 24;
            for (std::size_t at = 0; at < after.size(); ++at)
                EXPECT_TRUE(after[at] == before[at] || at - handler < 4 || at - compression < 4) << "byte " << at;
            EXPECT_EQ(after.substr(handler, 4) + "/" + after.substr(compression, 4), row.tags);
            EXPECT_EQ(Captured("ffprobe -v error -show_entries stream=codec_tag_string -of csv=p=0 " + Quoted(path)),
                      std::string(row.tags + 5));
            EXPECT_EQ(MediaInfo(path, "Video;%CodecID%"), std::string(row.tags + 5));
            EXPECT_EQ(Captured(frames), decoded);
        }
    }
}

}  // namespace
}  // namespace quibo::test
