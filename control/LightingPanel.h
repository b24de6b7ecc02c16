#pragma once

// The lighting panel of the main window as the lighting logic sees it: control groups,
// bitmaps, checks, the effect combo, sliders, colours and edit boxes, all by control id. The
// main window implements it with its widgets; tests implement it with a recording fake.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/ColourValue.h"

namespace zarvin {

// Dialog control ids of the lighting panel.
namespace LightingControl {
inline constexpr int EffectCombo = 1146;
inline constexpr int ReportRate1 = 1147;
inline constexpr int DirectionLabel = 1148;
inline constexpr int FirstArrow = 1149;
inline constexpr int SecondArrow = 1150;
inline constexpr int ColourBButton = 1152;
inline constexpr int ColourAButton = 1155;
inline constexpr int MulticolourA = 1156;
inline constexpr int LightingSwitch = 1167;
inline constexpr int ReportRate2 = 1168;
inline constexpr int ReportRate3 = 1169;
inline constexpr int ReportRate4 = 1170;
inline constexpr int MulticolourB = 1175;
inline constexpr int BrightnessSlider = 1178;
inline constexpr int SpeedSlider = 1179;
// Hidden buttons that hold the record's colour B and colour C.
inline constexpr int HiddenColourB = 1187;
inline constexpr int HiddenColourC = 1191;
inline constexpr int OptionRed = 1194;
inline constexpr int OptionYellow = 1195;
inline constexpr int OptionGreen = 1196;
inline constexpr int OptionBlue = 1197;
inline constexpr int RedEdit = 1208;
inline constexpr int GreenEdit = 1209;
inline constexpr int BlueEdit = 1210;
inline constexpr int FirstColourChip = 1211;
inline constexpr int LastColourChip = 1218;
}  // namespace LightingControl

// Groups of controls that are shown or hidden together.
enum class LightingGroup {
    Effect,
    Brightness,
    Speed,
    Direction,
    ColourA,
    ColourB,
    OptionColours,
    UserModeTools,
    NeverShown,
};

inline constexpr LightingGroup kAllLightingGroups[] = {
    LightingGroup::Effect,        LightingGroup::Brightness,    LightingGroup::Speed,
    LightingGroup::Direction,     LightingGroup::ColourA,       LightingGroup::ColourB,
    LightingGroup::OptionColours, LightingGroup::UserModeTools, LightingGroup::NeverShown,
};

class LightingPanel {
public:
    virtual ~LightingPanel() = default;

    virtual void ShowGroup(LightingGroup group, bool shown) = 0;
    // `bitmap` is a file name in the skin folder, such as "3.bmp".
    virtual void SetBitmap(int controlId, std::string_view bitmap) = 0;
    virtual void CheckButton(int controlId, bool checked) = 0;
    // Replaces the combo's entries; an empty list empties it.
    virtual void FillEffectCombo(const std::vector<std::string>& names) = 0;
    // -1 selects nothing.
    virtual void SelectEffectPosition(int position) = 0;
    virtual void PlaceSlider(int controlId, int position) = 0;
    virtual void ShowColour(int controlId, ColourValue colour) = 0;
    virtual void SetEditText(int controlId, std::string_view text) = 0;
    // Places the control where the main skin file's "BUTTONINFO" entry `skinEntry` says.
    virtual void MoveControl(int controlId, std::string_view skinEntry) = 0;
};

}  // namespace zarvin
