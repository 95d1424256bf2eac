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

// The caption, then each row as a line of the codec file: its cells joined by tabs, ended by CR LF.
std::string Listed(const CodecListDialog& dialog) {
    QString listed = dialog.windowTitle() + "\n";
    for (const QTreeWidgetItem* item : dialog.List()->findItems("", Qt::MatchContains)) {
        for (int i = 0; i < item->columnCount(); ++i) listed += (i > 0 ? "\t" : "") + item->text(i);
        listed += "\r\n";
    }
    return listed.toStdString();
}

// Each column's width, times `quarters` / 4.
std::vector<int> Widths(const CodecListDialog& dialog, int quarters = 4) {
    std::vector<int> widths;
    for (int column = 0; column < dialog.List()->columnCount(); ++column)
        widths.push_back(dialog.List()->columnWidth(column) * quarters / 4);
    return widths;
}

// Records in file order up to the first without a description, banded in threes.
TEST(SupportedCodecsDialog, ListsRecordsInFileOrderBandedInThrees) {
    std::string records;
    for (int i = 0; i < 399; ++i) records += QString::asprintf("C%03d\tCodec %d\tVendor %d\r\n", i, i, i).toStdString();
    CodecDatabase empty, full, gap;
    ParseCodecText(full, records);
    ParseCodecText(gap, "ZZZZ\tLast\tOne\r\nAAAA\t\tNo description\r\nBBBB\tAfter\tthe gap\r\n");
    SupportedCodecsDialog none(empty, kLargeFont, nullptr), all(full, kLargeFont, nullptr);
    SupportedCodecsDialog cut(gap, kLargeFont, nullptr), small(empty, kSmallFont, nullptr);
    EXPECT_EQ(Listed(none), "Supported Video Codecs - 0 Found\n");
    EXPECT_EQ(Listed(cut), "Supported Video Codecs - 1 Found\nZZZZ\tLast\tOne\r\n");
    EXPECT_EQ(Listed(all), "Supported Video Codecs - 399 Found\n" + records);
    // With the small font every column is three quarters as wide.
    EXPECT_EQ(Widths(small), Widths(none, 3));

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
    InstalledCodecsDialog small(decoders, database, kSmallFont, nullptr);
    EXPECT_EQ(Listed(dialog), "Video Codecs Installed on this Machine\nXVID\tMPEG-4 part 2\t" + std::string(63, 'd') +
                                  "\tXvid project\r\n-  -\tNo handler\t\t\r\nABCD" + std::string(59, 'X') + "\t" +
                                  std::string(63, 'n') + "\t\t\r\n");
    EXPECT_EQ(dialog.List()->topLevelItem(2)->background(3).color(), kBand);
    // With the small font every column is three quarters as wide.
    EXPECT_EQ(Widths(small), Widths(dialog, 3));
}

}  // namespace
}  // namespace quibo::test
