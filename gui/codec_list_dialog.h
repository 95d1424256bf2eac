// SPDX-License-Identifier: GPL-3.0-or-later
// What the two codec list dialogs share: a template with a list and a
// Cancel button, the list's columns, and rows banded in threes.
#pragma once

#include <QDialog>
#include <QStringList>
#include <span>
#include <string_view>

#include "controls/title_tip_list_ctrl.h"
#include "gui/dialog_units.h"
#include "res/dialog_templates.h"
#include "res/list_columns.h"

namespace quibo {

// Bytes of the codec database or the platform as a cell shows them.
QString CellText(std::string_view bytes);

class CodecListDialog : public QDialog {
public:
    TitleTipListCtrl* List() const { return list_; }

protected:
    // `mainUnits`: the main window's, which decide the column widths.
    CodecListDialog(const DialogTemplate& layout, std::span<const ListColumn> columns, const DialogUnits& mainUnits,
                    QWidget* parent);

    // Adds a row after the others. Rows go in bands of three, light green
    // from the first band on, every other band.
    void AppendRow(const QStringList& cells);

private:
    TitleTipListCtrl* list_;
};

}  // namespace quibo
