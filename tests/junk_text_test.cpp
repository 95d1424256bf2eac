// SPDX-License-Identifier: GPL-3.0-or-later
// Readable text inside JUNK chunks: what starts and ends a run, and the
// rows the walk makes of them.
#include "analysis/text_runs.h"
#include "test_window.h"

namespace quibo::test {
namespace {

using N = RiffNode;

// The first run in `text` as a string, or "<none>".
std::string FirstRun(const std::string& text) {
    auto run = FindTextRun(reinterpret_cast<const std::uint8_t*>(text.data()), static_cast<std::int64_t>(text.size()));
    return run ? text.substr(run->start, run->length) : "<none>";
}

TEST(TextRuns, RunStartsAtSixUnrepeatedCharactersAndTakesAllThatFollow) {
    EXPECT_EQ(FirstRun("    Made with Tool 2    "), "Made with Tool 2    ");
    EXPECT_EQ(FirstRun("AAAAAAAAAA"), "<none>");
    EXPECT_EQ(FirstRun("\x01\x02Made with Tool 2. More"), "Made with Tool 2");
    EXPECT_EQ(FirstRun("abcde.fghij"), "<none>");
    // Text is space, digits and ASCII letters only.
    EXPECT_EQ(FirstRun("\t./:@[`{_\x80\xE9 09AZaz\xFF"), " 09AZaz");
    EXPECT_EQ(FindTextRun(reinterpret_cast<const std::uint8_t*>("abcdefgh"), 0), std::nullopt);
    EXPECT_EQ(FindTextRun(reinterpret_cast<const std::uint8_t*>("abcdefgh"), -1), std::nullopt);
    // Only the first 8,192 bytes are examined.
    std::string far(9000, '.');
    EXPECT_EQ(FirstRun(far.replace(8186, 10, "abcdefghij")), "abcdef");
    EXPECT_EQ(FirstRun(far.replace(8186, 1, ".")), "<none>");
}

TEST_F(DialogTest, LargestJunkChunkIsTheFirstOfTheLargest) {
    Load(N::Riff("AVI ", {N::Leaf("JUNK", Bytes(10, '\0')), N::Leaf("JUNK", Bytes(30, '\0')),
                          N::Leaf("JUNK", Bytes(30, '\0'))}).ToBytes());
    ASSERT_TRUE(dialog.Facts().largestJunkChunk);
    EXPECT_EQ(*dialog.Facts().largestJunkChunk, 12u + 18u);
}

}  // namespace
}  // namespace quibo::test
