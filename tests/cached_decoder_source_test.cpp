// SPDX-License-Identifier: GPL-3.0-or-later
// The installed decoders remembered between runs: the libraries are asked once per loader state, and what comes back
// from the cache is what they said, field for field.
#include "platform/cached_decoder_source.h"
#include "test_window.h"

namespace quibo::test {
namespace {

bool Same(const std::vector<InstalledDecoder>& a, const std::vector<InstalledDecoder>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const InstalledDecoder& x, const InstalledDecoder& y) {
        return x.name == y.name && x.fourCC == y.fourCC;
    });
}

TEST(CachedDecoderSource, AsksOncePerLoaderStateAndWhenTheCacheIsDamagedOrMissing) {
    TempDir dir;
    const std::string file = dir / "cache/quibo/installed-decoders";
    ScriptedDecoders libraries({{"MPEG-4 part 2 (libavcodec mpeg4)", "XVID"},
                                {std::nullopt, "DIVX"},
                                {"Tab\there, new\nline and back\\slash", std::nullopt},
                                {"", ""}});
    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state 1").Decoders(), libraries.decoders));
    EXPECT_EQ(libraries.asked, 1);
    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state 1").Decoders(), libraries.decoders));
    EXPECT_EQ(libraries.asked, 1);

    // Another loader state asks again, and is remembered in turn.
    libraries.decoders.pop_back();
    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state 2").Decoders(), libraries.decoders));
    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state 2").Decoders(), libraries.decoders));
    EXPECT_EQ(libraries.asked, 2);

    // Cut short, the end mark gone: asked again.
    const std::string text = ReadAll(file);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text.substr(0, text.size() - 4);
    EXPECT_TRUE(Same(CachedDecoderSource(libraries, file, "state 2").Decoders(), libraries.decoders));
    EXPECT_EQ(libraries.asked, 3);

    // Without a cache file every call asks.
    CachedDecoderSource uncached(libraries, "", "state 2");
    uncached.Decoders();
    uncached.Decoders();
    EXPECT_EQ(libraries.asked, 5);
}

}  // namespace
}  // namespace quibo::test
