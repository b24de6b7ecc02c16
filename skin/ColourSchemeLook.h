#pragma once

// The colour scheme the whole application draws in, chosen once at start-up before the first
// window: which skin the windows read (the dark one, or the light one with the same geometry in
// the skin folder's subfolder "Light"), the plain controls' style sheet, the focus ring, and the
// colours the windows write their own texts in.

#include <QColor>
#include <filesystem>

#include "skin/PngButton.h"
#include "store/ColourScheme.h"

namespace zarvin {

struct SchemeTextColours {
    ButtonTextColours buttons;  // text buttons and the status line
    QColor label;               // captions beside controls
    QColor title;               // a window's own title
    // The words on the skin's framed buttons, in the colours the skin draws their icons in.
    ButtonTextColours captions;
};

void UseColourScheme(ColourScheme scheme);
ColourScheme ColourSchemeInUse();
const SchemeTextColours& SchemeText();

// Where a window reads the skin given as the dark skin's file or folder.
std::filesystem::path SkinFileInUse(const std::filesystem::path& darkSkinFile);
std::filesystem::path SkinFolderInUse(const std::filesystem::path& darkSkinFolder);

}  // namespace zarvin
