#include "skin/FocusRing.h"

#include <QPainter>
#include <QPen>

namespace zarvin {

namespace {

constexpr qreal kRingWidth = 2.0;
constexpr qreal kRingRadius = 4.0;

QColor& RingColour() {
    static QColor colour(0xff, 0x82, 0x00);
    return colour;
}

}  // namespace

QColor FocusRingColour() {
    return RingColour();
}

void SetFocusRingColour(const QColor& colour) {
    if (colour.isValid()) {
        RingColour() = colour;
    }
}

void DrawFocusRing(QPainter& painter, const QRect& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(RingColour(), kRingWidth));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = kRingWidth / 2;
    painter.drawRoundedRect(QRectF(area).adjusted(inset, inset, -inset, -inset), kRingRadius,
                            kRingRadius);
    painter.restore();
}

}  // namespace zarvin
