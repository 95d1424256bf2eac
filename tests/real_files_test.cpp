// AVI files written at test time by ffmpeg and mencoder, which know nothing
// of this program: the General fields, the walk and the INFO rows must
// agree with what the tools wrote.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <locale>
#include <sstream>

#include "riff/riff_layout.h"
#include "dialog_fixture.h"
#include "temp_dir.h"

namespace quibo::test {
namespace {

// "113,240" by the standard library's own grouping.
std::string Grouped(long long n) {
    struct Commas : std::numpunct<char> {
        char do_thousands_sep() const override { return ','; }
        std::string do_grouping() const override { return "\3"; }
    };
    std::ostringstream out;
    out.imbue(std::locale(out.getloc(), new Commas));
    out << n;
    return out.str();
}

// Two seconds of test picture and a sine tone, MPEG-4 video and MP3 audio.
bool MakeWithFfmpeg(const std::string& path) {
    return RunQuietly("ffmpeg -y -f lavfi -i testsrc=size=320x240:rate=25:duration=2 -f lavfi -i sine=frequency=440:duration=2"
               " -c:v mpeg4 -c:a libmp3lame -metadata title='Quibo Title' -metadata artist='Quibo Artist' '" +
               path + "'");
}

// The General fields of a complete file below 1 MiB, checked against the
// file system.
void ExpectGeneralFields(const PosixDialog& window, const std::string& path) {
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    ASSERT_LT(info.st_size, 1 << 20);
    const std::string& size = window.fields.Text(control::kFileSize);
    EXPECT_TRUE(size.starts_with(Grouped(info.st_size / 1024))) << size;
    EXPECT_TRUE(size.ends_with(" KB   (" + Grouped(info.st_size) + " bytes)")) << size;
    char date[64];
    std::strftime(date, sizeof date, "%d %b %Y, %H:%M:%S", std::localtime(&info.st_mtime));
    EXPECT_EQ(window.fields.Text(control::kFileName), path);
    EXPECT_EQ(window.fields.Text(control::kFileDate), date);
    EXPECT_EQ(window.fields.Text(control::kFileStatus), "File Length Correct");
    EXPECT_TRUE(window.dialog.FileAnalysed());
}

// The INFO rows as "CODE=contents", JUNK text left out.
std::vector<std::string> InfoRows(const PosixDialog& window) {
    std::vector<std::string> rows;
    for (const InfoRowText& row : window.fields.Rows())
        if (row.code != "JUNK") rows.push_back(row.code + "=" + row.contents);
    return rows;
}

TEST(RealFiles, FfmpegFileShowsWhatFfmpegWrote) {
    if (!HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    TempDir dir;
    const std::string path = dir / "ffmpeg.avi";
    ASSERT_TRUE(MakeWithFfmpeg(path));
    PosixDialog window;
    window.OpenByName(path);
    ExpectGeneralFields(window, path);

    const StreamFacts& facts = window.dialog.Facts();
    EXPECT_EQ(facts.videoStreamCount, 1);
    EXPECT_EQ(facts.audioStreamCount, 1);
    EXPECT_EQ(ReadLe32(facts.mainHeader.data() + main_header::kWidth), 320u);
    EXPECT_EQ(ReadLe32(facts.mainHeader.data() + main_header::kHeight), 240u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(facts.videoFormat.data() + bitmap_info::kCompression), 4), "FMP4");
    EXPECT_EQ(ReadLe16(facts.audioFormat.data() + wave_format::kFormatTag), 0x55);
    EXPECT_GT(window.dialog.AudioSamples()->Filled(), 0u);

    // INFO rows in the order their chunks stand in the file.
    std::vector<std::string> rows = InfoRows(window);
    ASSERT_EQ(rows.size(), 3u);
    const Bytes bytes = ReadAll(path);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LT(bytes.find(rows[i - 1].substr(0, 4)), bytes.find(rows[i].substr(0, 4)));
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows[0], "IART=Quibo Artist");
    EXPECT_EQ(rows[1], "INAM=Quibo Title");
    EXPECT_TRUE(rows[2].starts_with("ISFT=Lavf")) << rows[2];
}

TEST(RealFiles, MencoderFilesShowWhatMencoderWrote) {
    if (!HaveTool("ffmpeg") || !HaveTool("mencoder")) GTEST_SKIP() << "ffmpeg or mencoder is not installed";
    TempDir dir;
    ASSERT_TRUE(MakeWithFfmpeg(dir / "source.avi"));
    for (auto [audio, formatTag] : {std::pair{"mp3lame", 0x55}, std::pair{"pcm", 0x01}}) {
        SCOPED_TRACE(audio);
        const std::string path = dir / (std::string(audio) + ".avi");
        ASSERT_TRUE(RunQuietly("mencoder '" + dir / "source.avi" + "' -ovc lavc -lavcopts vcodec=mpeg4 -oac " + audio +
                        " -info name='Menc Title':artist='Menc Artist' -o '" + path + "'"));
        PosixDialog window;
        window.OpenByName(path);
        ExpectGeneralFields(window, path);
        EXPECT_EQ(window.dialog.Facts().videoStreamCount, 1);
        EXPECT_EQ(window.dialog.Facts().audioStreamCount, 1);
        EXPECT_EQ(ReadLe16(window.dialog.Facts().audioFormat.data() + wave_format::kFormatTag), formatTag);

        std::vector<std::string> rows = InfoRows(window);
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_TRUE(rows[0].starts_with("ISFT=MEncoder")) << rows[0];
        EXPECT_EQ(rows[1], "INAM=Menc Title");
        EXPECT_EQ(rows[2], "IART=Menc Artist");
        // MEncoder pads with many JUNK chunks of text: five rows at most.
        EXPECT_EQ(window.fields.Rows().size() - rows.size(), 5u);
    }
}

TEST(RealFiles, TruncatedCopiesGetTheTruncationVerdict) {
    if (!HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    TempDir dir;
    const std::string path = dir / "whole.avi";
    ASSERT_TRUE(MakeWithFfmpeg(path));
    const Bytes bytes = ReadAll(path);
    ASSERT_EQ(ReadLe32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 4) + 8, bytes.size());

    // A cut file shows what its headers say as well as the verdict.
    PosixDialog window;
    window.OpenByName(dir.Write("cut5000.avi", bytes.substr(0, bytes.size() - 5000)));
    EXPECT_EQ(window.fields.Text(control::kFileStatus), "===> Truncated: 4.88 KB are missing.");
    EXPECT_TRUE(window.dialog.FileAnalysed());
    EXPECT_EQ(window.fields.Text(control::kVideoFourCC), "FMP4");
    EXPECT_EQ(InfoRows(window).size(), 3u);

    window.dialog.OnFileClose();
    window.OpenByName(dir.Write("cut500.avi", bytes.substr(0, bytes.size() - 500)));
    EXPECT_EQ(window.fields.Text(control::kFileStatus), "May be truncated:500 bytes are missing.");
    EXPECT_TRUE(window.dialog.FileAnalysed());
    EXPECT_EQ(InfoRows(window).size(), 3u);
}

}  // namespace
}  // namespace quibo::test
