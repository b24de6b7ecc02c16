#pragma once

// The words on the generated skin's framed buttons. The skin's pictures leave them out, so that
// they follow the language: the windows write them in the colour scheme's caption colours for
// each state, fitted to the button, beside the icon the picture draws at the button's left end
// where it has one.

#include <QMargins>
#include <QString>

#include "skin/ColourSchemeLook.h"
#include "skin/PngButton.h"

namespace zarvin {

inline constexpr int kCaptionPoints = 9;
// A button whose caption the window writes has its icon in its first 34 pixels.
inline constexpr int kCaptionIconRoom = 34;
inline constexpr int kCaptionSideRoom = 6;

inline void WriteCaptionOnFace(CPngButton& button, bool besideIcon) {
    button.SetTextStyle(true, kCaptionPoints, QStringLiteral("Arial Unicode MS"),
                        SchemeText().captions,
                        text_format::kCentre | text_format::kVerticalCentre |
                            text_format::kSingleLine | text_format::kFit);
    button.SetTextMargins(
        QMargins(besideIcon ? kCaptionIconRoom : kCaptionSideRoom, 1, kCaptionSideRoom, 1));
}

}  // namespace zarvin
