// SPDX-License-Identifier: GPL-3.0-or-later
// The program's list control: a flat report list whose cells show their
// whole text in a title tip when they are too narrow for it, and whose
// column headings carry tooltips.
#pragma once

#include <QTreeWidget>

#include "controls/title_tip_wnd.h"

namespace quibo {

class TitleTipListCtrl : public QTreeWidget {
public:
    explicit TitleTipListCtrl(QWidget* parent = nullptr);

    // Makes `text` the tooltip of column `column`'s heading; false when
    // there is no such column. The tip moves with its column.
    bool AddColumnTip(int column, const QString& text);
    // The row whose cell lies under `point` (viewport coordinates), with
    // the cell, cut at the viewport's right edge, and its column; -1 when
    // the point is on no cell.
    int HitTestCell(const QPoint& point, QRect* cell, int* column) const;

    TitleTipWnd* TitleTip() const { return tip_; }

    // Scrolls only vertically: a click on a wide cell keeps the first
    // columns in view.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void ShowCellTip(const QPoint& point);

    TitleTipWnd* tip_;
};

}  // namespace quibo
