// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/title_tip_wnd.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace quibo {
namespace {

const QColor kTipBackground(235, 255, 235);

bool IsMouseEvent(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

}  // namespace

TitleTipWnd::TitleTipWnd(QAbstractScrollArea* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), owner_(owner) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
}

void TitleTipWnd::ShowTitleTip(const QRect& cell, const QString& text, int offset) {
    if (cell.isEmpty() || QApplication::activeWindow() == nullptr) return;
    const QFont font = owner_->font();
    const int textWidth = QFontMetrics(font).horizontalAdvance(text);
    if (textWidth <= cell.width() - 2 * offset - 2) return;

    hoverRect_ = cell;
    text_ = text;
    setFont(font);
    const QPoint topLeft = owner_->viewport()->mapToGlobal(cell.topLeft());
    QRect tip(topLeft.x() + offset - kMargin, topLeft.y(), textWidth + 2 * kMargin + 2, cell.height());
    // A text wider than the screen wraps and the tip grows downwards, on
    // the screen whatever the text.
    const QRect screen = owner_->screen()->availableGeometry();
    textFlags_ = Qt::AlignLeft | Qt::AlignVCenter;
    if (tip.right() > screen.right()) {
        tip.setRight(screen.right());
        tip.setLeft(std::max(screen.left(), std::min(tip.left(), screen.right() + 1 - cell.width())));
        textFlags_ = Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere;
        const QRect text = QFontMetrics(font).boundingRect(QRect(0, 0, tip.width() - 2 * kMargin - 2, screen.height()),
                                                             textFlags_, text_);
        tip.setHeight(std::min(std::max(cell.height(), text.height() + 2), screen.height()));
        if (tip.bottom() > screen.bottom()) tip.moveBottom(screen.bottom());
    }
    setGeometry(tip);
    if (isHidden()) qApp->installEventFilter(this);
    show();
    raise();
    update();
}

void TitleTipWnd::HideTip() {
    if (isHidden()) return;
    qApp->removeEventFilter(this);
    hide();
}

void TitleTipWnd::HideIfMouseLeftCell() {
    if (!hoverRect_.contains(owner_->viewport()->mapFromGlobal(QCursor::pos()))) HideTip();
}

bool TitleTipWnd::event(QEvent* event) {
    if (IsMouseEvent(event->type())) {
        ForwardMouse(static_cast<QMouseEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        ForwardContextMenu(static_cast<QContextMenuEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::Leave) HideIfMouseLeftCell();
    return QWidget::event(event);
}

// A key, the wheel or a window of the program losing the focus ends the
// tip; the event itself goes on to where it was going.
bool TitleTipWnd::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::Wheel:
        case QEvent::WindowDeactivate:
        case QEvent::ApplicationDeactivate:
            HideTip();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void TitleTipWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kTipBackground);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    // The row below the frame's top line is the cell's own height, so the
    // text stands where the cell shows it.
    painter.drawText(rect().adjusted(1 + kMargin, 1, -1, 0), textFlags_, text_);
}

void TitleTipWnd::ForwardMouse(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool followsPress = !press && (type == QEvent::MouseButtonRelease || event->buttons() != Qt::NoButton);
    QWidget* target = followsPress && pressTarget_ ? pressTarget_.data() : WidgetBelow(global);
    if (press)
        pressTarget_ = target;
    else if (type == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton)
        pressTarget_ = nullptr;
    // Over the list's items the tip stays (the list hides it once the mouse
    // leaves the cell); anywhere else it goes.
    if (target != owner_->viewport()) HideTip();
    if (target == nullptr) return;
    if (type == QEvent::MouseButtonPress) GiveClickFocus(target);
    QMouseEvent forwarded(type, target->mapFromGlobal(global), global, event->button(), event->buttons(),
                          event->modifiers());
    QCoreApplication::sendEvent(target, &forwarded);
}

void TitleTipWnd::ForwardContextMenu(QContextMenuEvent* event) {
    QWidget* target = WidgetBelow(event->globalPos());
    if (target != owner_->viewport()) HideTip();
    if (target == nullptr) return;
    QContextMenuEvent forwarded(event->reason(), target->mapFromGlobal(event->globalPos()), event->globalPos(),
                                event->modifiers());
    QCoreApplication::sendEvent(target, &forwarded);
}

// A click gives the focus to the first of the widget and its parents that
// takes it on a click, as a click straight on the widget would.
void TitleTipWnd::GiveClickFocus(QWidget* target) {
    for (QWidget* widget = target; widget != nullptr; widget = widget->parentWidget()) {
        QWidget* taker = widget->focusProxy() ? widget->focusProxy() : widget;
        if (taker->isEnabled() && (taker->focusPolicy() & Qt::ClickFocus)) {
            taker->setFocus(Qt::MouseFocusReason);
            return;
        }
        if (widget->isWindow()) return;
    }
}

QWidget* TitleTipWnd::WidgetBelow(const QPoint& global) const {
    QWidget* window = owner_->window();
    const QPoint point = window->mapFromGlobal(global);
    if (!window->rect().contains(point)) return nullptr;
    QWidget* child = window->childAt(point);
    return child ? child : window;
}

}  // namespace quibo
