// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/fourcc_change_dialog.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/codec_list_dialog.h"
#include "gui/dialog_units.h"

namespace quibo {

FourCCChangeDialog::FourCCChangeDialog(const FourCCQuestion& question, QWidget* parent) : QDialog(parent) {
    setFont(DialogFont());
    setWindowTitle(QStringLiteral("Change FourCC"));
    auto* facts = new QFormLayout;
    facts->addRow(QStringLiteral("Handler:"), new QLabel(CellText(question.handler)));
    facts->addRow(QStringLiteral("Compression:"), new QLabel(CellText(question.compression)));
    facts->addRow(QStringLiteral("FFmpeg decoder:"),
                  new QLabel(question.decoder.empty() ? QStringLiteral("none installed") : CellText(question.decoder)));
    fourCC_ = new QLineEdit;
    fourCC_->setMaxLength(4);
    fourCC_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[ -~]{0,4}")), fourCC_));
    facts->addRow(QStringLiteral("&New FourCC:"), fourCC_);

    // The tags the same decoder reads: a retag to one of them still plays.
    alternatives_ = new QListWidget;
    for (const FourCCAlternative& tag : question.sameDecoder) {
        auto* item = new QListWidgetItem(CellText(tag.fourCC + "  " + tag.description), alternatives_);
        item->setData(Qt::UserRole, QString::fromLatin1(tag.fourCC.c_str()));
    }
    connect(alternatives_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item != nullptr) fourCC_->setText(item->data(Qt::UserRole).toString());
    });
    auto* alternativesLabel = new QLabel(
        question.sameDecoder.empty() ? QStringLiteral("No other known tag is read by the same decoder.")
                                     : QStringLiteral("&Tags the same decoder reads:"));
    alternativesLabel->setBuddy(alternatives_);

    auto* group = new QButtonGroup(this);
    auto* where = new QHBoxLayout;
    const char* labels[] = {"&Both", "&Handler only", "&Compression only"};
    for (int i = 0; i < 3; ++i) {
        choices_[i] = new QRadioButton(QString::fromUtf8(labels[i]));
        group->addButton(choices_[i]);
        where->addWidget(choices_[i]);
    }
    choices_[0]->setChecked(true);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto enableOk = [this] { OkButton()->setEnabled(fourCC_->text().size() == 4); };
    connect(fourCC_, &QLineEdit::textChanged, this, enableOk);
    enableOk();

    auto* column = new QVBoxLayout(this);
    column->addLayout(facts);
    column->addWidget(alternativesLabel);
    column->addWidget(alternatives_, 1);
    column->addLayout(where);
    column->addWidget(buttons_);
    if (question.sameDecoder.empty()) alternatives_->hide();
    // Without a decoder there is no tag to keep to; the line above says so.
    if (question.decoder.empty()) alternativesLabel->hide();
    // Wide enough for every tag's description.
    alternatives_->setMinimumWidth(alternatives_->sizeHintForColumn(0) + 2 * alternatives_->frameWidth() +
                                   alternatives_->verticalScrollBar()->sizeHint().width());
}

FourCCAnswer FourCCChangeDialog::Answer() const {
    FourCCAnswer answer{fourCC_->text().toStdString(), FourCCFields::Both};
    for (FourCCFields fields : {FourCCFields::Handler, FourCCFields::Compression})
        if (FieldChoice(fields)->isChecked()) answer.fields = fields;
    return answer;
}

std::optional<FourCCAnswer> QtFourCCDialog::Ask(const FourCCQuestion& question) {
    FourCCChangeDialog dialog(question, owner_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Answer();
}

}  // namespace quibo
