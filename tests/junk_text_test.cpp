// SPDX-License-Identifier: GPL-3.0-or-later
// Readable text inside JUNK chunks: what starts and ends a run, and the rows the walk makes of them.
#include "analysis/text_runs.h"
#include "test_window.h"

namespace quibo::test {
namespace {

TEST(TextRuns, RunStartsAtSixUnrepeatedCharactersAndTakesAllThatFollow) {
    const std::pair<std::string, const char*> rows[] = {
        {"    Made with Tool 2    ", "Made with Tool 2    "}, {"AAAAAAAAAA", "<none>"},
        {"\x01\x02Made with Tool 2. More", "Made with Tool 2"}, {"abcde.fghij", "<none>"},
        // Text is space, digits and ASCII letters only.
        {"\t./:@[`{_\x80\xE9 09AZaz\xFF", " 09AZaz"},
        // Only the first 8,192 bytes are examined.
        {std::string(8186, '.').append("abcdefghij"), "abcdef"},
        {std::string(8187, '.').append("bcdefghij"), "<none>"}};
    for (const auto& [text, first] : rows) {
        const auto run = FindTextRun(reinterpret_cast<const std::uint8_t*>(text.data()), std::ssize(text));
        EXPECT_EQ(run ? text.substr(run->start, run->length) : "<none>", first) << text.size();
    }
    EXPECT_EQ(FindTextRun(reinterpret_cast<const std::uint8_t*>("abcdefgh"), 0), std::nullopt);
    EXPECT_EQ(FindTextRun(reinterpret_cast<const std::uint8_t*>("abcdefgh"), -1), std::nullopt);
}

TEST_F(DialogTest, LargestJunkChunkIsTheFirstOfTheLargest) {
    Load(N::Riff("AVI ", {N::Leaf("JUNK", Bytes(10, '\0')), N::Leaf("JUNK", Bytes(30, '\0')),
                          N::Leaf("JUNK", Bytes(30, '\0'))}).ToBytes());
    ASSERT_TRUE(dialog.Facts().largestJunkChunk);
    EXPECT_EQ(*dialog.Facts().largestJunkChunk, 12u + 18u);
}

}  // namespace
}  // namespace quibo::test
