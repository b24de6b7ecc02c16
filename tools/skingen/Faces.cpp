#include "Faces.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Theme.h"

namespace zarvin::skingen {
namespace {

struct Palette {
    QColor top;
    QColor bottom;
    QColor edge;
    QColor content;
    int sink = 0;  // pixels the content moves down (pressed)
};

Palette PaletteFor(Look look) {
    switch (look) {
        case Look::Hover:
            return {Colours().faceHover, Colours().face, WithAlpha(Colours().accent, 170),
                    Colours().textBright};
        case Look::Pressed:
            return {Colours().facePressed, Colours().facePressed, Colours().accent, Colours().accent,
                    1};
        case Look::Selected:
            return {Colours().faceSelected, Colours().accentDeep, Colours().accent,
                    Colours().accentSoft};
        case Look::Disabled:
            return {Colours().faceDisabled, Colours().faceDisabled, Colours().cardEdge,
                    Colours().textMuted};
        case Look::Sunken:
            return {Colours().facePressed, Colours().facePressed, Colours().cardEdge,
                    Colours().textSecondary, 1};
        case Look::Normal:
            break;
    }
    return {Colours().face, Colours().faceLow, Colours().faceEdge, Colours().text};
}

QPainterPath RoundedRect(const QRectF& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void DrawFace(QPainter& painter, const QPainterPath& shape, const Palette& palette,
              bool raised = true) {
    const QRectF bounds = shape.boundingRect();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A soft lower edge under every raised face; a pressed face sits flat.
    if (raised && palette.sink == 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Colours().faceShadow);
        painter.drawPath(shape.translated(0, 1.5));
    }
    QLinearGradient fill(bounds.topLeft(), bounds.bottomLeft());
    fill.setColorAt(0, palette.top);
    fill.setColorAt(1, palette.bottom);
    painter.setBrush(fill);
    painter.setPen(QPen(palette.edge, 1));
    painter.drawPath(shape);
    painter.restore();
}

}  // namespace

void DrawKeycap(QPainter& painter, const KeycapArt& art, Look look) {
    constexpr double kRadius = 5;
    const Palette palette = PaletteFor(look);
    const QRectF cap = QRectF(art.cap).adjusted(0.5, 0.5, -0.5, -1.5);
    QRectF legendArea = cap;
    if (art.topBar.isNull()) {
        DrawFace(painter, RoundedRect(cap, kRadius), palette);
    } else {
        // The ISO Enter: only its stem is the button, so the whole cap keeps its normal look
        // and a state shows inside the stem, where no seam with the upper bar can appear.
        const QRectF bar = QRectF(art.topBar).adjusted(0.5, 0.5, -0.5, -0.5);
        const QPainterPath shape =
            RoundedRect(cap, kRadius).united(RoundedRect(bar, kRadius)).simplified();
        DrawFace(painter, shape, PaletteFor(Look::Normal));
        if (look != Look::Normal) {
            DrawFace(painter, RoundedRect(cap.adjusted(2, 2, -2, -2), kRadius - 2), palette, false);
        }
        legendArea.setHeight(bar.height());
    }

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor legendColour = palette.content;
    legendArea.translate(0, palette.sink);
    // Letters, digits, symbols and numbered keys (F1-F12, G1-G9) take the large type; words
    // the small one.
    const bool numbered = (art.legend.size() == 2 || art.legend.size() == 3) &&
                          (art.legend.startsWith('F') || art.legend.startsWith('G')) &&
                          art.legend.back().isDigit();
    const bool word = art.legend.size() > 2 && !numbered;
    painter.setPen(legendColour);
    if (art.upperLegend.isEmpty()) {
        painter.setFont(UiFont(word ? 11 : 14, word ? QFont::Normal : QFont::Medium));
        painter.drawText(legendArea, Qt::AlignCenter, art.legend);
    } else {
        const QRectF upper(legendArea.left(), legendArea.top() + 3, legendArea.width(),
                           legendArea.height() / 2 - 2);
        const QRectF lower(legendArea.left(), legendArea.center().y() - 1, legendArea.width(),
                           legendArea.height() / 2 - 2);
        // The shifted symbols stay readable at 100 %: a size up and a brighter grey.
        painter.setFont(UiFont(12, QFont::Medium));
        painter.setPen(look == Look::Normal ? Colours().textLegend : legendColour);
        painter.drawText(upper, Qt::AlignCenter, art.upperLegend);
        painter.setFont(UiFont(13, QFont::Medium));
        painter.setPen(legendColour);
        painter.drawText(lower, Qt::AlignCenter, art.legend);
    }
    // An assigned key carries a small accent mark in its corner.
    if (look == Look::Selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Colours().accent);
        painter.drawEllipse(QPointF(cap.right() - 6, cap.top() + 6), 2.2, 2.2);
    }
    painter.restore();
}

void DrawButton(QPainter& painter, const ButtonArt& art, Look look) {
    const Palette palette = PaletteFor(look);
    const QRectF rect = QRectF(art.rect).adjusted(0.5, 0.5, -0.5, -1.5);
    DrawFace(painter, RoundedRect(rect, 7), palette);

    const QRectF content = rect.translated(0, palette.sink);
    constexpr double kIconSize = 18;
    constexpr double kIconGap = 6;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont font = UiFont(art.labelPixels, QFont::Medium);
    const double labelWidth =
        art.label.isEmpty() ? 0 : QFontMetricsF(font).horizontalAdvance(art.label);
    const double iconWidth = art.icon ? kIconSize : 0;
    const double gap = art.icon && !art.label.isEmpty() ? kIconGap : 0;
    // Keep in step with kCaptionIconRoom of skin/CaptionStyle.h: inset and icon within 34 pixels.
    constexpr double kIconInset = 10;
    double x = art.iconAtStart ? content.left() + kIconInset
                               : content.center().x() - (iconWidth + gap + labelWidth) / 2;
    if (art.icon) {
        const QColor iconColour =
            art.icon == Icon::Record && look != Look::Disabled ? Colours().accent : palette.content;
        DrawIcon(painter, *art.icon,
                 QRectF(x, content.center().y() - kIconSize / 2, kIconSize, kIconSize), iconColour);
        x += iconWidth + gap;
    }
    if (!art.label.isEmpty()) {
        painter.setFont(font);
        painter.setPen(palette.content);
        painter.drawText(QRectF(x, content.top(), labelWidth + 1, content.height()),
                         Qt::AlignVCenter | Qt::AlignLeft, art.label);
    }
    painter.restore();
}

void DrawIconButton(QPainter& painter, const QRect& rect, Icon icon, Look look) {
    QColor iconColour = Colours().textSecondary;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    if (look == Look::Hover || look == Look::Pressed || look == Look::Selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look == Look::Hover ? Colours().faceHover : Colours().facePressed);
        painter.drawRoundedRect(area, 7, 7);
        iconColour = look == Look::Hover ? Colours().textBright : Colours().accent;
    } else if (look == Look::Disabled) {
        iconColour = Colours().textMuted;
    }
    const double size = std::min(area.width(), area.height()) * 0.7;
    DrawIcon(painter, icon,
             QRectF(area.center().x() - size / 2, area.center().y() - size / 2, size, size),
             iconColour);
    painter.restore();
}

}  // namespace zarvin::skingen
