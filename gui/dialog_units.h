// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog units to pixels from the dialog font, the way the platform's
// dialog-unit mapping does: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height.
#pragma once

#include <QFont>
#include <QRect>

namespace quibo {

// The desktop's sans-serif font at 8 point.
QFont DialogFont();

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseWidth, int baseHeight) : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

    int X(int units) const { return units * baseWidth_ / 4; }
    int Y(int units) const { return units * baseHeight_ / 8; }
    QRect Rect(int x, int y, int width, int height) const;
    // Whether 100 horizontal units measure fewer than 175 pixels: list
    // columns are then three quarters of their nominal width.
    bool SmallFont() const { return X(100) < 175; }
    int ColumnWidth(int nominal) const { return SmallFont() ? nominal * 3 / 4 : nominal; }

private:
    int baseWidth_;
    int baseHeight_;
};

}  // namespace quibo
