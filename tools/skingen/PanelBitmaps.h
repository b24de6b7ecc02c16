#pragma once

// The lighting panel's own pictures, each under the file name the panel loads: the colour
// chips, the slider pictures (one per position), the busy frames, the lighting switch, the
// direction arrows, the option colours, the multicolour check boxes and the user-mode tools.
// Each is drawn on the colour of the surface it sits on, so it needs no transparency.

#include <QImage>
#include <string>
#include <vector>

namespace zarvin::skingen {

struct NamedPicture {
    std::string name;
    QImage image;
};

std::vector<NamedPicture> PaintPanelBitmaps();

}  // namespace zarvin::skingen
