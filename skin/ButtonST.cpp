#include "skin/ButtonST.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace zarvin {

CButtonST::CButtonST(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
}

void CButtonST::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor face = palette().color(QPalette::Button);
    if (isDown()) {
        face = face.darker(115);
    } else if (underMouse() && isEnabled()) {
        face = face.lighter(110);
    }
    painter.fillRect(rect(), face);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace zarvin
