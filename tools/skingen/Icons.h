#pragma once

// Small line icons drawn on a 24 x 24 grid and scaled into any square.

#include <QColor>
#include <QRectF>

class QPainter;

namespace zarvin::skingen {

enum class Icon {
    Close,
    Minimise,
    Help,
    Menu,
    Profiles,
    Plus,
    Trash,
    Keyboard,
    Eraser,
    Globe,
    Book,
    Code,
    ChevronLeft,
    ChevronRight,
    TriangleUp,
    TriangleDown,
    ArrowLeft,
    ArrowRight,
    ArrowUp,
    ArrowDown,
    Inward,
    Outward,
    Brush,
    Bucket,
    Check,
    Record,
    Stop,
    Play,
    Gear,
    Folder,
};

void DrawIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& colour);

}  // namespace zarvin::skingen
