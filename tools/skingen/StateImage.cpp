#include "StateImage.h"

#include <QPainter>

#include "Scale.h"
#include "Theme.h"

namespace zarvin::skingen {

Look LookInSet(SetImage image, bool selectable) {
    switch (image) {
        case SetImage::Normal:
            break;
        case SetImage::Over:
            return Look::Hover;
        case SetImage::Down:
            return selectable ? Look::Selected : Look::Pressed;
        case SetImage::Disable:
            return Look::Disabled;
    }
    return Look::Normal;
}

QImage PaintWindowPicture(QSize size, Shift shift, const std::function<void(QPainter&)>& draw) {
    QImage image = NewPicture(size);
    image.fill(Colours().window);
    QPainter painter(&image);
    if (shift == Shift::FaceOrigin) {
        painter.translate(-1, -1);
    }
    draw(painter);
    return image;
}

}  // namespace zarvin::skingen
