// SPDX-License-Identifier: GPL-3.0-or-later
// Change FourCC: the video stream's handler and compression, FFmpeg's
// decoder for them, a field for the new FourCC with the tags the same
// decoder reads to pick from, and which fields the change goes into.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "platform/fourcc_dialog.h"

namespace quibo {

class FourCCChangeDialog final : public QDialog {
    Q_OBJECT
public:
    FourCCChangeDialog(const FourCCQuestion& question, QWidget* parent);

    // After OK: the new FourCC and its fields.
    FourCCAnswer Answer() const;

    QLineEdit* FourCCField() const { return fourCC_; }
    QListWidget* Alternatives() const { return alternatives_; }
    QRadioButton* FieldChoice(FourCCFields fields) const { return choices_[static_cast<int>(fields)]; }
    QPushButton* OkButton() const { return buttons_->button(QDialogButtonBox::Ok); }

private:
    QLineEdit* fourCC_;
    QListWidget* alternatives_;
    QRadioButton* choices_[3];
    QDialogButtonBox* buttons_;
};

// The dialog the command runs, modal over the window.
class QtFourCCDialog final : public FourCCDialog {
public:
    explicit QtFourCCDialog(QWidget* owner) : owner_(owner) {}
    std::optional<FourCCAnswer> Ask(const FourCCQuestion& question) override;

private:
    QWidget* owner_;
};

}  // namespace quibo
