// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/info_editor_dialog.h"

#include <QEvent>
#include <QStringList>
#include <algorithm>
#include <cstring>

#include "gui/dialog_units.h"
#include "gui/widget_builder.h"
#include "info/display_text.h"
#include "res/dialog_templates.h"

namespace quibo {
namespace {

const QString kNoChange = QStringLiteral("       {no change}");
const QString kSelect = QStringLiteral("          {select}");
// The template's own item, added before the code table's.
const QString kTemplateItem = QStringLiteral("INAM: Title");

}  // namespace

void CodeListBox::hidePopup() {
    QComboBox::hidePopup();
    // The popup closes before the item clicked or entered becomes the
    // current one: say so once it has.
    QMetaObject::invokeMethod(this, &CodeListBox::closedUp, Qt::QueuedConnection);
}

InfoEditorDialog::InfoEditorDialog(const InfoFieldName* codeTable, const std::string& text, const char* code,
                                   InfoEditKind mode, QWidget* parent)
    : QDialog(parent), mode_(mode), originalText_(text) {
    std::memcpy(originalCode_, code, strnlen(code, 4));
    const DialogTemplate dialog = InfoEditorTemplate();
    setFont(DialogFont());
    DialogUnits units(font());
    setWindowTitle(QString::fromUtf8(dialog.title));

    // Built in place of the template's plain combo box, where the name
    // field is: the two share one place, one line high, and the list drops
    // down below it.
    QMap<int, QWidget*> controls = BuildControls(dialog, units, this);
    name_ = static_cast<QLineEdit*>(controls.value(editor_control::kName));
    delete controls.value(editor_control::kCodeList);
    codeList_ = new CodeListBox(this);
    codeList_->setGeometry(name_->geometry());
    codeList_->hide();
    setFixedSize(FittingSize(*this, units, dialog.width, dialog.height));

    textEdit_ = static_cast<QLineEdit*>(controls.value(editor_control::kText));
    ok_ = static_cast<QPushButton*>(controls.value(editor_control::kOk));
    change_ = static_cast<QPushButton*>(controls.value(editor_control::kChange));
    auto* cancel = static_cast<QPushButton*>(controls.value(editor_control::kCancel));
    setTabOrder(textEdit_, codeList_);
    setTabOrder(codeList_, name_);
    setTabOrder(name_, change_);
    setTabOrder(change_, ok_);
    setTabOrder(ok_, cancel);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(change_, &QPushButton::clicked, this, [this] { ShowCodeList(true, true); });
    connect(codeList_, &CodeListBox::closedUp, this, &InfoEditorDialog::OnCodeListCloseUp);
    connect(textEdit_, &QLineEdit::textEdited, this, &InfoEditorDialog::KeepWithinCapacity);
    textEdit_->installEventFilter(this);

    // Texts up to 1,023 bytes are kept whole; a longer stored text too.
    capacity_ = static_cast<int>(std::max(kInfoTextCapacity, text.size()));
    shownText_ = acceptedText_ = QString::fromStdString(DisplayText(text));
    textEdit_->setText(shownText_);
    textEdit_->selectAll();

    FillCodeList(codeTable);
    if (mode_ == InfoEditKind::Edit) {
        QString codeText = QString::fromStdString(DisplayText(std::string(code, strnlen(code, 4))));
        int found = -1;
        for (int i = 1; i < codeList_->count() && found < 0; ++i)
            if (codeList_->itemText(i).startsWith(codeText, Qt::CaseInsensitive)) found = i;
        if (found >= 0) {
            codeList_->setCurrentIndex(found);
            name_->setText(codeList_->itemText(found));
        } else {
            codeList_->setCurrentIndex(-1);
            name_->setText(codeText + QStringLiteral(": {unknown}"));
        }
        originalName_ = name_->text();
        textEdit_->setFocus();
    } else {
        textEdit_->setEnabled(false);
        ok_->setEnabled(false);
        ShowCodeList(true, false);
    }
}

void InfoEditorDialog::FillCodeList(const InfoFieldName* codeTable) {
    QStringList items{mode_ == InfoEditKind::Edit ? kNoChange : kSelect, kTemplateItem};
    for (const InfoFieldName* entry = codeTable; entry->name[0] != '\0'; ++entry)
        items << QStringLiteral("%1: %2").arg(QString::fromLatin1(entry->code), QString::fromLatin1(entry->name));
    // A sorted list: the placeholder's leading spaces put it first.
    std::stable_sort(items.begin(), items.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    codeList_->addItems(items);
}

void InfoEditorDialog::ShowCodeList(bool show, bool dropDown) {
    if (!show) {
        codeList_->hide();
        name_->show();
        return;
    }
    name_->hide();
    codeList_->show();
    codeList_->setFocus();
    codeList_->setCurrentIndex(0);
    if (dropDown) codeList_->showPopup();
}

void InfoEditorDialog::OnTextFocus() {
    int selected = codeList_->currentIndex();
    if (selected >= 0 && !codeList_->itemText(selected).startsWith(' ')) name_->setText(codeList_->itemText(selected));
    ShowCodeList(false, false);
}

void InfoEditorDialog::OnCodeListCloseUp() {
    bool chosen = codeList_->currentIndex() > 0;
    if (chosen || mode_ == InfoEditKind::Insert) {
        textEdit_->setEnabled(chosen);
        ok_->setEnabled(chosen);
    }
}

void InfoEditorDialog::KeepWithinCapacity() {
    if (textEdit_->text().toUtf8().size() > capacity_) {
        int cursor = textEdit_->cursorPosition();
        textEdit_->setText(acceptedText_);
        textEdit_->setCursorPosition(std::min(cursor, static_cast<int>(acceptedText_.size())));
        return;
    }
    acceptedText_ = textEdit_->text();
}

bool InfoEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == textEdit_ && event->type() == QEvent::FocusIn) OnTextFocus();
    return QDialog::eventFilter(watched, event);
}

void InfoEditorDialog::accept() {
    // An untouched text keeps its bytes as stored, whatever their encoding.
    text_ = textEdit_->text() == shownText_ ? originalText_ : textEdit_->text().toStdString();
    int selected = codeList_->currentIndex();
    QString nameText = codeList_->isVisible() && selected >= 0 && !codeList_->itemText(selected).startsWith(' ')
                           ? codeList_->itemText(selected)
                           : name_->text();
    std::memset(code_, 0, sizeof code_);
    if (mode_ == InfoEditKind::Edit && nameText == originalName_ && nameText.endsWith(QStringLiteral(": {unknown}"))) {
        // A code outside the list stays as its bytes were.
        std::memcpy(code_, originalCode_, 4);
    } else {
        QByteArray codeBytes = nameText.left(4).toLatin1();
        std::memcpy(code_, codeBytes.constData(), std::min<qsizetype>(codeBytes.size(), 4));
    }
    QDialog::accept();
}

bool QtInfoEditor::Run(const InfoFieldName* codeTable, std::string& text, char (&code)[5], InfoEditKind mode) {
    InfoEditorDialog dialog(codeTable, text, code, mode, owner_);
    if (dialog.exec() != QDialog::Accepted) return false;
    text = dialog.Text();
    std::memcpy(code, dialog.Code(), sizeof code);
    return true;
}

}  // namespace quibo
