#pragma once

// The tool tips' look without a style sheet: a field in the scheme's pop-up colour with a
// one-pixel edge, as the plain controls' sheet draws them. The skinned buttons carry no sheet,
// and a tool tip takes the style of the widget it is shown for.

#include <QColor>

namespace zarvin {

struct ToolTipColours {
    QColor background;
    QColor text;
    QColor edge;
};

// Wraps the application's style so that tool tips are drawn in `colours`.
void UseToolTipLook(const ToolTipColours& colours);

}  // namespace zarvin
