#pragma once

// Where everything of the composite key editor sits: the title, the on-screen keyboard and
// clear buttons, the four page buttons, the page area ("CONTROL_MASK") with the controls of
// each page, and OK, Cancel and Apply. Listed in the order the editor reads them, which is the
// order of "Composite.ini".

#include <QRect>
#include <QSize>
#include <vector>

#include "Control.h"

namespace zarvin::skingen {

enum class CompositePage { All, Key, Macro, Media, Function };

struct CompositeControl {
    Control control;
    CompositePage page;  // the page it belongs to; All for the frame around the pages
    bool pageButton = false;
};

struct CompositeLayout {
    QSize size;
    QRect pageArea;  // "CONTROL_MASK"
    std::vector<CompositeControl> controls;
};

CompositeLayout MakeCompositeLayout();

}  // namespace zarvin::skingen
