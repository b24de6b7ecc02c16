#include "skin/OutlineRegion.h"

#include <algorithm>

namespace zarvin {

namespace {

constexpr QRgb kTransparentColour = 0xFFFFFF;

bool IsTransparent(QRgb pixel) {
    return (pixel & RGB_MASK) == kTransparentColour;
}

}  // namespace

std::vector<QRect> OutlineRuns(const QImage& mask) {
    std::vector<QRect> runs;
    if (mask.isNull()) {
        return runs;
    }
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    const int width = pixels.width();
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && IsTransparent(row[x])) {
                ++x;
            }
            const int first = x;
            while (x < width && !IsTransparent(row[x])) {
                ++x;
            }
            if (x > first) {
                runs.emplace_back(first, y, x - first, 1);
            }
        }
    }
    return runs;
}

QRegion RegionFromRuns(std::span<const QRect> runs) {
    QRegion result;
    for (size_t start = 0; start < runs.size(); start += kOutlineBatchRects) {
        const size_t count = std::min(kOutlineBatchRects, runs.size() - start);
        QRegion batch;
        // Runs come sorted by row and do not overlap, which is what setRects asks for.
        batch.setRects(runs.data() + start, static_cast<int>(count));
        result = result.united(batch);
    }
    return result;
}

QRegion OutlineRegion(const QImage& mask) {
    const std::vector<QRect> runs = OutlineRuns(mask);
    return RegionFromRuns(runs);
}

}  // namespace zarvin
