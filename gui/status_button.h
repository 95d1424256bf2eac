// SPDX-License-Identifier: GPL-3.0-or-later
// A flat push-like check box: pressed while it carries a message. Only the
// program presses or releases it; a click by the user changes nothing.
#pragma once

#include <QPushButton>

namespace quibo {

class StatusButton final : public QPushButton {
public:
    explicit StatusButton(QWidget* parent) : QPushButton(parent) {
        setCheckable(true);
        setFlat(true);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void nextCheckState() override {}
};

}  // namespace quibo
