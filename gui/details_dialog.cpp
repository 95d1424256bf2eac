// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/details_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace quibo {

DetailsDialog::DetailsDialog(const QString& fileName, const QString& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Details - ") + fileName);
    auto* view = new QPlainTextEdit(text, this);
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view);
    layout->addWidget(buttons);
    // Wide enough for a stream's line at the default font; resizable.
    resize(view->fontMetrics().averageCharWidth() * 110, view->fontMetrics().height() * 24);
}

}  // namespace quibo
