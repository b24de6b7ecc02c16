#pragma once

// The outline of a skinned window, taken from its mask picture: every pixel that is not pure
// white (red, green and blue 255) belongs to the window. Masks are opaque pictures (BMP, PNG);
// transparency plays no part.
//
// The rows are walked from the top; each run of such pixels within a row becomes one rectangle
// one pixel high. The rectangles are turned into regions kOutlineBatchRects at a time and the
// batches joined by union, which keeps each region build small for large masks.

#include <QImage>
#include <QRect>
#include <QRegion>
#include <span>
#include <vector>

namespace zarvin {

inline constexpr size_t kOutlineBatchRects = 2000;

// The runs of non-white pixels, row by row from the top, left to right within a row.
std::vector<QRect> OutlineRuns(const QImage& mask);

// The union of `runs`, which must be ordered as OutlineRuns gives them.
QRegion RegionFromRuns(std::span<const QRect> runs);

// RegionFromRuns(OutlineRuns(mask)): empty for a null mask or one that is all white.
QRegion OutlineRegion(const QImage& mask);

}  // namespace zarvin
