#pragma once

// FacePieces: the faces of one image button, kept as the pieces of the state surfaces under the
// button rather than as the whole surfaces (skin/StateImages.h). A surface is as large as its
// window while a button shows a few hundred of its pixels, so a window releases its surfaces
// once its buttons have cut their pieces. Pieces with the same pixels share their memory, so a
// state that looks like another under the button costs nothing.
//
// Pieces are known by the surface they were cut from. A surface still loaded is cut again when
// its picture changed since; a released (null) one keeps the piece cut before.

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <vector>

class QPainter;

namespace zarvin {

class FacePieces {
public:
    // The button's place on the surfaces: the piece of a surface is the rectangle of `size` at
    // `corner` there. A new place forgets every piece.
    void Place(QPoint corner, QSize size);
    // Cuts the piece of `surface` (null: none) unless a piece of it is kept and still current.
    void Cut(const QImage* surface);
    // Draws the piece of `surface` where it lies in the button; nothing when there is none.
    void Draw(QPainter& painter, const QImage* surface) const;
    // Whether the piece of `surface` covers the whole button with opaque pixels.
    bool Covers(const QImage* surface) const;
    // The piece of `surface` (null when none is kept), for tests.
    const QImage* PieceOf(const QImage* surface) const;

private:
    struct Piece {
        const QImage* surface = nullptr;
        qint64 surfaceKey = 0;
        QImage image;
        // Where the piece lies in the button; the part of the place outside the surface has no
        // pixels, and the button shows what lies beneath there.
        QRectF target;
        bool covers = false;
    };

    const Piece* Find(const QImage* surface) const;

    QPoint corner_;
    QSize size_;
    std::vector<Piece> pieces_;
};

}  // namespace zarvin
