// SPDX-License-Identifier: GPL-3.0-or-later
// Help > About: the program's version and credit.
#pragma once

#include <QDialog>

namespace quibo {

class AboutDialog final : public QDialog {
public:
    explicit AboutDialog(QWidget* parent);
};

}  // namespace quibo
