// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widget_builder.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/title_tip_list_ctrl.h"
#include "gui/status_button.h"

namespace quibo {

void PaintReadOnly(QWidget* widget) {
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, QColor(0, 0, 128));
        palette.setColor(group, QPalette::Base, QColor(255, 255, 231));
    }
    widget->setPalette(palette);
}

QWidget* BuildControl(const ControlTemplate& control, const DialogUnits& units, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::GroupBox:
            widget = new QGroupBox(text, parent);
            break;
        case ControlKind::Label:
            widget = new QLabel(text, parent);
            break;
        case ControlKind::Edit:
            widget = new QLineEdit(parent);
            break;
        case ControlKind::ReadOnlyEdit: {
            auto* edit = new QLineEdit(parent);
            edit->setReadOnly(true);
            PaintReadOnly(edit);
            widget = edit;
            break;
        }
        case ControlKind::StatusButton:
            widget = new StatusButton(parent);
            break;
        case ControlKind::PushButton:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            button->setDefault(control.kind == ControlKind::DefaultButton);
            widget = button;
            break;
        }
        case ControlKind::List: {
            auto* list = new TitleTipListCtrl(parent);
            list->setRootIsDecorated(false);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setSelectionBehavior(QAbstractItemView::SelectRows);
            list->setUniformRowHeights(true);
            list->setSortingEnabled(false);
            widget = list;
            break;
        }
        case ControlKind::ComboBox:
            widget = new QComboBox(parent);
            break;
        case ControlKind::Line: {
            auto* line = new QFrame(parent);
            line->setFrameShape(QFrame::HLine);
            line->setStyleSheet(QStringLiteral("color: black; background: black;"));
            widget = line;
            break;
        }
        case ControlKind::Icon:
            widget = new QLabel(parent);
            break;
    }
    widget->setGeometry(units.Rect(control.x, control.y, control.width, control.height));
    // A label is never cut: fonts wider than the one the template was drawn
    // for make it longer.
    if (control.kind == ControlKind::Label) widget->resize(widget->size().expandedTo(widget->sizeHint()));
    return widget;
}

QSize FittingSize(const QWidget& dialog, const DialogUnits& units, int width, int height) {
    const QRect used = dialog.childrenRect();
    return QSize(units.X(width), units.Y(height)).expandedTo(QSize(used.right() + units.X(5), used.bottom() + units.Y(5)));
}

QMap<int, QWidget*> BuildControls(const DialogTemplate& dialog, const DialogUnits& units, QWidget* parent) {
    QMap<int, QWidget*> byId;
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = BuildControl(control, units, parent);
        if (control.id >= 0) byId.insert(control.id, widget);
    }
    return byId;
}

}  // namespace quibo
