#pragma once

// The program's icon: the tray icon's keyboard glyph in the accent orange on the window's dark
// tile. The shapes are kept as data on a 256 × 256 grid so that the PNGs and the SVG are one
// drawing.

#include <QImage>
#include <QString>

namespace zarvin::icongen {

QImage RenderAppIcon(int size);
QString AppIconSvg();

}  // namespace zarvin::icongen
