// SPDX-License-Identifier: GPL-3.0-or-later
// The INFO Chunk Editor: the field's code (a read-only name field, or the
// sorted code list in its place) and its text.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "info/info_editor.h"

namespace quibo {

// A combo box that says when its drop-down list closes.
class CodeListBox final : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void hidePopup() override;
signals:
    void closedUp();
};

class InfoEditorDialog final : public QDialog {
    Q_OBJECT
public:
    // `text` and `code` are the field's bytes; `mode` Edit or Insert.
    InfoEditorDialog(const InfoFieldName* codeTable, const std::string& text, const char* code, InfoEditKind mode,
                     QWidget* parent);

    // After OK: the new text and code.
    const std::string& Text() const { return text_; }
    const char* Code() const { return code_; }

    QLineEdit* NameField() const { return name_; }
    QLineEdit* TextField() const { return textEdit_; }
    CodeListBox* CodeList() const { return codeList_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* ChangeButton() const { return change_; }

    // The text field keeps at most this many bytes of UTF-8.
    int TextCapacity() const { return capacity_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillCodeList(const InfoFieldName* codeTable);
    void ShowCodeList(bool show, bool dropDown);
    void OnTextFocus();
    void OnCodeListCloseUp();
    void KeepWithinCapacity();

    InfoEditKind mode_;
    std::string originalText_;
    char originalCode_[5] = {};
    QString originalName_;
    QString shownText_;
    QString acceptedText_;
    int capacity_;
    std::string text_;
    char code_[5] = {};

    QLineEdit* name_ = nullptr;
    QLineEdit* textEdit_ = nullptr;
    CodeListBox* codeList_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* change_ = nullptr;
};

// The editor the edit commands run: this dialog, modal over the window.
class QtInfoEditor final : public InfoEditor {
public:
    explicit QtInfoEditor(QWidget* owner) : owner_(owner) {}
    bool Run(const InfoFieldName* codeTable, std::string& text, char (&code)[5], InfoEditKind mode) override;

private:
    QWidget* owner_;
};

}  // namespace quibo
