// SPDX-License-Identifier: GPL-3.0-or-later
// The two codec list dialogs: their rows, captions, banding and column widths.
#include <QApplication>

#include "gui/installed_codecs_dialog.h"
#include "gui/supported_codecs_dialog.h"
#include "test_window.h"

namespace quibo::test {
namespace {

const QColor kBand(224, 255, 224);
// Main window units on either side of the small-font line (100 units against 175 pixels).
const DialogUnits kSmallFont(6, 13);
const DialogUnits kLargeFont(8, 16);

QStringList Row(const CodecListDialog& dialog, int row) {
    QStringList cells;
    const QTreeWidgetItem* item = dialog.List()->topLevelItem(row);
    for (int column = 0; column < item->columnCount(); ++column) cells << item->text(column);
    return cells;
}

// Records in file order up to the first without a description, banded in threes.
TEST(SupportedCodecsDialog, ListsRecordsInFileOrderBandedInThrees) {
    std::string records;
    for (int i = 0; i < 399; ++i) records += QString::asprintf("C%03d\tCodec %d\tVendor %d\r\n", i, i, i).toStdString();
    CodecDatabase empty, full, gap;
    ParseCodecText(full, records);
    ParseCodecText(gap, "ZZZZ\tLast\tOne\r\nAAAA\t\tNo description\r\nBBBB\tAfter\tthe gap\r\n");
    SupportedCodecsDialog none(empty, kLargeFont, nullptr), all(full, kLargeFont, nullptr);
    SupportedCodecsDialog cut(gap, kLargeFont, nullptr);
    EXPECT_EQ(none.windowTitle(), "Supported Video Codecs - 0 Found");
    EXPECT_EQ(none.List()->topLevelItemCount(), 0);
    EXPECT_EQ(cut.windowTitle(), "Supported Video Codecs - 1 Found");
    ASSERT_EQ(cut.List()->topLevelItemCount(), 1);
    EXPECT_EQ(Row(cut, 0), (QStringList{"ZZZZ", "Last", "One"}));
    EXPECT_EQ(all.windowTitle(), "Supported Video Codecs - 399 Found");
    ASSERT_EQ(all.List()->topLevelItemCount(), 399);
    EXPECT_EQ(Row(all, 0), (QStringList{"C000", "Codec 0", "Vendor 0"}));
    EXPECT_EQ(Row(all, 398), (QStringList{"C398", "Codec 398", "Vendor 398"}));

    // As drawn, at the right end of each cell, where no text is.
    all.show();
    QApplication::processEvents();
    TitleTipListCtrl& list = *all.List();
    const QImage shown = list.viewport()->grab().toImage();
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 3; ++column) {
            const QRect cell = list.visualRect(list.model()->index(row, column)).intersected(list.viewport()->rect());
            EXPECT_EQ(shown.pixelColor(cell.right() - 2, cell.center().y()) == kBand, row / 3 != 1) << row << column;
        }
}

// A decoder without a name is left out; texts are cut at 63 characters; a handler is looked up whole, in capitals.
TEST(InstalledCodecsDialog, ListsEachNamedDecoderWithItsDatabaseEntry) {
    CodecDatabase database;
    ParseCodecText(database, "XviD\t" + std::string(80, 'd') + "\tXvid project\r\nABCD\tFour letters\tNobody\r\n");
    ScriptedDecoders decoders({{"MPEG-4 part 2", "xvid"}, {std::nullopt, "DIVX"}, {"No handler", std::nullopt},
                               {std::string(100, 'n'), "abcd" + std::string(70, 'x')}});
    InstalledCodecsDialog dialog(decoders, database, kLargeFont, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Video Codecs Installed on this Machine");
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 3);
    EXPECT_EQ(Row(dialog, 0), (QStringList{"XVID", "MPEG-4 part 2", QString(63, 'd'), "Xvid project"}));
    EXPECT_EQ(Row(dialog, 1), (QStringList{"-  -", "No handler", "", ""}));
    EXPECT_EQ(Row(dialog, 2), (QStringList{"ABCD" + QString(59, 'X'), QString(63, 'n'), "", ""}));
    EXPECT_EQ(dialog.List()->topLevelItem(2)->background(3).color(), kBand);
}

// With the small font every column of both lists is three quarters as wide.
TEST(CodecListDialogs, ColumnsAreThreeQuartersWideWithTheSmallFont) {
    CodecDatabase empty;
    ScriptedDecoders decoders(std::vector<InstalledDecoder>{{"MPEG-4 part 2", "xvid"}});
    SupportedCodecsDialog supportedLarge(empty, kLargeFont, nullptr), supportedSmall(empty, kSmallFont, nullptr);
    InstalledCodecsDialog installedLarge(decoders, empty, kLargeFont, nullptr);
    InstalledCodecsDialog installedSmall(decoders, empty, kSmallFont, nullptr);
    for (const auto& [large, small] : {std::pair<CodecListDialog*, CodecListDialog*>{&supportedLarge, &supportedSmall},
                                       {&installedLarge, &installedSmall}}) {
        ASSERT_EQ(large->List()->columnCount(), small->List()->columnCount());
        for (int column = 0; column < large->List()->columnCount(); ++column)
            EXPECT_EQ(small->List()->columnWidth(column), large->List()->columnWidth(column) * 3 / 4) << column;
    }
}

}  // namespace
}  // namespace quibo::test
