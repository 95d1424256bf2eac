// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/title_tip_list_ctrl.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "controls/cell_text_delegate.h"

namespace quibo {

TitleTipListCtrl::TitleTipListCtrl(QWidget* parent) : QTreeWidget(parent), tip_(new TitleTipWnd(this)) {
    setItemDelegate(new CellTextDelegate(this));
    // Columns stay in their order, so a cell's place is the sum of the
    // widths before it.
    header()->setSectionsMovable(false);
    // The focus frame spans the row the click selects.
    setAllColumnsShowFocus(true);
    viewport()->setMouseTracking(true);
    // A tip left behind by scrolling would stand over another cell.
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, tip_, &TitleTipWnd::HideTip);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, tip_, &TitleTipWnd::HideTip);
}

void TitleTipListCtrl::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const int horizontal = horizontalScrollBar()->value();
    QTreeWidget::scrollTo(index, hint);
    horizontalScrollBar()->setValue(horizontal);
}

bool TitleTipListCtrl::AddColumnTip(int column, const QString& text) {
    if (column < 0 || column >= columnCount()) return false;
    headerItem()->setToolTip(column, text);
    return true;
}

int TitleTipListCtrl::HitTestCell(const QPoint& point, QRect* cell, int* column) const {
    const int rowLeft = header()->sectionViewportPosition(0);
    const int rowRight = rowLeft + header()->length();
    const QModelIndex index = indexAt(QPoint(rowLeft, point.y()));
    if (!index.isValid() || point.x() < rowLeft || point.x() >= rowRight) return -1;
    const int clientRight = viewport()->width();
    if (point.x() >= clientRight) return -1;

    const QRect row = visualRect(index);
    int left = rowLeft;
    for (int c = 0; c < columnCount(); ++c) {
        const int width = columnWidth(c);
        // Both edges belong to the column; the first column tried wins.
        if (point.x() >= left && point.x() <= left + width) {
            *column = c;
            *cell = QRect(QPoint(left, row.top()), QPoint(std::min(left + width, clientRight) - 1, row.bottom()));
            return index.row();
        }
        left += width;
    }
    return -1;
}

void TitleTipListCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (tip_->isVisible() && !tip_->HoverRect().contains(point)) tip_->HideTip();
    const bool unpressed =
        event->buttons() == Qt::NoButton && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (unpressed && tip_->isHidden()) ShowCellTip(point);
    QTreeWidget::mouseMoveEvent(event);
}

bool TitleTipListCtrl::viewportEvent(QEvent* event) {
    // Showing the tip may itself take the mouse out of the viewport; only
    // a mouse that has left the cell ends it.
    if (event->type() == QEvent::Leave) tip_->HideIfMouseLeftCell();
    return QTreeWidget::viewportEvent(event);
}

void TitleTipListCtrl::ShowCellTip(const QPoint& point) {
    QRect cell;
    int column = 0;
    const int row = HitTestCell(point, &cell, &column);
    if (row < 0) return;
    // The first column's text starts from its label, which an indent moves.
    const int textOffset = column == 0 ? visualRect(model()->index(row, 0)).left() - cell.left() + kLabelTextInset
                                       : kSubItemTextInset;
    cell.setTop(cell.top() - 1);
    tip_->ShowTitleTip(cell, topLevelItem(row)->text(column), textOffset - 1);
}

}  // namespace quibo
