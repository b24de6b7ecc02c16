#include "skin/FacePieces.h"

#include <QPainter>
#include <algorithm>

namespace zarvin {

namespace {

// An opaque piece keeps three bytes a pixel instead of four; drawing it gives the same pixels.
QImage Compact(QImage piece) {
    return piece.format() == QImage::Format_RGB32 ? piece.convertToFormat(QImage::Format_RGB888)
                                                  : piece;
}

}  // namespace

void FacePieces::Place(QPoint corner, QSize size) {
    if (corner != corner_ || size != size_) {
        corner_ = corner;
        size_ = size;
        pieces_.clear();
    }
}

const FacePieces::Piece* FacePieces::Find(const QImage* surface) const {
    const auto found = std::ranges::find(pieces_, surface, &Piece::surface);
    return found != pieces_.end() ? &*found : nullptr;
}

void FacePieces::Cut(const QImage* surface) {
    if (surface == nullptr || surface->isNull()) {
        return;
    }
    const Piece* kept = Find(surface);
    if (kept != nullptr && kept->surfaceKey == surface->cacheKey()) {
        return;
    }
    std::erase_if(pieces_, [surface](const Piece& piece) { return piece.surface == surface; });

    // The surface's pixels may be denser than the window's (a 2x surface); the part of the
    // place outside the surface is left out, as drawing from the whole surface would.
    const qreal ratio = surface->devicePixelRatio();
    const QRectF place(QPointF(corner_) * ratio, QSizeF(size_) * ratio);
    const QRect source = place.toAlignedRect() & surface->rect();
    Piece piece{surface, surface->cacheKey(), {}, {}, false};
    if (!source.isEmpty()) {
        piece.image = Compact(surface->copy(source));
        piece.image.setDevicePixelRatio(ratio);
        piece.target = QRectF(QPointF(source.topLeft()) / ratio - QPointF(corner_),
                              QSizeF(source.size()) / ratio);
        piece.covers = source.size() == place.size().toSize() && !surface->hasAlphaChannel();
        // The same pixels as a piece kept already: share them.
        for (const Piece& other : pieces_) {
            if (other.image == piece.image && other.target == piece.target) {
                piece.image = other.image;
                break;
            }
        }
    }
    pieces_.push_back(std::move(piece));
}

void FacePieces::Draw(QPainter& painter, const QImage* surface) const {
    const Piece* piece = Find(surface);
    if (piece != nullptr && !piece->image.isNull()) {
        painter.drawImage(piece->target, piece->image, QRectF(piece->image.rect()));
    }
}

bool FacePieces::Covers(const QImage* surface) const {
    const Piece* piece = Find(surface);
    return piece != nullptr && piece->covers;
}

const QImage* FacePieces::PieceOf(const QImage* surface) const {
    const Piece* piece = Find(surface);
    return piece != nullptr && !piece->image.isNull() ? &piece->image : nullptr;
}

}  // namespace zarvin
