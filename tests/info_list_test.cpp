// SPDX-License-Identifier: GPL-3.0-or-later
// The RIFF Info list: names, file order, contents and which rows may be
// edited.
#include "analysis/recorded_date.h"
#include "test_window.h"

namespace quibo::test {
namespace {

using N = RiffNode;

TEST_F(DialogTest, InfoRowsInFileOrderWithTableNamesAndLocations) {
    Load(N::Riff("AVI ", {N::List("hdrl", {N::Leaf("ISFT", Bytes("Tool\0", 5))}),
                          N::List("INFO", {N::Leaf("INAM", Bytes("Title\0", 6)), N::Leaf("IART", Bytes("Artist\0", 7)),
                                           N::Leaf("ISMP", "a"), N::Leaf("inam", "b"), N::Leaf("ICMT")})})
             .ToBytes());
    std::vector<std::string> shown;
    for (const InfoRowText& row : fields.Rows()) shown.push_back(row.code + "|" + row.name + "|" + row.contents);
    EXPECT_EQ(shown, (std::vector<std::string>{"ISFT|Software|Tool", "INAM|Name|Title", "IART|Artist|Artist",
                                               "ISMP|Time Code|a", "inam|? ? ?|b", "ICMT|Comments|"}));
    for (const InfoRow& row : dialog.Report().rows) {
        ASSERT_TRUE(row.location);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(dialog.FileImage() + *row.location), 4), row.code);
    }
    // The header list's ISFT is a row but not the first INFO chunk.
    EXPECT_EQ(dialog.Facts().firstInfoChunk, dialog.Report().rows[1].location);
}

TEST_F(DialogTest, OnlyAnalysedInfoRowsMayBeEdited) {
    EXPECT_FALSE(dialog.CanEditSelection());  // nothing analysed yet
    Load(N::Riff("AVI ", {N::Leaf("JUNK", "Made with Tool 2"),
                          N::List("INFO", {N::Leaf("ISMP", "x"), N::Leaf(" abc", "y"), N::Leaf("JUNK", "z")})})
             .ToBytes());
    ASSERT_EQ(Rows(), (std::vector<std::string>{"JUNK=Made with Tool 2", "ISMP=x", " abc=y", "JUNK=z"}));
    EXPECT_FALSE(dialog.CanEditSelection());  // nothing selected
    std::string editable;  // y or n for each row
    for (int row = 0; row < 4; ++row) fields.Select(row), editable += dialog.CanEditSelection() ? 'y' : 'n';
    EXPECT_EQ(editable, "nynn");
    // A JUNK chunk inside the INFO list keeps its location all the same.
    EXPECT_TRUE(dialog.Report().rows[3].location);
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
