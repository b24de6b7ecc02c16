#pragma once

// The still parts of every window: the body with its rounded outline, cards that group
// controls, dividers, the recessed wells that edit boxes, lists and combo boxes sit in, and
// headings drawn into the picture.

#include <QColor>
#include <QPainterPath>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace zarvin::skingen {

inline constexpr int kWindowRadius = 14;
inline constexpr int kCardRadius = 12;

// The window's outline: the rounded rectangle that its mask keeps.
QPainterPath WindowOutline(QSize size);

void DrawWindowBody(QPainter& painter, QSize size);
void DrawCard(QPainter& painter, const QRect& rect);
void DrawVerticalDivider(QPainter& painter, int x, int top, int bottom);
void DrawHorizontalDivider(QPainter& painter, int y, int left, int right);
void DrawWell(QPainter& painter, const QRect& rect);
void DrawHeading(QPainter& painter, const QRect& rect, const QString& text, int pixelSize,
                 const QColor& colour, int flags);

}  // namespace zarvin::skingen
