#pragma once

// The skin's palette and type: a calm base, dark or light, with one accent colour. The accent is
// the orange the windows use for hovered and pressed button text, so drawn and written text agree.

#include <QColor>
#include <QFont>
#include <QString>

namespace zarvin::skingen {

inline constexpr const char* kFontFamily = "DejaVu Sans";

enum class Scheme { Dark, Light };

// Every colour the pictures are drawn in; one set per scheme, with the same roles.
struct SkinColours {
    QColor window;
    QColor windowEdge;
    QColor card;
    QColor cardEdge;
    QColor divider;
    QColor well;
    QColor wellEdge;

    QColor face;
    QColor faceLow;
    QColor faceHover;
    QColor facePressed;
    QColor faceDisabled;
    QColor faceSelected;
    QColor faceEdge;
    QColor faceShadow;

    QColor text;
    QColor textBright;
    QColor textSecondary;
    QColor textLegend;
    QColor textMuted;
    // The quiet drawings in empty parts of a page.
    QColor illustration;

    QColor accent;
    QColor accentSoft;
    QColor accentDeep;
};

// The colours of the scheme being drawn; dark until SetScheme says otherwise.
const SkinColours& Colours();
void SetScheme(Scheme scheme);

// DejaVu Sans at a size in pixels, so that the pictures do not depend on the screen's dots per
// inch.
QFont UiFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// `colour` with the given opacity (0-255).
QColor WithAlpha(const QColor& colour, int alpha);

}  // namespace zarvin::skingen
