#include "skin/PngButton.h"

#include <QCursor>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QImage>
#include <QPainter>
#include <QToolTip>

#include "skin/FocusRing.h"
#include "skin/SkinAccessibility.h"

namespace zarvin {

namespace {

constexpr int kOutlinePenWidth = 2;
constexpr int kRotatedWeight = 956;

Qt::Alignment HorizontalAlignment(unsigned format) {
    if (format & text_format::kRight) {
        return Qt::AlignRight;
    }
    return format & text_format::kCentre ? Qt::AlignHCenter : Qt::AlignLeft;
}

Qt::Alignment VerticalAlignment(unsigned format) {
    // The vertical placements only apply to single-line text; other text starts at the top.
    if (!(format & text_format::kSingleLine)) {
        return Qt::AlignTop;
    }
    if (format & text_format::kBottom) {
        return Qt::AlignBottom;
    }
    return format & text_format::kVerticalCentre ? Qt::AlignVCenter : Qt::AlignTop;
}

int QtTextFlags(unsigned format) {
    int flags = static_cast<int>(HorizontalAlignment(format) | VerticalAlignment(format));
    if (format & text_format::kSingleLine) {
        flags |= Qt::TextSingleLine;
    } else if (format & text_format::kWordBreak) {
        flags |= Qt::TextWordWrap;
    }
    return flags;
}

}  // namespace

CPngButton::CPngButton(QWidget* parent) : QAbstractButton(parent) {
    // The keyboard reaches it; a click does not take the focus from where the user types.
    setFocusPolicy(Qt::TabFocus);
    tooltipTimer_.setSingleShot(true);
    tooltipTimer_.setInterval(kTooltipDelayMs);
    connect(&tooltipTimer_, &QTimer::timeout, this, &CPngButton::ShowTooltip);
}

void CPngButton::SetFaces(int originX, int originY, const ButtonFaces& faces) {
    originX_ = originX;
    originY_ = originY;
    SetStateFaces(faces);
}

void CPngButton::SetStateFaces(const ButtonFaces& faces) {
    faces_ = faces;
    hover_ = false;
    repaint();
}

void CPngButton::SetToggleFaces(const QImage* off, const QImage* on, bool toggleMode,
                                bool toggleOn) {
    faceToggleOff_ = off;
    faceToggleOn_ = on;
    toggleMode_ = toggleMode;
    toggleOn_ = toggleOn;
    hover_ = false;
    repaint();
}

void CPngButton::SetSelected(bool selected, bool draw) {
    const bool changed = selected_ != selected;
    selected_ = selected;
    if (changed && role_ != ButtonRole::Push) {
        NotifyCheckedChanged(this);
    }
    if (draw) {
        repaint();
    }
}

void CPngButton::SetOutline(const QColor& colour, int width, bool on) {
    outline_ = on;
    outlineColour_ = colour;
    outlineWidth_ = on && width > kMaxOutlineWidth ? kMaxOutlineWidth : width;
    repaint();
}

void CPngButton::SetTextStyle(bool textOn, int pointSize, const QString& faceName,
                              const ButtonTextColours& colours, unsigned format) {
    textOn_ = textOn;
    pointSize_ = pointSize;
    faceName_ = faceName;
    colours_ = colours;
    textFormat_ = format;
    update();
}

void CPngButton::SetTextRotation(int escapement, bool rotated) {
    escapement_ = escapement;
    rotated_ = rotated;
    update();
}

void CPngButton::SetTooltip(const QString& text, bool activate) {
    if (text.isEmpty()) {
        return;
    }
    if (tooltipText_ != text) {
        tooltipText_ = text;
        NotifyNameChanged(this);
    }
    tooltipActive_ = activate;
    if (!activate) {
        tooltipTimer_.stop();
        QToolTip::hideText();
    } else if (QToolTip::isVisible() && underMouse()) {
        ShowTooltip();
    }
}

void CPngButton::SetButtonRole(ButtonRole role) {
    role_ = role;
    if (role == ButtonRole::Display) {
        setFocusPolicy(Qt::NoFocus);
    }
}

QString CPngButton::SpokenName() const {
    if (!accessibleName().isEmpty()) {
        return accessibleName();
    }
    return text().isEmpty() ? tooltipText_ : text();
}

CPngButton::Look CPngButton::CurrentLook() const {
    if (!isEnabled()) {
        return {faces_.disabled, colours_.disabled};
    }
    if (toggleMode_) {
        return {toggleOn_ ? faceToggleOn_ : faceToggleOff_, colours_.normal};
    }
    if (isDown()) {
        return {faces_.pressed, colours_.pressed};
    }
    if (hover_ && !(selected_ && selectedOverHover_)) {
        return {faces_.hover, colours_.hover};
    }
    if (selected_) {
        return {faces_.selected, colours_.selected};
    }
    return {faces_.normal, colours_.normal};
}

void CPngButton::paintEvent(QPaintEvent* /*event*/) {
    const Look look = CurrentLook();
    {
        QPainter painter(this);
        if (look.face != nullptr) {
            // The face's pixels may be denser than the window's (a 2x surface).
            const qreal ratio = look.face->devicePixelRatio();
            const QRectF source((originX_ - 1) * ratio, (originY_ - 1) * ratio, width() * ratio,
                                height() * ratio);
            painter.drawImage(QRectF(0, 0, width(), height()), *look.face, source);
        }
        if (outline_) {
            // The frame runs from (1, 1) to (width - 1, height - 1), the pen centred on it.
            painter.setPen(QPen(outlineColour_, kOutlinePenWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(1.0, 1.0, width() - 2.0, height() - 2.0));
        }
        if (textOn_) {
            DrawText(painter, look.textColour);
        }
        if (hasFocus()) {
            DrawFocusRing(painter, rect());
        }
    }
    if (drawHook_) {
        drawHook_(*this, look.face == faces_.normal);
    }
}

void CPngButton::DrawText(QPainter& painter, const QColor& colour) const {
    const QString caption = text().left(kMaxTextChars);
    QFont font(faceName_);
    font.setStyleHint(QFont::SansSerif);
    if (pointSize_ > 0) {
        font.setPointSize(pointSize_);
    }
    font.setWeight(rotated_ ? static_cast<QFont::Weight>(kRotatedWeight) : QFont::Normal);
    painter.setFont(font);
    painter.setPen(colour);

    // The text turns about the centre of the place it takes unturned, so centred text stays
    // centred at any angle. The button's own edges clip it.
    const int flags = QtTextFlags(textFormat_);
    const QRectF place = painter.boundingRect(QRectF(rect()), flags, caption);
    painter.translate(place.center());
    painter.rotate(-escapement_ / 10.0);
    const int turnedFlags = static_cast<int>(HorizontalAlignment(textFormat_) | Qt::AlignVCenter) |
                            Qt::TextDontClip | (flags & (Qt::TextSingleLine | Qt::TextWordWrap));
    painter.drawText(QRectF(-place.width() / 2, -place.height() / 2, place.width(), place.height()),
                     turnedFlags, caption);
}

void CPngButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void CPngButton::enterEvent(QEnterEvent* event) {
    hover_ = true;
    tooltipActive_ = true;
    update();
    if (!tooltipText_.isEmpty()) {
        tooltipTimer_.start();
    }
    QAbstractButton::enterEvent(event);
}

void CPngButton::leaveEvent(QEvent* event) {
    hover_ = false;
    tooltipTimer_.stop();
    update();
    QAbstractButton::leaveEvent(event);
}

void CPngButton::ShowTooltip() {
    if (tooltipActive_ && underMouse()) {
        QToolTip::showText(QCursor::pos(), tooltipText_, this, rect());
    }
}

}  // namespace zarvin
