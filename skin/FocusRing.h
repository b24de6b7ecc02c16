#pragma once

// The focus ring of the skinned controls: a rounded frame in the skin's accent colour, drawn
// just inside the control while it has the keyboard focus. The colour is the accent of the
// colour scheme in use (ColourSchemeLook).

#include <QColor>
#include <QRect>

class QPainter;

namespace zarvin {

QColor FocusRingColour();
void SetFocusRingColour(const QColor& colour);

void DrawFocusRing(QPainter& painter, const QRect& area);

}  // namespace zarvin
