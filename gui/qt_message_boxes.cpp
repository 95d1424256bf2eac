// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/qt_message_boxes.h"

#include <QMessageBox>

namespace quibo {
namespace {

QMessageBox::Icon IconFor(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop: return QMessageBox::Critical;
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsFor(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

}  // namespace

MessageAnswer QtMessageBoxes::Show(const Message& message) {
    QMessageBox box(IconFor(message.icon), QString::fromStdString(message.caption),
                    QString::fromStdString(message.text), ButtonsFor(message.buttons), owner_);
    // Closing the box without a button is Cancel where there is one.
    box.setEscapeButton(message.buttons == MessageButtons::Ok ? QMessageBox::Ok : QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Cancel: return MessageAnswer::Cancel;
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        default: return MessageAnswer::Ok;
    }
}

}  // namespace quibo
