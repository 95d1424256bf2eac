// Builds the widgets of a dialog template at their dialog-unit places.
#pragma once

#include <QMap>
#include <QWidget>

#include "gui/dialog_units.h"
#include "res/dialog_templates.h"

namespace quibo {

// Navy text on pale yellow, as every read-only field shows.
void PaintReadOnly(QWidget* widget);

// Creates one widget per template control as a child of `parent`; returns
// the widgets that have an id.
QMap<int, QWidget*> BuildControls(const DialogTemplate& dialog, const DialogUnits& units, QWidget* parent);

}  // namespace quibo
