// SPDX-License-Identifier: GPL-3.0-or-later
// The Details view: every stream, what the video bitstream says, the index,
// the recording date and the advice, as text to read, select and copy.
#pragma once

#include <QDialog>
#include <QString>

namespace quibo {

class DetailsDialog : public QDialog {
    Q_OBJECT
public:
    DetailsDialog(const QString& fileName, const QString& text, QWidget* parent);
};

}  // namespace quibo
