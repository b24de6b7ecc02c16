#include "AppIcon.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <vector>

namespace zarvin::icongen {
namespace {

constexpr double kGrid = 256;
const QColor kTileTop(0x24, 0x27, 0x2e);
const QColor kTileBottom(0x13, 0x15, 0x19);
const QColor kAccent(0xff, 0x82, 0x00);
constexpr QRectF kTile(16, 16, 224, 224);
constexpr double kTileRadius = 44;

// The glyph is drawn on the tray icon's 24-unit grid, placed in the middle of the tile.
constexpr double kGlyphScale = 8;
constexpr double kGlyphOffset = 32;

struct RoundedRect {
    QRectF rect;
    double radius;
};

RoundedRect OnTile(double x, double y, double width, double height, double radius) {
    return {QRectF(kGlyphOffset + x * kGlyphScale, kGlyphOffset + y * kGlyphScale,
                   width * kGlyphScale, height * kGlyphScale),
            radius * kGlyphScale};
}

// A keyboard seen from above: its body, and the key caps and space bar cut out of it.
RoundedRect KeyboardBody() {
    return OnTile(1, 5, 22, 14, 2.5);
}

std::vector<RoundedRect> KeyboardHoles() {
    std::vector<RoundedRect> holes;
    for (const double y : {7.5, 11.0}) {
        for (double x = 3.5; x < 20; x += 3.5) {
            holes.push_back(OnTile(x, y, 2.5, 2.5, 0.5));
        }
    }
    holes.push_back(OnTile(7, 14.5, 10, 2.5, 0.5));
    return holes;
}

QString Number(double value) {
    return QString::number(value, 'g', 6);
}

// One closed rounded rectangle as SVG path data, clockwise.
QString PathData(const RoundedRect& shape) {
    const QRectF& r = shape.rect;
    const QString arc = QStringLiteral("A%1,%1 0 0 1 ").arg(Number(shape.radius));
    return QStringLiteral("M%1,%2 H%3 %4%5,%6 V%7 %4%3,%8 H%1 %4%9,%7 V%6 %4%1,%2 Z")
        .arg(Number(r.left() + shape.radius), Number(r.top()), Number(r.right() - shape.radius),
             arc, Number(r.right()), Number(r.top() + shape.radius),
             Number(r.bottom() - shape.radius), Number(r.bottom()), Number(r.left()));
}

}  // namespace

QImage RenderAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);

    QLinearGradient tile(kTile.topLeft(), kTile.bottomLeft());
    tile.setColorAt(0, kTileTop);
    tile.setColorAt(1, kTileBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(kTile, kTileRadius, kTileRadius);

    const RoundedRect body = KeyboardBody();
    QPainterPath glyph;
    glyph.addRoundedRect(body.rect, body.radius, body.radius);
    QPainterPath holes;
    for (const RoundedRect& hole : KeyboardHoles()) {
        holes.addRoundedRect(hole.rect, hole.radius, hole.radius);
    }
    painter.fillPath(glyph.subtracted(holes), kAccent);
    painter.end();
    return image;
}

QString AppIconSvg() {
    QString glyph = PathData(KeyboardBody());
    for (const RoundedRect& hole : KeyboardHoles()) {
        glyph += QLatin1Char(' ') + PathData(hole);
    }
    QString svg;
    svg += QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
               "viewBox=\"0 0 %1 %1\">\n")
               .arg(Number(kGrid));
    svg += QStringLiteral(
               "  <defs><linearGradient id=\"tile\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
               "<stop offset=\"0\" stop-color=\"%1\"/><stop offset=\"1\" stop-color=\"%2\"/>"
               "</linearGradient></defs>\n")
               .arg(kTileTop.name(), kTileBottom.name());
    svg += QStringLiteral(
               "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" "
               "fill=\"url(#tile)\"/>\n")
               .arg(Number(kTile.x()), Number(kTile.y()), Number(kTile.width()),
                    Number(kTile.height()), Number(kTileRadius));
    // Even-odd filling turns the key caps inside the body into holes.
    svg += QStringLiteral("  <path fill=\"%1\" fill-rule=\"evenodd\" d=\"%2\"/>\n")
               .arg(kAccent.name(), glyph);
    svg += QStringLiteral("</svg>\n");
    return svg;
}

}  // namespace zarvin::icongen
