#pragma once

// Where everything of the main window sits: the keyboard (from the shared layout table), the
// header with the profile controls, the lighting panel and the footer. "Main.ini" lists the
// controls area by area in this order.

#include <QRect>
#include <QSize>
#include <vector>

#include "Control.h"
#include "SkinFile.h"

namespace zarvin::skingen {

struct MainLayout {
    QSize size;
    QRect keyboardCard;
    QRect lightingCard;
    std::vector<int> lightingDividers;  // x of the lines between the panel's columns
    std::vector<Control> controls;      // "BUTTONINFO"
    // "BUTTONINFO2": where the arrow indicators' pictures lie in "Arrow.jpg". The picture of an
    // indicator is cut at (x - 1, y - 1), like every face.
    std::vector<LayoutRect> arrowOrigins;
    QSize arrowImageSize;
    // "BUTTONINFO2" too: where the faces of D1-D6 lie in the state images.
    std::vector<LayoutRect> faceOrigins;
    // The state images are taller than the window by this strip, which holds the faces of the
    // controls with a face origin of their own (the window's surfaces keep a margin for it).
    int faceStripHeight = 0;
};

MainLayout MakeMainLayout();

}  // namespace zarvin::skingen
