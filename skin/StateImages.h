#pragma once

// State images: pictures as large as a whole window, each showing the window's controls in one
// visual state, from which image buttons cut their faces (CPngButton). Each is copied unscaled,
// pixel for pixel from its top-left corner, into a surface as large as the window's client area
// plus kStateSurfaceMargin pixels in each direction; what the image does not cover stays black.
//
// A window keeps its surfaces while its buttons point at them, and makes them anew each time it
// initialises (assigning into the same QImage objects keeps the buttons' pointers valid).

#include <QImage>
#include <QSize>
#include <filesystem>

namespace zarvin {

inline constexpr int kStateSurfaceMargin = 100;

// `image` copied into a black surface of clientSize + (kStateSurfaceMargin, kStateSurfaceMargin).
QImage MakeStateSurface(const QImage& image, QSize clientSize);

// The surface of the picture in `file`. A missing or unreadable picture leaves the surface
// black, without a report: the buttons that use it show black faces.
QImage LoadStateSurface(const std::filesystem::path& file, QSize clientSize);

}  // namespace zarvin
