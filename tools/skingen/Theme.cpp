#include "Theme.h"

namespace zarvin::skingen {

QFont UiFont(int pixelSize, QFont::Weight weight) {
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QColor WithAlpha(const QColor& colour, int alpha) {
    QColor result = colour;
    result.setAlpha(alpha);
    return result;
}

}  // namespace zarvin::skingen
