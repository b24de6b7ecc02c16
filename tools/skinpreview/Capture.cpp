#include "Capture.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <stdexcept>

namespace zarvin::preview {

QImage CaptureWindow(QWidget& window) {
    window.show();
    QApplication::processEvents();
    const QImage drawn = window.grab().toImage();
    // At a device pixel ratio above 1 the grab has more pixels than the window; the mask is in
    // window coordinates, so the picture keeps the grab's ratio.
    QImage picture(drawn.size(), QImage::Format_ARGB32);
    picture.setDevicePixelRatio(drawn.devicePixelRatio());
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    if (!window.mask().isEmpty()) {
        painter.setClipRegion(window.mask());
    }
    painter.drawImage(QPoint(0, 0), drawn);
    return picture;
}

void SavePicture(const QImage& picture, const std::filesystem::path& file) {
    if (!picture.save(QString::fromStdString(file.string()), "png")) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

}  // namespace zarvin::preview
