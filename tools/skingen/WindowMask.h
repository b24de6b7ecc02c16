#pragma once

// A window's mask: black where the window is, pure white outside its rounded corners. Drawn
// without smoothing, so every pixel is either exactly white or black.

#include <QImage>
#include <QSize>

namespace zarvin::skingen {

QImage MakeWindowMask(QSize size);

}  // namespace zarvin::skingen
