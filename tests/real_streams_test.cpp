// The Video and Audio groups of AVI files written at test time by ffmpeg and
// mencoder, checked against what ffprobe reads from the same files.
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "analysis/video_bitstream.h"
#include "app/advice.h"
#include "platform/libav_decoder_source.h"
#include "test_window.h"

namespace quibo::test {
namespace {

// ffprobe's view of a file's streams, and of its first video and first
// audio stream.
struct Probed {
    nlohmann::json streams = nlohmann::json::array();
    nlohmann::json video = nlohmann::json::object();
    nlohmann::json audio = nlohmann::json::object();
};

Probed Probe(const std::string& path) {
    const std::string out = RunProgram("ffprobe -v error -show_entries stream=codec_type,codec_tag_string,width,height,"
                                       "r_frame_rate,duration,bit_rate,channels,sample_rate -of json " + Quoted(path)).out;
    auto probe = nlohmann::json::parse(out, nullptr, false);
    Probed probed;
    if (!probe.is_object() || !probe.contains("streams")) {
        ADD_FAILURE() << "ffprobe read nothing from " << path;
        return probed;
    }
    probed.streams = probe["streams"];
    for (const auto& stream : probe["streams"]) {
        nlohmann::json& kind = stream.value("codec_type", "") == "video" ? probed.video : probed.audio;
        if (kind.empty()) kind = stream;
    }
    return probed;
}

double Number(const nlohmann::json& stream, const char* key) { return std::atof(stream.value(key, "0").c_str()); }

// What MediaInfo prints for `inform` ("Video;%ScanType%").
std::string MediaInfo(const std::string& path, const std::string& inform) {
    return Captured("mediainfo --Inform='" + inform + "' " + Quoted(path));
}

// A shown bitrate within `share` of MediaInfo's.
void ExpectBitrateNearMediaInfo(const std::string& shown, const std::string& path, const char* kind, double share) {
    const double theirs = std::atof(MediaInfo(path, std::string(kind) + ";%BitRate%|").c_str()) / 1000;
    EXPECT_NEAR(std::atof(shown.c_str()), theirs, theirs * share) << kind << ": " << shown;
}

// The main window over a real file, with the shipped codec database and
// FFmpeg's decoders.
struct Window : TestWindow<PosixFileAccess> {
    explicit Window(const std::string& path) : TestWindow({QUIBO_CODEC_FILE}, &decoders) {
        dialog.Start();
        OpenByName(path);
    }
    LibavDecoderSource decoders;
};

// Frame size, frame rate and duration as ffprobe reads them, a codec name
// from the database, and the codec installed.
void ExpectVideoAsProbed(const Window& window, const nlohmann::json& video, const std::string& fourCC) {
    ASSERT_TRUE(window.dialog.FileAnalysed()) << window.Text(control::kFileStatus);
    EXPECT_TRUE(window.messages.Shown().empty());

    const std::string& aspect = window.Text(control::kVideoAspect);
    EXPECT_TRUE(aspect.starts_with(std::to_string(video.value("width", 0)) + " x " +
                                   std::to_string(video.value("height", 0)) + "  ("))
        << aspect;

    int numerator = 0, denominator = 0;
    ASSERT_EQ(std::sscanf(video.value("r_frame_rate", "").c_str(), "%d/%d", &numerator, &denominator), 2);
    const double rate = static_cast<double>(numerator) / denominator;
    const std::string& shownRate = window.Text(control::kVideoFrameRate);
    EXPECT_TRUE(shownRate.ends_with(" FPS")) << shownRate;
    EXPECT_NEAR(std::atof(shownRate.c_str()), rate, 0.0005) << shownRate;

    int hours = -1, minutes = -1, seconds = -1;
    const std::string& duration = window.Text(control::kVideoDuration);
    ASSERT_EQ(std::sscanf(duration.c_str(), "%dh %dm %ds", &hours, &minutes, &seconds), 3) << duration;
    EXPECT_LE(std::abs(hours * 3600 + minutes * 60 + seconds - Number(video, "duration")), 0.5) << duration;

    EXPECT_EQ(window.Text(control::kVideoFourCC), fourCC);
    const std::string& codec = window.Text(control::kVideoCodec);
    EXPECT_FALSE(codec.empty() || codec == "<unknown>") << fourCC;
    EXPECT_EQ(window.Text(control::kVideoStatus), "Codec IS Installed");
}

// The typed report against ffprobe: every stream's type, an audio
// stream's channels and rate, a video stream's FourCC, size and exact rate.
void ExpectFactsAsProbed(const AviReport& report, const Probed& probed) {
    ASSERT_EQ(report.streams.size(), probed.streams.size());
    for (std::size_t i = 0; i < probed.streams.size(); ++i) {
        const StreamReport& stream = report.streams[i];
        const nlohmann::json& theirs = probed.streams[i];
        EXPECT_EQ(StreamTypeName(stream.type), theirs.value("codec_type", "")) << i;
        if (stream.type == StreamType::Audio) {
            EXPECT_EQ(stream.channels, theirs.value("channels", 0u)) << i;
            EXPECT_EQ(std::to_string(stream.sampleRate), theirs.value("sample_rate", "")) << i;
        }
        if (stream.type != StreamType::Video) continue;
        if (stream.compression.size() == 4 && stream.compression != "RGB ") {
            EXPECT_EQ(stream.compression, theirs.value("codec_tag_string", "")) << i;
        }
        EXPECT_EQ(stream.width, theirs.value("width", 0u)) << i;
        EXPECT_EQ(stream.height, theirs.value("height", 0u)) << i;
        int numerator = 0, denominator = 0;
        ASSERT_EQ(std::sscanf(theirs.value("r_frame_rate", "").c_str(), "%d/%d", &numerator, &denominator), 2);
        EXPECT_EQ(std::uint64_t{stream.rate} * denominator, std::uint64_t{stream.scale} * numerator) << i;
    }
}

// The audio bitrate shown against ffprobe's, in whole kilobits.
void ExpectAudioBitrateAsProbed(const Window& window, const nlohmann::json& audio) {
    long shown = std::atol(window.Text(control::kAudioBitrate).c_str());
    EXPECT_EQ(shown, std::lround(Number(audio, "bit_rate") / 1000)) << window.Text(control::kAudioBitrate);
}

// The General fields against the file system; a copy cut by 5,000 bytes
// shows the verdict and still what its headers say.
void ExpectGeneralFieldsAndCutCopy(const Window& window, const std::string& path, const TempDir& dir) {
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    char date[64];
    std::strftime(date, sizeof date, "%d %b %Y, %H:%M:%S", std::localtime(&info.st_mtime));
    EXPECT_EQ(window.Text(control::kFileDate), date);
    const std::string size = std::to_string(info.st_size);
    EXPECT_TRUE(window.Text(control::kFileSize).ends_with("(" + size.substr(0, size.size() - 3) + "," +
                                                          size.substr(size.size() - 3) + " bytes)"))
        << window.Text(control::kFileSize);
    EXPECT_EQ(window.Text(control::kFileStatus), "File Length Correct");
    const std::string whole = ReadAll(path);
    Window cut(dir.Write("cut.avi", whole.substr(0, whole.size() - 5000)));
    EXPECT_EQ(cut.Text(control::kFileStatus), "===> Truncated: 4.88 KB are missing.");
    EXPECT_EQ(cut.Text(control::kVideoFourCC), window.Text(control::kVideoFourCC));
}

struct FfmpegCase {
    const char* name;
    const char* picture;  // testsrc size and rate
    const char* video;    // ffmpeg options
    const char* audio;
    const char* fourCC;
    const char* encoding;
    const char* bitrate;  // the audio bitrate text's end: the CBR or VBR mark, or "kb/s" without one
    bool byteRate;        // whether the header holds the audio byte rate that ffprobe reports
};

TEST(RealStreams, FfmpegCodecsShowWhatFfprobeReads) {
    for (const char* tool : {"ffmpeg", "ffprobe", "mediainfo"})
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    const FfmpegCase cases[] = {
        {"xvid", "320x240:rate=25", "-c:v mpeg4 -vtag XVID", "-c:a libmp3lame -b:a 128k", "XVID", "MP3  ",
         "128 kb/s CBR  ", true},
        // VBR MP3 declares no byte rate; NTSC's frame period is rounded.
        {"dx50", "352x288:rate=30000/1001", "-c:v mpeg4 -vtag DX50", "-c:a libmp3lame -q:a 4", "DX50", "MP3  ",
         " VBR  ", false},
        {"divx", "320x240:rate=25", "-c:v mpeg4 -vtag DIVX", "-c:a mp2 -b:a 192k", "DIVX", "MP1/MP2  ",
         "192 kb/s CBR  ", true},
        {"div3", "176x144:rate=15", "-c:v msmpeg4 -vtag DIV3", "-c:a ac3", "DIV3", "AC3  ", "kb/s", true},
        {"mjpg", "240x320:rate=25", "-c:v mjpeg", "-c:a pcm_s16le", "MJPG", "PCM  ", "kb/s", true},
        {"hfyu", "160x120:rate=25", "-c:v huffyuv", "-c:a adpcm_ima_wav", "HFYU", "IMA ADPCM  ", "kb/s", true},
        {"ffv1", "320x180:rate=24", "-c:v ffv1", "-an", "FFV1", "No Audio Channels", "n.a.", false},
        {"aac", "320x240:rate=25", "-c:v mpeg4", "-c:a aac", "FMP4", "AAC  ", "kb/s", true},
        {"pcm 5.1", "320x240:rate=25", "-c:v mpeg4", "-c:a pcm_s24le -ac 6", "FMP4", "PCM  ", "kb/s", true},
        {"raw", "160x120:rate=25", "-c:v rawvideo -pix_fmt bgr24", "-an", "RGB ", "No Audio Channels", "n.a.", false},
        // Two audio streams: the first is described, both leave the video.
        {"two audio", "320x240:rate=25", "-c:v mpeg4",
         "-filter_complex '[1:a]asplit[a][b]' -map 0:v -map '[a]' -map '[b]' -c:a:0 libmp3lame -b:a:0 128k -c:a:1 ac3",
         "FMP4", "MP3  ", "128 kb/s CBR  ", true},
    };
    TempDir dir;
    for (const FfmpegCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / (std::string(c.name) + ".avi");
        ASSERT_TRUE(RunQuietly(std::string("ffmpeg -y -f lavfi -i testsrc=size=") + c.picture +
                               ":duration=2 -f lavfi -i sine=frequency=440:duration=2 -ac 2 " + c.video + " " +
                               c.audio + " -metadata title='Clip Title' '" + path + "'"));
        Window window(path);
        const Probed probed = Probe(path);
        ExpectVideoAsProbed(window, probed.video, c.fourCC);
        ExpectFactsAsProbed(window.dialog.Report(), probed);
        if (&c == &cases[0]) ExpectGeneralFieldsAndCutCopy(window, path, dir);
        const auto& rows = window.fields.Rows();
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const InfoRowText& row) {
            return row.code == "INAM" && row.contents == "Clip Title";
        }));
        if (const auto& audio = window.dialog.Report().audio) {
            // MediaInfo adds the LAME tag's binary bytes after a VBR stream's name.
            const std::string library = MediaInfo(path, "Audio;%Encoded_Library%|");
            const std::size_t end = library.find_first_not_of(
                "0123456789.ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
            EXPECT_EQ(audio->scan.frameTag.text, library.substr(0, end));
        }
        EXPECT_EQ(window.Text(control::kAudioEncoding), c.encoding);
        const std::string& bitrate = window.Text(control::kAudioBitrate);
        EXPECT_TRUE(bitrate.ends_with(c.bitrate)) << bitrate;
        if (c.byteRate) ExpectAudioBitrateAsProbed(window, probed.audio);
        // The first 100,000 bytes, against MediaInfo's reading of all of
        // them. The video bitrate counts chunk headers and the index, which
        // MediaInfo leaves out: up to 7 % for Huffyuv's few large frames.
        if (!c.byteRate && probed.audio.is_object() && !probed.audio.empty())
            ExpectBitrateNearMediaInfo(bitrate, path, "Audio", 0.05);
        ExpectBitrateNearMediaInfo(window.Text(control::kVideoBitrate), path, "Video", 0.07);
    }
}

TEST(RealStreams, MencoderFilesWithLameAndXingAudio) {
    for (const char* tool : {"ffmpeg", "ffprobe", "mencoder", "lame", "mediainfo"})
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    TempDir dir;
    const std::string source = dir / "source.avi", wave = dir / "tone.wav";
    ASSERT_TRUE(RunQuietly("ffmpeg -y -f lavfi -i testsrc=size=320x240:rate=25:duration=2 -f lavfi -i "
                    "sine=frequency=440:duration=2 -ac 2 -c:v mpeg4 -c:a pcm_s16le '" + source + "'"));
    ASSERT_TRUE(RunQuietly("ffmpeg -y -f lavfi -i sine=frequency=440:duration=3 -ac 2 '" + wave + "'"));
    // ffmpeg writes a Xing frame first in an MP3 file and names the encoder
    // at its offset 156 from the stream's encoder tag; LAME 3.100 follows
    // its version with binary bytes there.
    const std::string xing = dir / "xing.mp3", lame = dir / "lame.mp3";
    ASSERT_TRUE(RunQuietly("ffmpeg -y -i '" + wave + "' -c:a libmp3lame -q:a 4 -id3v2_version 0 "
                    "-metadata:s:a 'encoder=LAME3.92 ' '" + xing + "'"));
    ASSERT_TRUE(RunQuietly("lame -V 4 '" + wave + "' '" + lame + "'"));

    struct Case {
        const char* name;
        std::string audio;  // mencoder options
        const char* encoding;
        const char* mark;
    };
    for (const Case& c : {Case{"lame", "-oac mp3lame -lameopts cbr:br=128", "MP3  ", " CBR  "},
                          Case{"xing", "-audiofile '" + xing + "' -oac copy", "MP3  LAME3.92", " VBR  "},
                          Case{"lame 3.100", "-audiofile '" + lame + "' -oac copy", "MP3  LAME3.100", " VBR  "}}) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / (std::string(c.name) + ".avi");
        ASSERT_TRUE(
            RunQuietly("mencoder '" + source + "' -ovc lavc -lavcopts vcodec=mpeg4 " + c.audio +
                       " -info name='Menc Title':artist='Menc Artist' -o '" + path + "'"));
        Window window(path);
        const Probed probed = Probe(path);
        ExpectVideoAsProbed(window, probed.video, "FMP4");
        ExpectFactsAsProbed(window.dialog.Report(), probed);
        // MEncoder's INFO fields in file order, then its JUNK texts: five rows at most.
        std::vector<std::string> rows;
        for (const InfoRowText& row : window.fields.Rows()) rows.push_back(row.code + "=" + row.contents);
        ASSERT_EQ(rows.size(), 8u);
        EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const std::string& row) { return row.starts_with("JUNK="); }), 5);
        EXPECT_TRUE(rows[0].starts_with("ISFT=MEncoder")) << rows[0];
        EXPECT_EQ(std::vector(rows.begin() + 1, rows.begin() + 3), (std::vector<std::string>{"INAM=Menc Title", "IART=Menc Artist"}));
        EXPECT_EQ(window.Text(control::kAudioEncoding), c.encoding);
        EXPECT_TRUE(window.Text(control::kAudioBitrate).ends_with(c.mark)) << window.Text(control::kAudioBitrate);
        ExpectAudioBitrateAsProbed(window, probed.audio);
    }
}

// 16:9 PAL MPEG-4 with a named 5.1 AC-3 track and 24-bit PCM, languages set
// with quibo-info; then the same file with its legacy index cut off.
TEST(RealStreams, StreamHeadersAsMediaInfoReadsThem) {
    for (const char* tool : {"ffmpeg", "mediainfo"})
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    TempDir dir;
    const std::string path = dir / "film.avi";
    ASSERT_TRUE(RunQuietly("ffmpeg -y -f lavfi -i testsrc=size=720x576:rate=25:duration=1 -f lavfi -i sine=duration=1"
                           " -map 0 -map 1 -map 1 -c:v mpeg4 -aspect 16:9 -c:a:0 ac3 -ac:a:0 6"
                           " -metadata:s:a:0 title=Main -c:a:1 pcm_s24le '" + path + "'"));
    ASSERT_TRUE(RunQuietly(std::string(QUIBO_INFO_PATH) + " --set IAS1=English --set IAS2=French '" + path + "'"));
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
    long packets = 0;
    std::istringstream counts(
        Captured("ffprobe -v error -count_packets -show_entries stream=nb_read_packets -of csv=p=0 " + Quoted(path)));
    for (long count = 0; counts >> count;) packets += count;
    EXPECT_EQ(report.legacyIndexEntries, packets);

    const std::string whole = ReadAll(path);
    Window cut(dir.Write("cut.avi", whole.substr(0, whole.rfind("idx1"))));
    EXPECT_TRUE(cut.dialog.FileAnalysed());
    EXPECT_FALSE(cut.dialog.Report().legacyIndexEntries);
}

// The bitstream facts in MediaInfo's words: profile, encoder, B-VOPs in a
// row, quarter-pel, GMC warp points and the pixel aspect ratio.
std::string InMediaInfoWords(const VideoBitstream& bits) {
    char pixelAspect[32] = "";
    if (bits.pixelAspectX && bits.pixelAspectY)
        std::snprintf(pixelAspect, sizeof pixelAspect, "%.3f", static_cast<double>(bits.pixelAspectX) / bits.pixelAspectY);
    std::string words = VideoProfileName(bits).value_or("") + "|" + std::string(bits.encoder) + "|";
    if (bits.kind == VideoBitstream::Kind::Mpeg4Part2)
        words += (bits.mostConsecutiveB ? std::to_string(bits.mostConsecutiveB) : "No") + "|" +
                 (bits.quarterPel ? "Yes" : "No") + "|" + std::to_string(bits.warpPoints);
    else
        words += "||";
    return words + "|" + pixelAspect;
}

// MediaInfo reads nothing of a lower-case xvid FourCC: it is asked about
// the same file retagged XVID.
TEST(RealStreams, VideoBitstreamAsMediaInfoReadsIt) {
    for (const char* tool : {"ffmpeg", "mediainfo"})
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    struct Case {
        const char* name;
        const char* encode;
        bool packed;
    };
    const Case cases[] = {
        {"lavc B-frames", "-c:v mpeg4 -bf 2 -vtag XVID", false},
        {"xvid qpel gmc", "-c:v libxvid -flags +qpel -gmc 1 -bf 2 -vtag xvid", true},
        {"x264 High", "-c:v libx264 -pix_fmt yuv420p -profile:v high -vf setsar=4/3", false},
        {"lavc 16:9", "-c:v mpeg4 -aspect 16:9", false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / "clip.avi", upper = dir / "upper.avi";
        ASSERT_TRUE(RunQuietly("ffmpeg -y -f lavfi -i testsrc=size=320x240:rate=25:duration=2 " + std::string(c.encode) +
                               " '" + path + "'"));
        std::string bytes = ReadAll(path);
        for (std::size_t at = bytes.find("xvid"); at != std::string::npos; at = bytes.find("xvid", at))
            bytes.replace(at, 4, "XVID");
        std::ofstream(upper, std::ios::binary) << bytes;
        Window window(path);
        const VideoBitstream& bits = window.dialog.Report().video->bitstream;
        EXPECT_EQ(InMediaInfoWords(bits),
                  MediaInfo(upper, "Video;%Format_Profile%|%Encoded_Library%|%Format_Settings_BVOP%|"
                                   "%Format_Settings_QPel%|%Format_Settings_GMC%|%PixelAspectRatio%"));
        EXPECT_EQ(bits.packed, c.packed);
        // The advice's own command unpacks the B-frames.
        const std::vector<std::string> advice = Advice(window.dialog.Report(), path);
        const auto unpack = std::find_if(advice.begin(), advice.end(),
                                         [](const std::string& line) { return line.find("unpack") != std::string::npos; });
        ASSERT_EQ(unpack != advice.end(), c.packed);
        if (!c.packed) continue;
        const std::size_t from = unpack->find('`') + 1;
        ASSERT_TRUE(RunQuietly(unpack->substr(from, unpack->find('`', from) - from)));
        EXPECT_FALSE(Window(dir / "clip-fixed.avi").dialog.Report().video->bitstream.packed);
    }
}

// Over 1 GiB of raw 1080p: both writers go on in AVIX chunks, and mencoder
// gives both its headers the same frame count.
TEST(RealStreams, OpenDmlBitrateCountsEveryRiffChunk) {
    for (const char* tool : {"ffmpeg", "ffprobe", "mencoder", "mediainfo"})
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    TempDir dir;
    const std::string second = dir / "second.y4m";
    ASSERT_TRUE(RunQuietly("ffmpeg -y -f lavfi -i color=size=1920x1080:rate=25 -t 1 -pix_fmt yuv420p '" + second + "'"));
    std::string sixteenSeconds;
    for (int i = 0; i < 16; ++i) sixteenSeconds += " '" + second + "'";
    const std::pair<const char*, std::string> writers[] = {
        {"ffmpeg", "ffmpeg -y -f lavfi -i color=size=1920x1080:rate=25 -t 16 -c:v rawvideo -pix_fmt yuv420p"},
        {"mencoder", "mencoder" + sixteenSeconds + " -ovc raw -nosound -o"}};
    for (const auto& [name, command] : writers) {
        SCOPED_TRACE(name);
        const std::string path = dir / "opendml.avi";
        ASSERT_TRUE(RunQuietly(command + " '" + path + "'"));
        const auto fileBytes = static_cast<double>(std::filesystem::file_size(path));
        std::uint8_t header[8] = {};
        std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(header), sizeof header);
        const double firstRiffBytes = ReadLe32(header + 4) + 8.0;
        ASSERT_GT(fileBytes, firstRiffBytes * 1.1);

        Window window(path);
        ExpectVideoAsProbed(window, Probe(path).video, "I420");
        EXPECT_TRUE(window.dialog.Report().opendml);
        const std::string& shown = window.Text(control::kVideoBitrate);
        ExpectBitrateNearMediaInfo(shown, path, "Video", 0.001);
        std::filesystem::remove(path);
    }
}

}  // namespace
}  // namespace quibo::test
