#include "ControlArt.h"

#include <QPainter>
#include <QPainterPath>

#include "Faces.h"
#include "Surfaces.h"
#include "Theme.h"
#include "model/KeyboardLayout.h"

namespace zarvin::skingen {
namespace {

void DrawLockLight(QPainter& painter, const Control& control, Look look) {
    const bool lit = look == Look::Selected;
    const QRectF area(control.rect);
    const QPointF light(area.center().x(), area.top() + 8);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    if (lit) {
        painter.setBrush(WithAlpha(Colours().accent, 60));
        painter.drawEllipse(light, 7, 7);
    }
    painter.setBrush(lit ? Colours().accent : QColor(0x3a, 0x3f, 0x48));
    painter.drawEllipse(light, 3.5, 3.5);
    painter.setFont(UiFont(10));
    painter.setPen(lit ? Colours().text : Colours().textSecondary);
    painter.drawText(QRectF(area.left(), area.top() + 14, area.width(), area.height() - 14),
                     Qt::AlignHCenter | Qt::AlignVCenter, control.label);
    painter.restore();
}

// Two halves, F1-F4 and D1-D6; the selected look lights the second.
void DrawFlipDisplay(QPainter& painter, const Control& control, Look look) {
    const QRectF area = QRectF(control.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool second = look == Look::Selected;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Colours().faceEdge, 1));
    painter.setBrush(Colours().well);
    painter.drawRoundedRect(area, 7, 7);
    const QRectF first(area.left(), area.top(), area.width() / 2, area.height());
    const QRectF other = first.translated(area.width() / 2, 0);
    const QRectF active = (second ? other : first).adjusted(2, 2, -2, -2);
    painter.setPen(QPen(Colours().accent, 1));
    painter.setBrush(Colours().accentDeep);
    painter.drawRoundedRect(active, 5, 5);
    painter.setFont(UiFont(10, QFont::Medium));
    painter.setPen(second ? Colours().textSecondary : Colours().text);
    painter.drawText(first, Qt::AlignCenter, QStringLiteral("F1\u2013F4"));
    painter.setPen(second ? Colours().text : Colours().textSecondary);
    painter.drawText(other, Qt::AlignCenter, QStringLiteral("D1\u2013D6"));
    painter.restore();
}

void DrawBrand(QPainter& painter, const Control& control, Look look) {
    const QRectF area(control.rect);
    const QRectF mark(area.left(), area.center().y() - 13, 26, 26);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look == Look::Pressed ? Colours().accentSoft : Colours().accent);
    painter.drawRoundedRect(mark, 7, 7);
    QPainterPath zed;
    zed.moveTo(mark.left() + 8, mark.top() + 8.5);
    zed.lineTo(mark.right() - 8, mark.top() + 8.5);
    zed.lineTo(mark.left() + 8, mark.bottom() - 8.5);
    zed.lineTo(mark.right() - 8, mark.bottom() - 8.5);
    painter.setPen(QPen(Colours().window, 2.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(zed);

    QFont font = UiFont(17, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
    painter.setFont(font);
    painter.setPen(look == Look::Hover     ? Colours().textBright
                   : look == Look::Pressed ? Colours().accent
                                           : Colours().text);
    painter.drawText(QRectF(mark.right() + 10, area.top(), area.width() - 36, area.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("ZARVIN"));
    painter.restore();
}

}  // namespace

void DrawControl(QPainter& painter, const Control& control, Look look) {
    switch (control.art) {
        case Art::Nothing:
            return;
        case Art::Keycap: {
            KeycapArt art;
            art.cap = control.rect;
            art.topBar = control.topBar;
            // A key of the layout table, or one that only the skin has (D1-D6): its label.
            art.legend = control.key != nullptr ? QString::fromUtf8(control.key->legend)
                                                : control.label;
            art.upperLegend =
                control.key != nullptr ? QString::fromUtf8(control.key->upperLegend) : QString();
            DrawKeycap(painter, art, look);
            return;
        }
        case Art::Button:
            DrawButton(painter,
                       {control.rect, control.label, control.icon, 12, control.windowCaption},
                       look);
            return;
        case Art::IconButton:
            DrawIconButton(painter, control.rect, *control.icon, look);
            return;
        case Art::Well:
            DrawWell(painter, control.rect);
            return;
        case Art::LockLight:
            DrawLockLight(painter, control, look);
            return;
        case Art::FlipDisplay:
            DrawFlipDisplay(painter, control, look);
            return;
        case Art::Brand:
            DrawBrand(painter, control, look);
            return;
        case Art::Title:
            DrawHeading(painter, control.rect, control.label, 17, Colours().text,
                        Qt::AlignLeft | Qt::AlignVCenter);
            return;
    }
}

}  // namespace zarvin::skingen
