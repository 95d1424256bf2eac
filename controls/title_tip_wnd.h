// SPDX-License-Identifier: GPL-3.0-or-later
// The title tip: a borderless window with a thin frame that shows the whole
// text of a list cell too narrow for it, laid exactly over the cell in the
// list's font and reaching right as far as the text needs, or, for a text
// wider than the screen, wrapped within the screen.
//
// The tip hands each mouse event on to the widget beneath it, so a click on
// the tip selects the row under it and a move over it reaches the list.
#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QWidget>

namespace quibo {

class TitleTipWnd final : public QWidget {
public:
    // Gap between the tip's left edge and its text.
    static constexpr int kMargin = 2;

    // The tip of `owner`'s cells, a child of it that starts hidden.
    explicit TitleTipWnd(QAbstractScrollArea* owner);

    // Shows `text` over `cell` (owner viewport coordinates) when it is wider
    // than the cell less `offset` on each side and 2 pixels; does nothing
    // when it fits, when the cell is empty or when the program is not the
    // active one.
    void ShowTitleTip(const QRect& cell, const QString& text, int offset);
    void HideTip();
    // Hides the tip once the mouse is no longer over its cell.
    void HideIfMouseLeftCell();

    // The cell the shown tip stands for, in owner viewport coordinates.
    QRect HoverRect() const { return hoverRect_; }
    const QString& Text() const { return text_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ForwardMouse(QMouseEvent* event);
    void ForwardContextMenu(QContextMenuEvent* event);
    static void GiveClickFocus(QWidget* target);
    QWidget* WidgetBelow(const QPoint& global) const;

    QAbstractScrollArea* owner_;
    QRect hoverRect_;
    QString text_;
    int textFlags_ = Qt::AlignLeft | Qt::AlignVCenter;
    // The widget a forwarded press went to: it gets the moves and the
    // release that follow, as the pressed widget would.
    QPointer<QWidget> pressTarget_;
};

}  // namespace quibo
