// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes as Qt shows them, owned by the main window.
#pragma once

#include <QWidget>

#include "platform/message_boxes.h"

namespace quibo {

class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}
    MessageAnswer Show(const Message& message) override;

private:
    QWidget* owner_;
};

}  // namespace quibo
