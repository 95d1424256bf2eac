// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialog_units.h"

#include <QFontMetrics>
#include <QGuiApplication>

namespace quibo {

QFont DialogFont() {
    QFont font = QGuiApplication::font();
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    QFontMetrics metrics(font);
    // Average width of the 52 letters, rounded as the platform rounds it.
    int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = (letters / 26 + 1) / 2;
    baseHeight_ = metrics.height();
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    int left = X(x), top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

}  // namespace quibo
