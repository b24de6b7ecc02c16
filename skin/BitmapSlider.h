#pragma once

// CBitmapSlider: the brightness and speed sliders of the lighting panel. The slider draws no
// track or thumb of its own: it shows one picture, which the owner swaps for the one that matches
// the position, and takes the picture's size.
//
// Input, all of it ignored while the widget is disabled:
//   left button down      take the focus, start dragging, arm the wheel; when the pointer's
//                         pixel is not the position's pixel, move to the pointer's position
//   mouse move, dragging  the same
//   left button up        stop dragging, report the position
//   Page Up / Page Down   position - page size / + page size
//   Home / End            minimum / maximum
//   Left, Up / Right, Down  position - 1 / + 1
//   wheel, once armed     a notch (120) away from the user - 1, towards the user + 1; parts of
//                         a notch from fine wheels and touchpads count once they add up to one.
//                         The wheel stays armed from a button press until the pointer leaves
//
// The slider takes the focus from the keyboard and from a click, and shows the focus ring while
// it has it.
//
// Every position is clamped to [minimum, maximum]. Each key, wheel turn, press or drag step that
// moves to the pointer, and each release reports the position, changed or not:
// Moved(controlId, position) is the window message 0x28D1 (wParam the control id, lParam the
// position) and, like a posted message, it is delivered from the event loop after the input has
// been handled. Positions set by the owner are not reported.

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace zarvin {

// The pixel of a position: trunc((position - minimum) / (maximum - minimum) * width).
// 0 for an empty range.
int SliderPixelOfPosition(int position, int minimum, int maximum, int width);

// The position under pixel x: trunc(minimum + (x + 10) / width * (maximum - minimum)), not
// clamped. The minimum for a slider without width.
int SliderPositionOfPixel(int x, int minimum, int maximum, int width);

class CBitmapSlider : public QWidget {
    Q_OBJECT

public:
    explicit CBitmapSlider(int controlId, QWidget* parent = nullptr);

    int ControlId() const { return controlId_; }

    // A range whose maximum lies below its minimum is taken as the minimum alone.
    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    void SetPageSize(int pageSize) { pageSize_ = pageSize; }
    int PageSize() const { return pageSize_; }
    void SetPosition(int position);
    int Position() const { return position_; }
    // A position chosen by the user through assistive technology: clamped and reported like
    // a key press.
    void MoveByUser(int position);

    // Shows the picture and resizes the slider to it.
    void SetBitmap(const QPixmap& bitmap);
    // The same from a picture file; false, keeping the present picture, when it cannot be read.
    bool SetBitmap(const QString& file);

signals:
    void Moved(int controlId, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void FollowPointer(int x);
    void MoveBy(int steps);
    void MoveTo(int position);
    void PostPosition();

    const int controlId_;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int pageSize_ = 10;
    QPixmap bitmap_;
    bool dragging_ = false;
    bool pointerOver_ = false;
    // Turns of a fine-grained wheel or touchpad that do not yet make a whole notch.
    int wheelRemainder_ = 0;
};

}  // namespace zarvin
