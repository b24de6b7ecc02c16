#include "app/KeyOutlineLayer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>

#include "skin/PngButton.h"

namespace zarvin {

namespace {

// Qt's raster engine hands a fill that its clip cuts into more than 95 pieces to a thread pool,
// which costs far more than the fill here; a key's rectangle cut to its frame is two pieces a row,
// so a key is filled in slices of at most this many rows of device pixels.
constexpr double kFillSliceDeviceRows = 40;

}  // namespace

KeyOutlineLayer::KeyOutlineLayer(QWidget& window) : QWidget(&window) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Inside its mask every pixel is a frame's: nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(window.rect());
    hide();
    raise();
}

bool KeyOutlineLayer::Frames(const CPngButton& key) const {
    return std::ranges::any_of(framed_, [&key](const auto& entry) { return entry.first == &key; });
}

void KeyOutlineLayer::Show(std::span<CPngButton* const> keys,
                           std::span<CPngButton* const> changed) {
    // Keys count as they will be seen once the window shows.
    nextFramed_.clear();
    for (const CPngButton* key : keys) {
        if (key->IsOutlineOn() && key->isVisibleTo(parentWidget()) && !key->hasFocus()) {
            nextFramed_.emplace_back(key, key->geometry());
        }
    }
    // A key the layer no longer covers shows its own face and frame again, and one it now
    // covers keeps its look beneath: only the layer's shape changes.
    if (nextFramed_ != framed_) {
        framed_.swap(nextFramed_);
        QRegion shape;
        const int band = CPngButton::kOutlineFrameWidth;
        for (const auto& [key, place] : framed_) {
            shape += QRegion(place).subtracted(QRegion(place.adjusted(band, band, -band, -band)));
        }
        setMask(shape);
        setVisible(!framed_.empty());
        update();
    }
    // The mask keeps the paint to the frames, so the changed keys' bounds are enough: a frame
    // that did not change within them is painted again as it was.
    QRect dirty;
    for (CPngButton* key : changed) {
        if (Frames(*key)) {
            dirty |= key->geometry();
        } else {
            key->update();
        }
    }
    if (!dirty.isEmpty()) {
        update(dirty);
    }
}

void KeyOutlineLayer::paintEvent(QPaintEvent* event) {
    // Each frame is filled as its key's whole rectangle, which the mask cuts to the frame's
    // bands: one fill a key, where four bands took four, each looking up its rows in the clip.
    QPainter painter(this);
    const QRect area = event->rect();
    const int slice = std::max(1, static_cast<int>(kFillSliceDeviceRows / devicePixelRatio()));
    for (const auto& [key, place] : framed_) {
        if (!area.intersects(place)) {
            continue;
        }
        for (int top = place.top(); top <= place.bottom(); top += slice) {
            painter.fillRect(
                QRect(place.left(), top, place.width(), std::min(slice, place.bottom() + 1 - top)),
                key->OutlineColour());
        }
    }
}

}  // namespace zarvin
