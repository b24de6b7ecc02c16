#include "skin/PictureButton.h"

#include <QKeyEvent>
#include <QPainter>

#include "skin/FocusRing.h"
#include "skin/SkinAccessibility.h"

namespace zarvin {

CPictureButton::CPictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
}

void CPictureButton::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    if (!picture_.isNull()) {
        resize(picture_.deviceIndependentSize().toSize());
    }
    update();
}

void CPictureButton::SetOn(bool on) {
    if (on_ == on) {
        return;
    }
    on_ = on;
    NotifyCheckedChanged(this);
}

QString CPictureButton::SpokenName() const {
    return accessibleName().isEmpty() ? toolTip() : accessibleName();
}

QSize CPictureButton::sizeHint() const {
    return picture_.deviceIndependentSize().toSize();
}

void CPictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    if (hasFocus()) {
        DrawFocusRing(painter, rect());
    }
}

void CPictureButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

}  // namespace zarvin
