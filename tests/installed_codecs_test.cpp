// SPDX-License-Identifier: GPL-3.0-or-later
// The installed video decoders: the list the video status check reads, start-up's part in it, and FFmpeg's source
// checked against FFmpeg's own answers.
#include <cctype>
#include <strings.h>

#include "codecs/installed_codecs.h"
#include "platform/libav_decoder_source.h"
#include "test_window.h"

#if QUIBO_WITH_LIBAV
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}
#endif

namespace quibo::test {
namespace {

// A named decoder, one without a name, one without a handler, one whose handler is too long for the list, then 400
// more: none is dropped past the 150th.
TEST(CollectInstalledFourCCs, StoresEveryHandlerAsGivenWhenTheListIsFirstRead) {
    ScriptedDecoders decoders({{"MPEG-4 part 2", "xvid"}, {std::nullopt, "DIVX"}, {"No handler", std::nullopt},
                               {"n", "abcd" + std::string(70, 'x')}});
    InstalledFourCCList::Entries expected{"xvid", "-  -", "abcd"};
    for (int code = 1000; code < 1400; ++code) {
        decoders.decoders.push_back({"Decoder", std::to_string(code)});
        expected.push_back(std::to_string(code));
    }
    InstalledFourCCList list;
    CollectInstalledFourCCs(decoders, list);
    EXPECT_EQ(decoders.asked, 0);

    EXPECT_EQ(list.Codes(), expected);
    EXPECT_TRUE(list.HasEither("XVID", "none"));
    EXPECT_TRUE(list.HasEither("none", "ABCD"));
    EXPECT_FALSE(list.HasEither("DIVX", "none"));
    EXPECT_TRUE(list.HasEither("1399", ""));
    EXPECT_FALSE(list.HasEither("1400", ""));
    EXPECT_EQ(decoders.asked, 1);
}

// The main window started on the sample file (video XVID) with `decoders`.
struct StartedDialog : TestWindow<PosixFileAccess> {
    explicit StartedDialog(InstalledDecoderSource* decoders) : TestWindow({QUIBO_CODEC_FILE}, decoders) {
        dialog.SetPendingFileName(QUIBO_SAMPLE_FILE);
        dialog.Start();
    }
};

TEST(InstalledStatus, StartUpGivesTheStatusCheckTheSourcesDecoders) {
    ScriptedDecoders withXvid({{"DivX", "DIVX"}, {"Xvid", "xvid"}});
    StartedDialog started(&withXvid);
    EXPECT_EQ(started.Text(control::kVideoStatus), "Codec IS Installed");
    started.dialog.OnFileClose();
    started.OpenByName(QUIBO_SAMPLE_FILE);
    EXPECT_EQ(started.Text(control::kVideoStatus), "Codec IS Installed");
    EXPECT_EQ(withXvid.asked, 1);

    ScriptedDecoders withoutXvid(std::vector<InstalledDecoder>{{"DivX", "DIVX"}});
    EXPECT_EQ(StartedDialog(&withoutXvid).Text(control::kVideoStatus), "Codec NOT Installed");
    EXPECT_EQ(StartedDialog(nullptr).Text(control::kVideoStatus), "Codec NOT Installed");
}

#if QUIBO_WITH_LIBAV

// Every FourCC of the codec database and of files ffmpeg makes, each also in lower case, is installed exactly when
// FFmpeg decodes it: when libavcodec has a decoder for the codec its AVI demuxer maps the FourCC to.
TEST(LibavDecoderSource, InstalledExactlyWhenFFmpegDecodesTheFourCCAndNamed) {
    const AVCodecTag* const tables[] = {avformat_get_riff_video_tags(), nullptr};

    std::vector<std::string> codes{"XVID", "DX50", "DIVX", "DIV3", "MJPG", "HFYU", "FFV1"};
    PosixFileAccess files;
    CodecDatabase database;
    LoadCodecDatabase(files, {QUIBO_CODEC_FILE}, database);
    for (std::size_t i = 1; i < kCodecSlots && database.Slot(i).fourCC; ++i) codes.push_back(database.Slot(i).fourCC);
    for (std::size_t i = 0, count = codes.size(); i < count; ++i) {
        codes.push_back(codes[i]);
        for (char& c : codes.back()) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    LibavDecoderSource source;
    InstalledFourCCList list;
    CollectInstalledFourCCs(source, list);
    int installed = 0, notInstalled = 0;
    for (const std::string& code : codes) {
        char bytes[4] = {};
        code.copy(bytes, 4);
        unsigned int tag = MKTAG(bytes[0], bytes[1], bytes[2], bytes[3]);
        // The compression values 0 to 3 go by the names Quibo shows for them.
        const char* const numbered[] = {"RGB ", "RLE8", "RLE4", "BITF"};
        for (unsigned int value = 0; value < 4; ++value)
            if (::strcasecmp(code.c_str(), numbered[value]) == 0) tag = value;
        const bool decodes = avcodec_find_decoder(av_codec_get_id(tables, tag)) != nullptr;
        EXPECT_EQ(list.HasEither(code.c_str(), ""), decodes) << code;
        ++(decodes ? installed : notInstalled);
    }
    // Both answers occur, so the comparison tells something either way.
    EXPECT_GT(installed, 100);
    EXPECT_GT(notInstalled, 0);

    // The decoder is named with its library.
    const std::vector<InstalledDecoder> decoders = source.Decoders();
    const auto xvid = std::find_if(decoders.begin(), decoders.end(),
                                   [](const InstalledDecoder& decoder) { return decoder.fourCC == "XVID"; });
    ASSERT_NE(xvid, decoders.end());
    EXPECT_EQ(xvid->name, "MPEG-4 part 2 (libavcodec mpeg4)");
}

#endif

}  // namespace
}  // namespace quibo::test
