#include "skin/BitmapSlider.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>

#include "skin/FocusRing.h"

namespace zarvin {

namespace {

// One notch of a standard mouse wheel.
constexpr int kWheelNotch = 120;

// Truncates toward zero; values beyond int's range stop at its ends.
int TruncateToInt(double value) {
    return static_cast<int>(std::clamp(std::trunc(value), double{INT_MIN}, double{INT_MAX}));
}

}  // namespace

int SliderPixelOfPosition(int position, int minimum, int maximum, int width) {
    if (maximum == minimum) {
        return 0;
    }
    const double fraction =
        (static_cast<double>(position) - minimum) / (static_cast<double>(maximum) - minimum);
    return TruncateToInt(fraction * width);
}

int SliderPositionOfPixel(int x, int minimum, int maximum, int width) {
    if (width <= 0) {
        return minimum;
    }
    const double fraction = (static_cast<double>(x) + 10) / width;
    return TruncateToInt(minimum + fraction * (static_cast<double>(maximum) - minimum));
}

CBitmapSlider::CBitmapSlider(int controlId, QWidget* parent)
    : QWidget(parent), controlId_(controlId) {
    setFocusPolicy(Qt::StrongFocus);
}

void CBitmapSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    SetPosition(position_);
}

void CBitmapSlider::SetPosition(int position) {
    const int clamped = std::clamp(position, minimum_, maximum_);
    if (clamped != position_ && QAccessible::isActive()) {
        position_ = clamped;
        QAccessibleValueChangeEvent event(this, clamped);
        QAccessible::updateAccessibility(&event);
    }
    position_ = clamped;
    update();
}

void CBitmapSlider::MoveByUser(int position) {
    MoveTo(std::clamp(position, minimum_, maximum_));
}

void CBitmapSlider::SetBitmap(const QPixmap& bitmap) {
    bitmap_ = bitmap;
    resize(bitmap_.deviceIndependentSize().toSize());
    update();
}

bool CBitmapSlider::SetBitmap(const QString& file) {
    QPixmap bitmap;
    if (!bitmap.load(file)) {
        return false;
    }
    SetBitmap(bitmap);
    return true;
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    if (pointerOver_) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
    painter.drawPixmap(0, 0, bitmap_);
    if (hasFocus()) {
        DrawFocusRing(painter, rect());
    }
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    pointerOver_ = true;
    FollowPointer(event->position().toPoint().x());
    update();
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        FollowPointer(event->position().toPoint().x());
    }
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    PostPosition();
}

void CBitmapSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageUp:
            MoveBy(-pageSize_);
            break;
        case Qt::Key_PageDown:
            MoveBy(pageSize_);
            break;
        case Qt::Key_Home:
            MoveTo(minimum_);
            break;
        case Qt::Key_End:
            MoveTo(maximum_);
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
            MoveBy(-1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            MoveBy(1);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void CBitmapSlider::wheelEvent(QWheelEvent* event) {
    if (!pointerOver_) {
        event->ignore();
        return;
    }
    // A standard wheel turns in whole notches of 120; finer wheels and touchpads send parts of
    // one, which count once they add up to a notch.
    wheelRemainder_ += event->angleDelta().y();
    const int notchesAway = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ %= kWheelNotch;
    if (notchesAway != 0) {
        MoveBy(-notchesAway);
    }
}

void CBitmapSlider::leaveEvent(QEvent*) {
    pointerOver_ = false;
    wheelRemainder_ = 0;
    update();
}

void CBitmapSlider::FollowPointer(int x) {
    if (x == SliderPixelOfPosition(position_, minimum_, maximum_, width())) {
        return;
    }
    MoveTo(SliderPositionOfPixel(x, minimum_, maximum_, width()));
}

void CBitmapSlider::MoveBy(int steps) {
    const long long target = static_cast<long long>(position_) + steps;
    MoveTo(static_cast<int>(std::clamp<long long>(target, minimum_, maximum_)));
}

void CBitmapSlider::MoveTo(int position) {
    SetPosition(position);
    PostPosition();
}

void CBitmapSlider::PostPosition() {
    QMetaObject::invokeMethod(
        this, [this, position = position_] { emit Moved(controlId_, position); },
        Qt::QueuedConnection);
}

}  // namespace zarvin
