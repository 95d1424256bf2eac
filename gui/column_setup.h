// SPDX-License-Identifier: GPL-3.0-or-later
// A list's columns from a column table: headings, widths and heading tips.
#pragma once

#include <span>

#include "controls/title_tip_list_ctrl.h"
#include "gui/dialog_units.h"
#include "res/list_columns.h"

namespace quibo {

// Widths are the table's, three quarters of them when `mainUnits` (the
// main window's) say the dialog font is small. The headings do not sort.
void SetUpColumns(TitleTipListCtrl& list, std::span<const ListColumn> columns, const DialogUnits& mainUnits);

}  // namespace quibo
