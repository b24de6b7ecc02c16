#pragma once

// The main window's pictures: its background and its four state images.

#include <QImage>

#include "MainLayout.h"

namespace zarvin::skingen {

enum class MainImage { Background, Normal, Over, Down, Disable };

QImage PaintMainWindow(const MainLayout& layout, MainImage image);

// "Arrow.jpg": the up and down arrow of each indicator at the origins of the layout.
QImage PaintArrowImage(const MainLayout& layout);

}  // namespace zarvin::skingen
