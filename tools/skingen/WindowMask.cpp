#include "WindowMask.h"

#include <QPainter>

#include "Scale.h"
#include "Surfaces.h"

namespace zarvin::skingen {

QImage MakeWindowMask(QSize size) {
    QImage mask = NewPicture(size);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(WindowOutline(size));
    return mask;
}

}  // namespace zarvin::skingen
