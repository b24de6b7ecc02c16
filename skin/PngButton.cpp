#include "skin/PngButton.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "skin/FocusRing.h"
#include "skin/SkinAccessibility.h"

namespace zarvin {

namespace {

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

// Whether `caption` in `font`, laid out with `flags`, fits `area`.
bool Fits(const QFont& font, int flags, const QRectF& area, const QString& caption) {
    const QRectF needed = QFontMetricsF(font).boundingRect(area, flags, caption);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

// Shrinks `font` a little, then lets `caption` break at its words and shrinks it further, and
// breaks inside a word only where one word alone is wider than `area` at the least size; `flags`
// then say how it breaks. A font without a point size is left as it is.
void FitCaption(QFont& font, int& flags, const QRectF& area, const QString& caption) {
    constexpr qreal kStep = 0.5;
    const qreal full = font.pointSizeF();
    if (full <= 0) {
        return;
    }
    const qreal oneLineLeast =
        std::max(full * CPngButton::kOneLineShrink, CPngButton::kMinFitPoints);
    for (qreal points = full; points >= oneLineLeast; points -= kStep) {
        font.setPointSizeF(points);
        if (QFontMetricsF(font).horizontalAdvance(caption) <= area.width()) {
            return;
        }
    }
    const int lines = flags & ~Qt::TextSingleLine;
    for (const int wrap : {int(Qt::TextWordWrap), int(Qt::TextWrapAnywhere)}) {
        flags = lines | wrap;
        for (qreal points = full; points >= CPngButton::kMinFitPoints; points -= kStep) {
            font.setPointSizeF(points);
            if (Fits(font, flags, area, caption)) {
                return;
            }
        }
    }
    font.setPointSizeF(CPngButton::kMinFitPoints);
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
    CutFaces();
    UpdateOpaque();
    repaint();
}

void CPngButton::SetToggleFaces(const QImage* off, const QImage* on, bool toggleMode,
                                bool toggleOn) {
    faceToggleOff_ = off;
    faceToggleOn_ = on;
    toggleMode_ = toggleMode;
    toggleOn_ = toggleOn;
    hover_ = false;
    CutFaces();
    UpdateOpaque();
    repaint();
}

void CPngButton::SetSelected(bool selected, bool draw) {
    const bool changed = selected_ != selected;
    selected_ = selected;
    if (changed && role_ != ButtonRole::Push) {
        NotifyCheckedChanged(this);
    }
    if (draw && changed) {
        update();
    }
}

void CPngButton::SetOutline(const QColor& colour, int width, bool on) {
    if (ChangeOutline(colour, width, on)) {
        update();
    }
}

bool CPngButton::ChangeOutline(const QColor& colour, int width, bool on) {
    const bool changed = outline_ != on || (on && outlineColour_ != colour);
    outline_ = on;
    outlineColour_ = colour;
    outlineWidth_ = on && width > kMaxOutlineWidth ? kMaxOutlineWidth : width;
    return changed;
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

void CPngButton::SetTextMargins(const QMargins& margins) {
    textMargins_ = margins;
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

bool CPngButton::CoveredByEveryFace() const {
    const auto covers = [this](const QImage* face) { return pieces_.Covers(face); };
    if (toggleMode_) {
        return covers(faceToggleOff_) && covers(faceToggleOn_) && covers(faces_.disabled);
    }
    return covers(faces_.normal) && covers(faces_.hover) && covers(faces_.pressed) &&
           covers(faces_.disabled) && covers(faces_.selected);
}

void CPngButton::CutFaces() {
    // The face is the rectangle of the button's size one pixel up and left of the origin.
    pieces_.Place(QPoint(originX_ - 1, originY_ - 1), size());
    for (const QImage* face : {faces_.normal, faces_.hover, faces_.pressed, faces_.disabled,
                               faces_.selected, faceToggleOff_, faceToggleOn_}) {
        pieces_.Cut(face);
    }
}

// A button that paints every one of its pixels spares the window painting its background
// beneath it first: with the preview's keys changing 20 times a second that was most of the
// window's drawing.
void CPngButton::UpdateOpaque() {
    setAttribute(Qt::WA_OpaquePaintEvent, CoveredByEveryFace());
}

void CPngButton::resizeEvent(QResizeEvent* event) {
    CutFaces();
    UpdateOpaque();
    QAbstractButton::resizeEvent(event);
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
        pieces_.Draw(painter, look.face);
        if (outline_) {
            DrawOutlineFrame(painter, rect(), outlineColour_);
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

// The frame of a 2-pixel pen along (1, 1) to (width - 1, height - 1): the two outermost rows
// and columns, filled as four bands rather than stroked: the pixels of the preview layer's mask.
void CPngButton::DrawOutlineFrame(QPainter& painter, const QRect& area, const QColor& colour) {
    const int band = kOutlineFrameWidth;
    painter.fillRect(area.x(), area.y(), area.width(), band, colour);
    painter.fillRect(area.x(), area.bottom() + 1 - band, area.width(), band, colour);
    painter.fillRect(area.x(), area.y() + band, band, area.height() - 2 * band, colour);
    painter.fillRect(area.right() + 1 - band, area.y() + band, band, area.height() - 2 * band,
                     colour);
}

void CPngButton::DrawText(QPainter& painter, const QColor& colour) const {
    const QString caption = text().left(kMaxTextChars);
    QFont font(faceName_);
    font.setStyleHint(QFont::SansSerif);
    if (pointSize_ > 0) {
        font.setPointSize(pointSize_);
    }
    font.setWeight(rotated_ ? static_cast<QFont::Weight>(kRotatedWeight) : QFont::Normal);
    const QRectF area = QRectF(rect().marginsRemoved(textMargins_));
    int flags = QtTextFlags(textFormat_);
    if (textFormat_ & text_format::kFit) {
        FitCaption(font, flags, area, caption);
    }
    painter.setFont(font);
    painter.setPen(colour);

    // The text turns about the centre of the place it takes unturned, so centred text stays
    // centred at any angle. The button's own edges clip it.
    QRectF place = painter.boundingRect(area, flags, caption);
    if (textFormat_ & text_format::kVerticalCentre) {
        // A caption that had to break stays centred as one line would.
        place.moveCenter(QPointF(place.center().x(), area.center().y()));
    }
    // Turned for the text only: the focus ring is drawn after it, square to the button.
    painter.save();
    painter.translate(place.center());
    painter.rotate(-escapement_ / 10.0);
    const int turnedFlags =
        static_cast<int>(HorizontalAlignment(textFormat_) | Qt::AlignVCenter) | Qt::TextDontClip |
        (flags & (Qt::TextSingleLine | Qt::TextWordWrap | Qt::TextWrapAnywhere));
    painter.drawText(QRectF(-place.width() / 2, -place.height() / 2, place.width(), place.height()),
                     turnedFlags, caption);
    painter.restore();
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
