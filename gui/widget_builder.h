// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the widgets of a dialog template at their dialog-unit places.
#pragma once

#include <QMap>
#include <QWidget>

#include "gui/dialog_units.h"
#include "res/dialog_templates.h"

namespace quibo {

// Navy text on pale yellow, as every read-only field shows.
void PaintReadOnly(QWidget* widget);

// Creates the widget of one template control as a child of `parent`.
QWidget* BuildControl(const ControlTemplate& control, const DialogUnits& units, QWidget* parent);

// The template's size in pixels, grown where a control reaches further.
QSize FittingSize(const QWidget& dialog, const DialogUnits& units, int width, int height);

// Creates one widget per template control as a child of `parent`; returns
// the widgets that have an id.
QMap<int, QWidget*> BuildControls(const DialogTemplate& dialog, const DialogUnits& units, QWidget* parent);

}  // namespace quibo
