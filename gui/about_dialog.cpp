// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/about_dialog.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "gui/dialog_units.h"
#include "gui/widget_builder.h"
#include "res/dialog_templates.h"

namespace quibo {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    const DialogTemplate dialog = AboutTemplate();
    setFont(DialogFont());
    DialogUnits units(font());
    setWindowTitle(QString::fromUtf8(dialog.title));
    BuildControls(dialog, units, this);
    setFixedSize(FittingSize(*this, units, dialog.width, dialog.height));
    // The OK button stays in the middle of a box the credit widened.
    for (QPushButton* button : findChildren<QPushButton*>()) button->move((width() - button->width()) / 2, button->y());
    for (QLabel* label : findChildren<QLabel*>())
        if (label->text().isEmpty())
            label->setPixmap(QIcon(QStringLiteral(":/quibo.png")).pixmap(label->size().boundedTo(QSize(32, 32))));
    for (QPushButton* button : findChildren<QPushButton*>()) connect(button, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace quibo
