#include "skin/StateImages.h"

#include <QPainter>

#include "skin/PictureLoader.h"

namespace zarvin {

QImage MakeStateSurface(const QImage& image, QSize clientSize) {
    const QSize size =
        clientSize.expandedTo(QSize(0, 0)) + QSize(kStateSurfaceMargin, kStateSurfaceMargin);
    // The surface takes the picture's density, so a sharp twin stays sharp.
    const qreal ratio = image.isNull() ? 1.0 : image.devicePixelRatio();
    QImage surface((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    surface.setDevicePixelRatio(ratio);
    surface.fill(Qt::black);
    if (!image.isNull()) {
        QPainter painter(&surface);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), image);
    }
    return surface;
}

QImage LoadStateSurface(const std::filesystem::path& file, QSize clientSize) {
    return MakeStateSurface(ReadScaledPicture(file), clientSize);
}

}  // namespace zarvin
