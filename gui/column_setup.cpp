// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/column_setup.h"

#include <QHeaderView>

namespace quibo {

void SetUpColumns(TitleTipListCtrl& list, std::span<const ListColumn> columns, const DialogUnits& mainUnits) {
    list.setColumnCount(static_cast<int>(columns.size()));
    QStringList headings;
    for (const ListColumn& column : columns) headings << QString::fromUtf8(column.heading);
    list.setHeaderLabels(headings);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const ListColumn& column = columns[static_cast<std::size_t>(i)];
        list.setColumnWidth(i, mainUnits.ColumnWidth(column.width));
        list.AddColumnTip(i, QString::fromUtf8(column.tooltip));
    }
    list.header()->setSectionsClickable(false);
    list.header()->setStretchLastSection(false);
}

}  // namespace quibo
