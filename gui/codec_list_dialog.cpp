// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/codec_list_dialog.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "gui/column_setup.h"
#include "gui/widget_builder.h"
#include "info/display_text.h"

namespace quibo {
namespace {

const QColor kBandBackground(224, 255, 224);
constexpr int kBandRows = 3;

}  // namespace

QString CellText(std::string_view bytes) { return QString::fromStdString(DisplayText(bytes)); }

CodecListDialog::CodecListDialog(const DialogTemplate& layout, std::span<const ListColumn> columns,
                                 const DialogUnits& mainUnits, QWidget* parent)
    : QDialog(parent) {
    setFont(DialogFont());
    DialogUnits units(font());
    setWindowTitle(QString::fromUtf8(layout.title));
    QMap<int, QWidget*> controls = BuildControls(layout, units, this);
    list_ = static_cast<TitleTipListCtrl*>(controls.value(codec_list_control::kList));
    SetUpColumns(*list_, columns, mainUnits);
    auto* cancel = static_cast<QPushButton*>(controls.value(codec_list_control::kCancel));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // The template's size to start with; the list grows with the dialog.
    auto* column = new QVBoxLayout(this);
    column->addWidget(list_, 1);
    column->addWidget(cancel, 0, Qt::AlignRight);
    resize(units.X(layout.width), units.Y(layout.height));
}

void CodecListDialog::AppendRow(const QStringList& cells) {
    auto* item = new QTreeWidgetItem(cells);
    if (list_->topLevelItemCount() / kBandRows % 2 == 0)
        for (int column = 0; column < cells.size(); ++column) item->setBackground(column, kBandBackground);
    list_->addTopLevelItem(item);
}

}  // namespace quibo
