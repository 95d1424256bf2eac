// The installed video decoders: the list the video status check reads,
// start-up's part in it, and FFmpeg's source checked against FFmpeg's own
// answers.
#include <cctype>
#include <strings.h>

#include "codecs/codec_database.h"
#include "codecs/installed_codecs.h"
#include "platform/libav_decoder_source.h"
#include "test_window.h"

#if QUIBO_WITH_LIBAV
#include <dlfcn.h>
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}
#endif

namespace quibo::test {
namespace {

// A named decoder, one without a name, one without a handler, and one
// whose handler is too long for the list.
std::vector<InstalledDecoder> MixedDecoders() {
    return {{"MPEG-4 part 2", "xvid"}, {std::nullopt, "DIVX"}, {"No handler", std::nullopt}, {"n", "abcd" + std::string(70, 'x')}};
}

TEST(CollectInstalledFourCCs, StoresHandlersAsGivenWhenTheListIsFirstRead) {
    ScriptedDecoders decoders(MixedDecoders());
    InstalledFourCCList list;
    CollectInstalledFourCCs(decoders, list);
    EXPECT_EQ(decoders.asked, 0);

    EXPECT_EQ(list.Codes(), (InstalledFourCCList::Entries{"xvid", "-  -", "abcd"}));
    EXPECT_TRUE(list.HasEither("XVID", "none"));
    EXPECT_TRUE(list.HasEither("none", "ABCD"));
    EXPECT_FALSE(list.HasEither("DIVX", "none"));
    EXPECT_EQ(decoders.asked, 1);
}

TEST(CollectInstalledFourCCs, KeepsEveryDecoderPastThe150th) {
    std::vector<InstalledDecoder> many;
    for (int i = 0; i < 400; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "%04d", i);
        many.push_back({"Decoder", code});
    }
    ScriptedDecoders decoders(many);
    InstalledFourCCList list;
    CollectInstalledFourCCs(decoders, list);
    EXPECT_EQ(list.Codes().size(), 400u);
    EXPECT_TRUE(list.HasEither("0399", ""));
    EXPECT_FALSE(list.HasEither("0400", ""));
}

// The main window started on the sample file (video XVID) with `decoders`.
struct StartedDialog : TestWindow<PosixFileAccess> {
    explicit StartedDialog(InstalledDecoderSource* decoders) : TestWindow({QUIBO_CODEC_FILE}, decoders) {
        dialog.SetPendingFileName(kSample);
        dialog.Start();
    }
    const std::string& VideoStatus() const { return fields.Text(control::kVideoStatus); }

    inline static const std::string kSample =
        (std::filesystem::path(QUIBO_CODEC_FILE).parent_path() / "sample.avi").string();
};

TEST(InstalledStatus, StartUpGivesTheStatusCheckTheSourcesDecoders) {
    ScriptedDecoders withXvid({{"DivX", "DIVX"}, {"Xvid", "xvid"}});
    StartedDialog started(&withXvid);
    EXPECT_EQ(started.VideoStatus(), "Codec IS Installed");
    started.dialog.OnFileClose();
    started.dialog.SetPendingFileName(StartedDialog::kSample);
    started.dialog.OnFileOpen();
    EXPECT_EQ(started.VideoStatus(), "Codec IS Installed");
    EXPECT_EQ(withXvid.asked, 1);

    ScriptedDecoders withoutXvid(std::vector<InstalledDecoder>{{"DivX", "DIVX"}});
    EXPECT_EQ(StartedDialog(&withoutXvid).VideoStatus(), "Codec NOT Installed");
    EXPECT_EQ(StartedDialog(nullptr).VideoStatus(), "Codec NOT Installed");
}

#if QUIBO_WITH_LIBAV

// FFmpeg's own answer for a FourCC: the codec AVI demuxing maps it to, and
// whether libavcodec has a decoder for that codec.
class FFmpegAnswers {
public:
    FFmpegAnswers()
        : format_(::dlopen("libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR), RTLD_LAZY)),
          codec_(::dlopen("libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR), RTLD_LAZY)) {
        if (!format_ || !codec_) return;
        riffVideoTags_ = reinterpret_cast<decltype(riffVideoTags_)>(::dlsym(format_, "avformat_get_riff_video_tags"));
        codecId_ = reinterpret_cast<decltype(codecId_)>(::dlsym(format_, "av_codec_get_id"));
        findDecoder_ = reinterpret_cast<decltype(findDecoder_)>(::dlsym(codec_, "avcodec_find_decoder"));
    }
    ~FFmpegAnswers() {
        if (codec_) ::dlclose(codec_);
        if (format_) ::dlclose(format_);
    }
    bool Loaded() const { return riffVideoTags_ && codecId_ && findDecoder_; }

    // The compression values 0 to 3 go by the names Quibo shows for them.
    bool Decodes(const std::string& fourCC) const {
        char bytes[4] = {};
        fourCC.copy(bytes, 4);
        unsigned int tag = MKTAG(bytes[0], bytes[1], bytes[2], bytes[3]);
        const char* const numbered[] = {"RGB ", "RLE8", "RLE4", "BITF"};
        for (unsigned int value = 0; value < 4; ++value)
            if (::strcasecmp(fourCC.c_str(), numbered[value]) == 0) tag = value;
        const AVCodecTag* const tables[] = {riffVideoTags_(), nullptr};
        return findDecoder_(codecId_(tables, tag)) != nullptr;
    }

private:
    void* format_;
    void* codec_;
    decltype(avformat_get_riff_video_tags)* riffVideoTags_ = nullptr;
    decltype(av_codec_get_id)* codecId_ = nullptr;
    decltype(avcodec_find_decoder)* findDecoder_ = nullptr;
};

// Every FourCC of the codec database and of files ffmpeg makes, each also
// in lower case.
std::vector<std::string> FourCCsToCheck() {
    std::vector<std::string> codes{"XVID", "DX50", "DIVX", "DIV3", "MJPG", "HFYU", "FFV1"};
    PosixFileAccess files;
    CodecDatabase database;
    LoadCodecDatabase(files, {QUIBO_CODEC_FILE}, database);
    for (std::size_t i = 1; i < kCodecSlots && database.Slot(i).fourCC; ++i) codes.push_back(database.Slot(i).fourCC);
    for (std::size_t i = 0, count = codes.size(); i < count; ++i) {
        std::string lower = codes[i];
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        codes.push_back(lower);
    }
    return codes;
}

TEST(LibavDecoderSource, InstalledExactlyWhenFFmpegDecodesTheFourCC) {
    FFmpegAnswers ffmpeg;
    ASSERT_TRUE(ffmpeg.Loaded());
    LibavDecoderSource source;
    InstalledFourCCList list;
    CollectInstalledFourCCs(source, list);

    int installed = 0;
    int notInstalled = 0;
    for (const std::string& code : FourCCsToCheck()) {
        bool decodes = ffmpeg.Decodes(code);
        EXPECT_EQ(list.HasEither(code.c_str(), ""), decodes) << code;
        ++(decodes ? installed : notInstalled);
    }
    // Both answers occur, so the comparison tells something either way.
    EXPECT_GT(installed, 100);
    EXPECT_GT(notInstalled, 0);
}

TEST(LibavDecoderSource, NamesTheDecoderAndItsLibrary) {
    LibavDecoderSource source;
    std::vector<InstalledDecoder> decoders = source.Decoders();
    auto xvid = std::find_if(decoders.begin(), decoders.end(),
                             [](const InstalledDecoder& decoder) { return decoder.fourCC == "XVID"; });
    ASSERT_NE(xvid, decoders.end());
    EXPECT_EQ(xvid->name, "MPEG-4 part 2 (libavcodec mpeg4)");
}

#endif

}  // namespace
}  // namespace quibo::test
