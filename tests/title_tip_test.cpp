// SPDX-License-Identifier: GPL-3.0-or-later
// The list control: when a cell's title tip shows, where, and what ends it; and the tooltips of the column headings.
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <tuple>

#include "controls/title_tip_list_ctrl.h"

namespace quibo::test {
namespace {

constexpr int kWidths[] = {80, 100, 300};  // the last runs past the list's right edge
constexpr int kLastStart = kWidths[0] + kWidths[1];

class TitleTipTest : public testing::Test {
protected:
    void SetUp() override {
        // Flat, with columns of fixed widths, as the program's lists are.
        list.setRootIsDecorated(false);
        list.header()->setStretchLastSection(false);
        list.setHeaderLabels({"Code", "Name", "Contents"});
        for (int column : {0, 1, 2}) list.setColumnWidth(column, kWidths[column]);
        for (int row = 0; row < 3; ++row) list.addTopLevelItem(new QTreeWidgetItem(QStringList{"a", "b", "c"}));
        list.resize(320, 200);
        list.show();
        list.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    }
    void TearDown() override { QToolTip::hideText(); }

    QRect Cell(int row, int column) const {
        return list.visualRect(list.model()->index(row, column)).intersected(list.viewport()->rect());
    }
    void SetText(int row, int column, const QString& text) { list.topLevelItem(row)->setText(column, text); }
    void Move(QPoint point, Qt::MouseButtons buttons = Qt::NoButton, Qt::KeyboardModifiers modifiers = {}) {
        QMouseEvent move(QEvent::MouseMove, point, list.viewport()->mapToGlobal(point), Qt::NoButton, buttons,
                         modifiers);
        QApplication::sendEvent(list.viewport(), &move);
    }
    // Shows the tip of a cell whose text cannot fit.
    void ShowTipOver(int row, int column) {
        SetText(row, column, QString(200, 'W'));
        Move(Cell(row, column).center());
        ASSERT_TRUE(Tip().isVisible());
    }
    TitleTipWnd& Tip() const { return *list.TitleTip(); }
    int Advance(const QString& text) const { return QFontMetrics(list.font()).horizontalAdvance(text); }
    // The tooltip the heading shows when the mouse rests at `x`.
    QString HeadingTipAt(int x) {
        const QPoint point(x, list.header()->height() / 2);
        QHelpEvent help(QEvent::ToolTip, point, list.header()->viewport()->mapToGlobal(point));
        QApplication::sendEvent(list.header()->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    TitleTipListCtrl list;
};

// Text stands 6 pixels into a later column and nearer its edge in the first: it may be 12, or 6, pixels narrower
// than its cell. The tip lays the whole text over the cell's own.
TEST_F(TitleTipTest, TextExactlyAsWideAsTheCellAllowsShowsNoTipOnePixelMoreDoes) {
    const QString text = QStringLiteral("Quibo sample title");
    const int width = Advance(text);
    for (const auto& [column, room, tipLeft] : {std::tuple{0, 6, 0}, std::tuple{1, 12, 3}}) {
        SetText(0, column, text);
        list.setColumnWidth(column, width + room);
        Move(Cell(0, column).center());
        EXPECT_FALSE(Tip().isVisible()) << column;
        list.setColumnWidth(column, width + room - 1);
        const QRect cell = Cell(0, column);
        Move(cell.center());
        ASSERT_TRUE(Tip().isVisible()) << column;
        EXPECT_EQ(Tip().Text(), text);
        const QPoint onScreen = list.viewport()->mapToGlobal(cell.topLeft());
        EXPECT_EQ(Tip().geometry(), QRect(onScreen.x() + tipLeft, onScreen.y() - 1, width + 6, cell.height() + 1));
        EXPECT_EQ(Tip().HoverRect(), cell.adjusted(0, -1, 0, 0));
        EXPECT_EQ(Tip().grab().toImage().pixelColor(1, 1), QColor(235, 255, 235));
        Tip().HideTip();
    }
}

TEST_F(TitleTipTest, NoTipWhileAButtonShiftOrCtrlIsHeldLeavingTheCellOrAKeyHidesIt) {
    SetText(2, 1, QString(200, 'W'));
    const QPoint point = Cell(2, 1).center();
    for (const auto& [buttons, modifiers] : {std::pair<Qt::MouseButtons, Qt::KeyboardModifiers>{Qt::LeftButton, {}},
             {Qt::RightButton, {}}, {Qt::NoButton, Qt::ShiftModifier}, {Qt::NoButton, Qt::ControlModifier}})
        Move(point, buttons, modifiers);
    EXPECT_FALSE(Tip().isVisible());
    Move(point, Qt::NoButton, Qt::AltModifier);
    EXPECT_TRUE(Tip().isVisible());

    ShowTipOver(0, 1);
    Move(Cell(0, 1).center() + QPoint(8, 0));
    EXPECT_TRUE(Tip().isVisible());
    Move(Cell(1, 1).center());
    EXPECT_FALSE(Tip().isVisible());

    // The tip coming up under the mouse takes it off the viewport, not off the cell.
    ShowTipOver(0, 1);
    QEvent leave(QEvent::Leave);
    for (const auto& [cursor, kept] : {std::pair{list.viewport()->mapToGlobal(Cell(0, 1).center()), true},
                                       std::pair{list.mapToGlobal(QPoint(-40, -40)), false}}) {
        QCursor::setPos(cursor);
        QApplication::processEvents();
        QApplication::sendEvent(list.viewport(), &leave);
        EXPECT_EQ(Tip().isVisible(), kept);
    }

    ShowTipOver(0, 1);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_FALSE(Tip().isVisible());
}

TEST_F(TitleTipTest, CellsEndAtTheLastColumnAndTheListsEdge) {
    QRect cell;
    int column = -1;
    // A column's right edge is still its own.
    EXPECT_EQ(list.HitTestCell(QPoint(kWidths[0], Cell(2, 0).center().y()), &cell, &column), 2);
    EXPECT_EQ(column, 0);

    const int visible = list.viewport()->width() - kLastStart;
    ASSERT_LT(visible, kWidths[2]);
    const QPoint inLast = Cell(0, 2).center();
    ASSERT_EQ(list.HitTestCell(inLast, &cell, &column), 0);
    EXPECT_EQ(cell.width(), visible);
    // A tip shows for a text that fits the whole column but not the part of it on show.
    QString fits;
    while (Advance(fits + 'x') <= visible - 12) fits += 'x';
    for (const auto& [text, shown] : {std::pair{fits, false}, std::pair{fits + "xx", true}}) {
        SetText(0, 2, text);
        Move(inLast);
        EXPECT_EQ(Tip().isVisible(), shown);
    }
    Tip().HideTip();

    list.setColumnWidth(2, 40);
    const QPoint pastLast(kLastStart + 60, inLast.y());
    EXPECT_EQ(list.HitTestCell(pastLast, &cell, &column), -1);
    SetText(0, 2, QString(200, 'W'));
    Move(pastLast);
    EXPECT_FALSE(Tip().isVisible());
}

// A click selects the row without scrolling sideways, on the tip the row below it, keeping the tip.
TEST_F(TitleTipTest, AClickSelectsTheRowOnTheTipTheRowBelow) {
    list.setColumnWidth(2, 1000);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, Cell(1, 2).center());
    EXPECT_EQ(list.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(list.currentIndex().row(), 1);
    EXPECT_TRUE(list.allColumnsShowFocus());  // the focus frame spans the row

    ShowTipOver(2, 1);
    list.clearFocus();
    // Over the cell: the rest of the tip reaches past the list, and wraps at the screen's edge.
    EXPECT_TRUE(list.screen()->availableGeometry().contains(Tip().geometry()));
    const QPoint onTip(10, Cell(2, 1).height() / 2);
    QTest::mouseClick(&Tip(), Qt::LeftButton, {}, onTip);
    EXPECT_EQ(list.selectedItems(), QList<QTreeWidgetItem*>{list.topLevelItem(2)});
    EXPECT_TRUE(list.hasFocus());
    EXPECT_TRUE(Tip().isVisible());

    // A right-click asks the list for its context menu at that point.
    QPoint asked(-1, -1);
    list.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&list, &QWidget::customContextMenuRequested, [&asked](const QPoint& pos) { asked = pos; });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, onTip, Tip().mapToGlobal(onTip));
    QApplication::sendEvent(&Tip(), &menu);
    EXPECT_EQ(asked, list.viewport()->mapFromGlobal(Tip().mapToGlobal(onTip)));
}

TEST_F(TitleTipTest, HeadingTooltipsFollowAWidenedColumn) {
    const char* tips[] = {"code tip", "name tip", "contents tip", "no such column"};
    for (int column : {0, 1, 2, 3}) EXPECT_EQ(list.AddColumnTip(column, tips[column]), column < 3) << column;
    EXPECT_EQ(HeadingTipAt(kLastStart + 10), "contents tip");
    EXPECT_EQ(HeadingTipAt(10), "code tip");
    list.setColumnWidth(1, kWidths[1] + 20);
    EXPECT_EQ(HeadingTipAt(kLastStart + 10), "name tip");
    EXPECT_EQ(HeadingTipAt(kLastStart + 30), "contents tip");
}

}  // namespace
}  // namespace quibo::test
