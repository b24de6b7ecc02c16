#include "skin/ColourSchemeLook.h"

#include "skin/ControlStyle.h"
#include "skin/FocusRing.h"

namespace zarvin {
namespace {

constexpr const char* kLightSkinFolder = "Light";

const SchemeTextColours kDarkText{
    {QColor(255, 255, 255), QColor(255, 130, 0), QColor(255, 155, 4), QColor(127, 127, 127),
     QColor(255, 255, 255)},
    QColor(228, 228, 228),
    QColor(228, 231, 236),
    {QColor(0xe4, 0xe7, 0xec), QColor(0xff, 0xff, 0xff), QColor(0xff, 0x82, 0x00),
     QColor(0x5a, 0x60, 0x6b), QColor(0xff, 0xa8, 0x50)}};

// Darker oranges than the dark scheme's: they keep their contrast on light faces.
const SchemeTextColours kLightText{
    {QColor(29, 33, 39), QColor(200, 90, 0), QColor(176, 78, 0), QColor(150, 156, 166),
     QColor(29, 33, 39)},
    QColor(43, 48, 56),
    QColor(29, 33, 39),
    {QColor(0x1d, 0x21, 0x27), QColor(0x00, 0x00, 0x00), QColor(0xe0, 0x6c, 0x00),
     QColor(0xa0, 0xa6, 0xb0), QColor(0xc2, 0x5a, 0x00)}};

const QColor kDarkAccent(0xff, 0x82, 0x00);
const QColor kLightAccent(0xe0, 0x6c, 0x00);

ColourScheme inUse = ColourScheme::Dark;

}  // namespace

void UseColourScheme(ColourScheme scheme) {
    inUse = scheme;
    ApplyControlStyle(scheme);
    SetFocusRingColour(scheme == ColourScheme::Light ? kLightAccent : kDarkAccent);
}

ColourScheme ColourSchemeInUse() {
    return inUse;
}

const SchemeTextColours& SchemeText() {
    return inUse == ColourScheme::Light ? kLightText : kDarkText;
}

std::filesystem::path SkinFileInUse(const std::filesystem::path& darkSkinFile) {
    if (inUse == ColourScheme::Dark) {
        return darkSkinFile;
    }
    return darkSkinFile.parent_path() / kLightSkinFolder / darkSkinFile.filename();
}

std::filesystem::path SkinFolderInUse(const std::filesystem::path& darkSkinFolder) {
    if (inUse == ColourScheme::Dark) {
        return darkSkinFolder;
    }
    // The folder may be given with its closing '/', as the application's paths are.
    return darkSkinFolder / kLightSkinFolder / "";
}

}  // namespace zarvin
