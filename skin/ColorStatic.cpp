#include "skin/ColorStatic.h"

#include <QPalette>
#include <algorithm>

namespace zarvin {

ColorStatic::ColorStatic(QWidget* parent) : QLabel(parent) {
    SetTextColour(textColour_);
}

void ColorStatic::SetTextColour(const QColor& colour) {
    textColour_ = colour;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
    repaint();
}

void ColorStatic::SetFontHeight(int pixels) {
    QFont shown = font();
    shown.setPixelSize(std::max(pixels, 1));
    setFont(shown);
    repaint();
}

}  // namespace zarvin
