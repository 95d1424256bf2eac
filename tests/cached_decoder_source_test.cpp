// The installed decoders remembered between runs: the libraries are asked
// once per loader state, and what comes back from the cache is what they
// said, field for field.
#include "platform/cached_decoder_source.h"
#include "test_window.h"

namespace quibo::test {
namespace {

ScriptedDecoders Counting() {
    return ScriptedDecoders({{"MPEG-4 part 2 (libavcodec mpeg4)", "XVID"},
                             {std::nullopt, "DIVX"},
                             {"Tab\there, new\nline and back\\slash", std::nullopt},
                             {"", ""}});
}

bool Same(const std::vector<InstalledDecoder>& a, const std::vector<InstalledDecoder>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].fourCC != b[i].fourCC) return false;
    return true;
}

TEST(CachedDecoderSource, AsksOncePerLoaderState) {
    TempDir dir;
    const std::string file = dir / "cache/quibo/installed-decoders";
    ScriptedDecoders libraries = Counting();

    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state 1").Decoders(), libraries.decoders));
    EXPECT_EQ(libraries.asked, 1);
    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state 1").Decoders(), libraries.decoders));
    EXPECT_EQ(libraries.asked, 1);

    // Another loader state asks again, and is remembered in turn.
    libraries.decoders.pop_back();
    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state 2").Decoders(), libraries.decoders));
    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state 2").Decoders(), libraries.decoders));
    EXPECT_EQ(libraries.asked, 2);
}

TEST(CachedDecoderSource, DamagedOrMissingCacheAsksTheLibraries) {
    TempDir dir;
    const std::string file = dir / "installed-decoders";
    ScriptedDecoders libraries = Counting();
    CachedDecoderSource(libraries, file, "state").Decoders();

    // Cut short: the end mark is gone.
    std::string text;
    {
        std::ifstream in(file, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text.substr(0, text.size() - 4);
    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state").Decoders(), libraries.decoders));
    EXPECT_EQ(libraries.asked, 2);

    // Without a cache file every call asks.
    CachedDecoderSource uncached(libraries, "", "state");
    uncached.Decoders();
    uncached.Decoders();
    EXPECT_EQ(libraries.asked, 4);
}

}  // namespace
}  // namespace quibo::test
