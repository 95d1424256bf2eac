// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/cell_text_delegate.h"

#include <QApplication>
#include <QPainter>

namespace quibo {

void CellTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& base, const QModelIndex& index) const {
    QStyleOptionViewItem option(base);
    initStyleOption(&option, index);
    const QString text = option.text;
    // The style draws background, selection and focus; the text comes after.
    option.text.clear();
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &option, painter, option.widget);

    const int inset = index.column() == 0 ? kLabelTextInset : kSubItemTextInset;
    const QRect textRect = option.rect.adjusted(inset, 0, -inset, 0);
    QPalette::ColorGroup group = QPalette::Disabled;
    if (option.state & QStyle::State_Enabled)
        group = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    const QPalette::ColorRole role =
        (option.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;

    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, role));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

}  // namespace quibo
