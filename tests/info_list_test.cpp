// SPDX-License-Identifier: GPL-3.0-or-later
// The RIFF Info list: names, file order, contents and which rows may be edited.
#include "analysis/recorded_date.h"
#include "test_window.h"

namespace quibo::test {
namespace {

// Rows in file order with their table names, each INFO chunk's at its place, a JUNK chunk's in the INFO list
// too. Only analysed INFO rows may be edited: no JUNK text or chunk, no code that starts with a space.
TEST_F(DialogTest, InfoRowsInFileOrderWithTableNamesLocationsAndWhichMayBeEdited) {
    EXPECT_FALSE(dialog.CanEditSelection());  // nothing analysed yet
    Load(N::Riff("AVI ", {N::Leaf("JUNK", "Made with Tool 2"), N::List("hdrl", {N::Leaf("ISFT", Bytes("Tool\0", 5))}),
                          N::List("INFO", {N::Leaf("INAM", Bytes("Title\0", 6)), N::Leaf("IART", Bytes("Artist\0", 7)),
                                           N::Leaf("ISMP", "a"), N::Leaf("inam", "b"), N::Leaf("ICMT"),
                                           N::Leaf(" abc", "y"), N::Leaf("JUNK", "z")})})
             .ToBytes());
    EXPECT_FALSE(dialog.CanEditSelection());  // nothing selected
    std::vector<std::string> shown;  // "code|name|contents|" and y or n: whether it may be edited
    for (std::size_t i = 0; i < fields.Rows().size(); ++i) {
        fields.Select(static_cast<int>(i));
        const InfoRowText& row = fields.Rows()[i];
        shown.push_back(row.code + "|" + row.name + "|" + row.contents + "|" + (dialog.CanEditSelection() ? "y" : "n"));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"JUNK|(ASCII in junk chunk)|Made with Tool 2|n", "ISFT|Software|Tool|y",
                                               "INAM|Name|Title|y", "IART|Artist|Artist|y", "ISMP|Time Code|a|y",
                                               "inam|? ? ?|b|y", "ICMT|Comments||y", " abc|? ? ?|y|n",
                                               "JUNK|(ASCII in junk chunk)|z|n"}));
    const std::vector<InfoRow>& rows = dialog.Report().rows;
    EXPECT_FALSE(rows[0].location);  // a JUNK text's row has no chunk of its own
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_TRUE(rows[i].location);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(dialog.FileImage() + *rows[i].location), 4), rows[i].code);
    }
    // The header list's ISFT is a row but not the first INFO chunk.
    EXPECT_EQ(dialog.Facts().firstInfoChunk, rows[2].location);
}

// Cameras' IDIT in the header list, in asctime's form or with separators.
TEST_F(DialogTest, RecordingDateFromTheHeaderList) {
    Load(N::Riff("AVI ", {N::List("hdrl", {N::Leaf("IDIT", Bytes("SAT DEC 06 21:16:31 2008\n\0", 26))})}).ToBytes());
    EXPECT_EQ(RecordedDate(dialog.Facts().recordedText), "2008-12-06T21:16:31");
    const std::pair<const char*, std::optional<std::string>> rows[] = {
        {"Mon Jan 05 07:08:09 1998", "1998-01-05T07:08:09"}, {"2008:12:06 21:16:31", "2008-12-06T21:16:31"},
        {"2008/12/06 21:16:31", "2008-12-06T21:16:31"},       {"2008:12-06 21:16:31", std::nullopt},
        {"SAT DEC 06 25:16:31 2008", std::nullopt},           {"SAT XYZ 06 21:16:31 2008", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [text, iso] : rows) EXPECT_EQ(RecordedDate(text), iso) << text;
}

}  // namespace
}  // namespace quibo::test
