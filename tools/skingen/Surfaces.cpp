#include "Surfaces.h"

#include <QPainter>

#include "Theme.h"

namespace zarvin::skingen {

QPainterPath WindowOutline(QSize size) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), kWindowRadius, kWindowRadius);
    return path;
}

void DrawWindowBody(QPainter& painter, QSize size) {
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), Colours().window);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Colours().windowEdge, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1),
                            kWindowRadius - 0.5, kWindowRadius - 0.5);
    painter.restore();
}

void DrawCard(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Colours().cardEdge, 1));
    painter.setBrush(Colours().card);
    painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), kCardRadius, kCardRadius);
    painter.restore();
}

void DrawVerticalDivider(QPainter& painter, int x, int top, int bottom) {
    painter.fillRect(QRect(x, top, 1, bottom - top), Colours().divider);
}

void DrawHorizontalDivider(QPainter& painter, int y, int left, int right) {
    painter.fillRect(QRect(left, y, right - left, 1), Colours().divider);
}

void DrawWell(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Colours().wellEdge, 1));
    painter.setBrush(Colours().well);
    painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.restore();
}

void DrawHeading(QPainter& painter, const QRect& rect, const QString& text, int pixelSize,
                 const QColor& colour, int flags) {
    painter.save();
    painter.setFont(UiFont(pixelSize, QFont::DemiBold));
    painter.setPen(colour);
    painter.drawText(rect, flags, text);
    painter.restore();
}

}  // namespace zarvin::skingen
