#include "WindowMask.h"

#include <QPainter>

#include "Surfaces.h"

namespace zarvin::skingen {

QImage MakeWindowMask(QSize size) {
    QImage mask(size, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(WindowOutline(size));
    return mask;
}

}  // namespace zarvin::skingen
