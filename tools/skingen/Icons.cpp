#include "Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <cmath>
#include <numbers>

namespace zarvin::skingen {
namespace {

constexpr double kGrid = 24;

QPainterPath Arrow(double fromX, double fromY, double toX, double toY) {
    QPainterPath path;
    path.moveTo(fromX, fromY);
    path.lineTo(toX, toY);
    const double angle = std::atan2(toY - fromY, toX - fromX);
    for (double side : {-1.0, 1.0}) {
        const double a = angle + std::numbers::pi + side * 0.7;
        path.moveTo(toX, toY);
        path.lineTo(toX + 5 * std::cos(a), toY + 5 * std::sin(a));
    }
    return path;
}

void Stroke(QPainter& painter, const QPainterPath& path) {
    painter.drawPath(path);
}

void Fill(QPainter& painter, const QPainterPath& path, const QColor& colour) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path);
    painter.restore();
}

}  // namespace

void DrawIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / kGrid, box.height() / kGrid);
    QPen pen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    QPainterPath path;
    switch (icon) {
        case Icon::Close:
            path.moveTo(7, 7);
            path.lineTo(17, 17);
            path.moveTo(17, 7);
            path.lineTo(7, 17);
            Stroke(painter, path);
            break;
        case Icon::Minimise:
            path.moveTo(7, 12.5);
            path.lineTo(17, 12.5);
            Stroke(painter, path);
            break;
        case Icon::Help:
            painter.drawEllipse(QRectF(4, 4, 16, 16));
            path.moveTo(9.6, 10);
            path.cubicTo(9.6, 7.2, 14.4, 7.2, 14.4, 10);
            path.cubicTo(14.4, 11.8, 12, 11.8, 12, 14);
            Stroke(painter, path);
            Fill(
                painter,
                [] {
                    QPainterPath dot;
                    dot.addEllipse(QPointF(12, 16.6), 1.1, 1.1);
                    return dot;
                }(),
                colour);
            break;
        case Icon::Menu:
            for (double y : {8.0, 12.0, 16.0}) {
                path.moveTo(6, y);
                path.lineTo(18, y);
            }
            Stroke(painter, path);
            break;
        case Icon::Profiles:
            path.moveTo(12, 4);
            path.lineTo(20, 8);
            path.lineTo(12, 12);
            path.lineTo(4, 8);
            path.closeSubpath();
            path.moveTo(4, 12);
            path.lineTo(12, 16);
            path.lineTo(20, 12);
            path.moveTo(4, 16);
            path.lineTo(12, 20);
            path.lineTo(20, 16);
            Stroke(painter, path);
            break;
        case Icon::Plus:
            path.moveTo(12, 6);
            path.lineTo(12, 18);
            path.moveTo(6, 12);
            path.lineTo(18, 12);
            Stroke(painter, path);
            break;
        case Icon::Trash:
            path.moveTo(5, 7);
            path.lineTo(19, 7);
            path.moveTo(10, 7);
            path.lineTo(10, 5);
            path.lineTo(14, 5);
            path.lineTo(14, 7);
            path.moveTo(7, 7);
            path.lineTo(8, 19);
            path.lineTo(16, 19);
            path.lineTo(17, 7);
            path.moveTo(10.5, 10.5);
            path.lineTo(10.5, 15.5);
            path.moveTo(13.5, 10.5);
            path.lineTo(13.5, 15.5);
            Stroke(painter, path);
            break;
        case Icon::Keyboard:
            painter.drawRoundedRect(QRectF(3, 6.5, 18, 11), 2, 2);
            for (double x : {6.5, 9.5, 12.5, 15.5}) {
                path.moveTo(x, 10);
                path.lineTo(x + 0.01, 10);
            }
            path.moveTo(8, 14);
            path.lineTo(16, 14);
            Stroke(painter, path);
            break;
        case Icon::Eraser:
            path.moveTo(9, 19);
            path.lineTo(4.5, 14.5);
            path.lineTo(14, 5);
            path.lineTo(20, 11);
            path.lineTo(12, 19);
            path.closeSubpath();
            path.moveTo(8.5, 10.5);
            path.lineTo(14.5, 16.5);
            path.moveTo(12, 19);
            path.lineTo(20, 19);
            Stroke(painter, path);
            break;
        case Icon::Globe:
            painter.drawEllipse(QRectF(4, 4, 16, 16));
            painter.drawEllipse(QRectF(8.5, 4, 7, 16));
            path.moveTo(4, 12);
            path.lineTo(20, 12);
            Stroke(painter, path);
            break;
        case Icon::Book:
            path.moveTo(12, 7);
            path.cubicTo(10, 5.5, 6, 5.5, 4, 6.5);
            path.lineTo(4, 18.5);
            path.cubicTo(6, 17.5, 10, 17.5, 12, 19);
            path.cubicTo(14, 17.5, 18, 17.5, 20, 18.5);
            path.lineTo(20, 6.5);
            path.cubicTo(18, 5.5, 14, 5.5, 12, 7);
            path.lineTo(12, 19);
            Stroke(painter, path);
            break;
        case Icon::Code:
            path.moveTo(8.5, 7.5);
            path.lineTo(4, 12);
            path.lineTo(8.5, 16.5);
            path.moveTo(15.5, 7.5);
            path.lineTo(20, 12);
            path.lineTo(15.5, 16.5);
            path.moveTo(13.5, 5.5);
            path.lineTo(10.5, 18.5);
            Stroke(painter, path);
            break;
        case Icon::ChevronLeft:
            path.moveTo(14, 6.5);
            path.lineTo(8.5, 12);
            path.lineTo(14, 17.5);
            Stroke(painter, path);
            break;
        case Icon::ChevronRight:
            path.moveTo(10, 6.5);
            path.lineTo(15.5, 12);
            path.lineTo(10, 17.5);
            Stroke(painter, path);
            break;
        case Icon::TriangleUp:
            path.moveTo(12, 6);
            path.lineTo(19, 17);
            path.lineTo(5, 17);
            path.closeSubpath();
            Fill(painter, path, colour);
            break;
        case Icon::TriangleDown:
            path.moveTo(5, 7);
            path.lineTo(19, 7);
            path.lineTo(12, 18);
            path.closeSubpath();
            Fill(painter, path, colour);
            break;
        case Icon::ArrowLeft:
            Stroke(painter, Arrow(19, 12, 5, 12));
            break;
        case Icon::ArrowRight:
            Stroke(painter, Arrow(5, 12, 19, 12));
            break;
        case Icon::ArrowUp:
            Stroke(painter, Arrow(12, 19, 12, 5));
            break;
        case Icon::ArrowDown:
            Stroke(painter, Arrow(12, 5, 12, 19));
            break;
        case Icon::Inward:
            Stroke(painter, Arrow(2.5, 12, 10, 12));
            Stroke(painter, Arrow(21.5, 12, 14, 12));
            break;
        case Icon::Outward:
            Stroke(painter, Arrow(10, 12, 2.5, 12));
            Stroke(painter, Arrow(14, 12, 21.5, 12));
            break;
        case Icon::Brush:
            path.moveTo(19.5, 4.5);
            path.lineTo(11, 13);
            Stroke(painter, path);
            {
                QPainterPath tip;
                tip.moveTo(11.5, 12.5);
                tip.cubicTo(9, 10, 5.5, 12, 6, 15.5);
                tip.cubicTo(6.2, 17.5, 5.5, 18.5, 4, 19.5);
                tip.cubicTo(8, 20.5, 12.5, 19, 12.5, 15);
                tip.closeSubpath();
                Fill(painter, tip, colour);
            }
            break;
        case Icon::Bucket:
            path.moveTo(11, 4);
            path.lineTo(19, 12);
            path.lineTo(12, 19);
            path.lineTo(4, 11);
            path.closeSubpath();
            path.moveTo(6.5, 13.5);
            path.lineTo(16.5, 13.5);
            Stroke(painter, path);
            {
                QPainterPath drop;
                drop.moveTo(20.5, 15);
                drop.cubicTo(22, 17.5, 22, 19.5, 20.5, 19.5);
                drop.cubicTo(19, 19.5, 19, 17.5, 20.5, 15);
                Fill(painter, drop, colour);
            }
            break;
        case Icon::Check:
            pen.setWidthF(2.4);
            painter.setPen(pen);
            path.moveTo(6, 12.5);
            path.lineTo(10.5, 17);
            path.lineTo(18.5, 8);
            Stroke(painter, path);
            break;
        case Icon::Record:
            path.addEllipse(QPointF(12, 12), 5, 5);
            Fill(painter, path, colour);
            break;
        case Icon::Stop:
            path.addRoundedRect(QRectF(7.5, 7.5, 9, 9), 1.5, 1.5);
            Fill(painter, path, colour);
            break;
        case Icon::Play:
            painter.drawEllipse(QRectF(3, 3, 18, 18));
            path.moveTo(10, 8);
            path.lineTo(16, 12);
            path.lineTo(10, 16);
            path.closeSubpath();
            Fill(painter, path, colour);
            break;
        case Icon::Gear:
            pen.setWidthF(3.4);
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            for (int i = 0; i < 8; ++i) {
                const double a = i * std::numbers::pi / 4;
                path.moveTo(12 + 6 * std::cos(a), 12 + 6 * std::sin(a));
                path.lineTo(12 + 9 * std::cos(a), 12 + 9 * std::sin(a));
            }
            Stroke(painter, path);
            pen.setWidthF(2.2);
            painter.setPen(pen);
            painter.drawEllipse(QPointF(12, 12), 6.2, 6.2);
            painter.drawEllipse(QPointF(12, 12), 2.4, 2.4);
            break;
        case Icon::Folder:
            path.moveTo(4, 18);
            path.lineTo(4, 6.5);
            path.lineTo(9.5, 6.5);
            path.lineTo(11.5, 8.5);
            path.lineTo(19, 8.5);
            path.lineTo(19, 11);
            path.moveTo(4, 18);
            path.lineTo(7, 11);
            path.lineTo(21, 11);
            path.lineTo(18, 18);
            path.closeSubpath();
            Stroke(painter, path);
            break;
    }
    painter.restore();
}

}  // namespace zarvin::skingen
