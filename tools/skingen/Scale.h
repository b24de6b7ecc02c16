#pragma once

// The scale the skin is drawn at: 1 for the pictures the windows show at 100 %, 2 for their
// twins for screens at 200 % ("name@2x.ext", twice as wide and high). Every picture is drawn in
// the same logical coordinates; only the pixels behind them change.

#include <QImage>
#include <QSize>
#include <filesystem>

namespace zarvin::skingen {

int DrawingScale();
void SetDrawingScale(int scale);

// A picture of `size` logical pixels at the drawing scale.
QImage NewPicture(QSize size);

// Where a picture named `file` goes at the drawing scale.
std::filesystem::path ScaledName(const std::filesystem::path& file);

}  // namespace zarvin::skingen
