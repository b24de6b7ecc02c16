#pragma once

// The skin's palette and type: a dark, calm base with one accent colour. The accent is the orange
// the windows use for hovered and pressed button text, so drawn and written text agree.

#include <QColor>
#include <QFont>
#include <QString>

namespace zarvin::skingen {

inline constexpr const char* kFontFamily = "DejaVu Sans";

namespace colour {
inline const QColor kWindow{0x13, 0x15, 0x19};
inline const QColor kWindowEdge{0x2c, 0x30, 0x38};
inline const QColor kCard{0x1b, 0x1e, 0x24};
inline const QColor kCardEdge{0x28, 0x2c, 0x34};
inline const QColor kDivider{0x2a, 0x2e, 0x36};
inline const QColor kWell{0x14, 0x16, 0x1a};
inline const QColor kWellEdge{0x30, 0x34, 0x3d};

inline const QColor kFace{0x27, 0x2b, 0x32};
inline const QColor kFaceLow{0x22, 0x25, 0x2b};
inline const QColor kFaceHover{0x31, 0x36, 0x3f};
inline const QColor kFacePressed{0x18, 0x1a, 0x1f};
inline const QColor kFaceDisabled{0x1e, 0x21, 0x26};
inline const QColor kFaceSelected{0x3d, 0x2a, 0x17};
inline const QColor kFaceEdge{0x38, 0x3d, 0x47};
inline const QColor kFaceShadow{0x0d, 0x0e, 0x11};

inline const QColor kText{0xe4, 0xe7, 0xec};
inline const QColor kTextBright{0xff, 0xff, 0xff};
inline const QColor kTextSecondary{0x9a, 0xa1, 0xad};
inline const QColor kTextLegend{0xc2, 0xc7, 0xcf};
inline const QColor kTextMuted{0x5a, 0x60, 0x6b};

inline const QColor kAccent{0xff, 0x82, 0x00};
inline const QColor kAccentSoft{0xff, 0xa8, 0x50};
inline const QColor kAccentDeep{0x4a, 0x2b, 0x0e};
}  // namespace colour

// DejaVu Sans at a size in pixels, so that the pictures do not depend on the screen's dots per
// inch.
QFont UiFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// `colour` with the given opacity (0-255).
QColor WithAlpha(const QColor& colour, int alpha);

}  // namespace zarvin::skingen
