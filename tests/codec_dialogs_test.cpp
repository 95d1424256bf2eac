// The two codec list dialogs: their rows, captions, banding and column
// widths.
#include <QApplication>
#include <QHeaderView>

#include "gui/installed_codecs_dialog.h"
#include "gui/supported_codecs_dialog.h"
#include "test_window.h"

namespace quibo::test {
namespace {

const QColor kBand(224, 255, 224);
// Main window units on either side of the small-font line (100 units
// against 175 pixels).
const DialogUnits kSmallFont(6, 13);
const DialogUnits kLargeFont(8, 16);

std::string Records(int count) {
    std::string text;
    char record[48];
    for (int i = 0; i < count; ++i) {
        std::snprintf(record, sizeof record, "C%03d\tCodec %d\tVendor %d\r\n", i, i, i);
        text += record;
    }
    return text;
}

QStringList Row(const CodecListDialog& dialog, int row) {
    QStringList cells;
    const QTreeWidgetItem* item = dialog.List()->topLevelItem(row);
    for (int column = 0; column < item->columnCount(); ++column) cells << item->text(column);
    return cells;
}

std::vector<int> Widths(const CodecListDialog& dialog) {
    std::vector<int> widths;
    for (int column = 0; column < dialog.List()->columnCount(); ++column)
        widths.push_back(dialog.List()->columnWidth(column));
    return widths;
}

TEST(SupportedCodecsDialog, ListsRecordsInFileOrderUpToTheFirstWithoutADescription) {
    CodecDatabase empty;
    SupportedCodecsDialog none(empty, kLargeFont, nullptr);
    EXPECT_EQ(none.windowTitle(), "Supported Video Codecs - 0 Found");
    EXPECT_EQ(none.List()->topLevelItemCount(), 0);

    CodecDatabase full;
    ParseCodecText(full, Records(399));
    SupportedCodecsDialog all(full, kLargeFont, nullptr);
    EXPECT_EQ(all.windowTitle(), "Supported Video Codecs - 399 Found");
    ASSERT_EQ(all.List()->topLevelItemCount(), 399);
    EXPECT_EQ(Row(all, 0), (QStringList{"C000", "Codec 0", "Vendor 0"}));
    EXPECT_EQ(Row(all, 398), (QStringList{"C398", "Codec 398", "Vendor 398"}));

    CodecDatabase gap;
    ParseCodecText(gap, "ZZZZ\tLast\tOne\r\nAAAA\t\tNo description\r\nBBBB\tAfter\tthe gap\r\n");
    SupportedCodecsDialog cut(gap, kLargeFont, nullptr);
    EXPECT_EQ(cut.windowTitle(), "Supported Video Codecs - 1 Found");
    ASSERT_EQ(cut.List()->topLevelItemCount(), 1);
    EXPECT_EQ(Row(cut, 0), (QStringList{"ZZZZ", "Last", "One"}));
}

TEST(SupportedCodecsDialog, RowsAreBandedInThrees) {
    CodecDatabase database;
    ParseCodecText(database, Records(8));
    SupportedCodecsDialog dialog(database, kLargeFont, nullptr);
    TitleTipListCtrl& list = *dialog.List();
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(list.topLevelItem(row)->background(column).color() == kBand, row / 3 != 1)
                << "row " << row << " column " << column;

    // And so they are drawn: the right end of each Vendor cell holds no text.
    dialog.show();
    QApplication::processEvents();
    const QImage shown = list.viewport()->grab().toImage();
    auto colourAt = [&](int row) {
        const QRect cell = list.visualRect(list.model()->index(row, 1));
        return shown.pixelColor(cell.right() - 2, cell.center().y());
    };
    EXPECT_EQ(colourAt(2), kBand);
    EXPECT_NE(colourAt(3), kBand);
    EXPECT_NE(colourAt(5), kBand);
    EXPECT_EQ(colourAt(6), kBand);
}

// A decoder without a name is left out; texts are cut at 63 characters; a
// handler is looked up whole, in capitals.
ScriptedDecoders Decoders() {
    return ScriptedDecoders({{"MPEG-4 part 2", "xvid"},
                             {std::nullopt, "DIVX"},
                             {"No handler", std::nullopt},
                             {std::string(100, 'n'), "abcd" + std::string(70, 'x')}});
}

TEST(InstalledCodecsDialog, ListsEachNamedDecoderWithItsDatabaseEntry) {
    CodecDatabase database;
    ParseCodecText(database, "XviD\t" + std::string(80, 'd') + "\tXvid project\r\nABCD\tFour letters\tNobody\r\n");
    ScriptedDecoders decoders = Decoders();
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
    ScriptedDecoders decoders = Decoders();
    const std::pair<std::vector<int>, std::vector<int>> lists[] = {
        {Widths(SupportedCodecsDialog(empty, kLargeFont, nullptr)), Widths(SupportedCodecsDialog(empty, kSmallFont, nullptr))},
        {Widths(InstalledCodecsDialog(decoders, empty, kLargeFont, nullptr)),
         Widths(InstalledCodecsDialog(decoders, empty, kSmallFont, nullptr))}};
    for (const auto& [large, small] : lists) {
        ASSERT_EQ(large.size(), small.size());
        for (std::size_t column = 0; column < large.size(); ++column) EXPECT_EQ(small[column], large[column] * 3 / 4);
    }
}

}  // namespace
}  // namespace quibo::test
