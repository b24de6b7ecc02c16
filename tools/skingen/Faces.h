#pragma once

// The looks of the controls that state images show: key caps, framed buttons (with a baked
// label, an icon, both, or neither when the window writes the text itself), frameless icon
// buttons, and segments of a segmented control.

#include <QRect>
#include <QString>
#include <optional>

#include "Icons.h"
#include "Look.h"

class QPainter;

namespace zarvin::skingen {

struct KeycapArt {
    QRect cap;            // the button's rectangle
    QRect topBar;         // ISO Enter: the upper bar that reaches left over the button; else null
    QString legend;       // main legend
    QString upperLegend;  // shifted symbol above it, or empty
};

void DrawKeycap(QPainter& painter, const KeycapArt& art, Look look);

struct ButtonArt {
    QRect rect;
    QString label;
    std::optional<Icon> icon;
    int labelPixels = 13;
    // The icon at the left end, leaving the rest for a caption the window writes.
    bool iconAtStart = false;
};

void DrawButton(QPainter& painter, const ButtonArt& art, Look look);

// An icon with no frame until the pointer rests on it.
void DrawIconButton(QPainter& painter, const QRect& rect, Icon icon, Look look);

}  // namespace zarvin::skingen
