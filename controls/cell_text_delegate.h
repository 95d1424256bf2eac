// SPDX-License-Identifier: GPL-3.0-or-later
// Draws a list cell's text where the title tip draws it: the first column's
// text a few pixels in from its label's left edge, the other columns' a
// little further in, each cut with "..." when it does not fit. So a tip lies
// exactly over the text it completes.
#pragma once

#include <QStyledItemDelegate>

namespace quibo {

// Gap between a first-column label's left edge and its text.
inline constexpr int kLabelTextInset = 3;
// Gap between the left edge of a cell of a later column and its text.
inline constexpr int kSubItemTextInset = 6;

class CellTextDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace quibo
