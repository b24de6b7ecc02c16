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
    QImage picture(drawn.size(), QImage::Format_ARGB32);
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
