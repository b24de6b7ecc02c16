#include "model/KeyboardLayout.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "model/KeyCodes.h"

namespace zarvin {
namespace {

// Left edges of the blocks, in key units. The G1-G5 column stands left of the main block.
constexpr double kMain = 1.5;
constexpr double kNav = kMain + 15.25;
constexpr double kPad = kMain + 18.5;

// Top edges of the rows: the G6-G9 row above the function row, then the usual gap.
constexpr double kRowG = 0;
constexpr double kRowF = 1.25;
constexpr double kRow1 = 2.75;
constexpr double kRow2 = 3.75;
constexpr double kRow3 = 4.75;
constexpr double kRow4 = 5.75;
constexpr double kRow5 = 6.75;

constexpr KeyButton Key(int controlId, uint16_t keyCode, int colourIndex, const char* legend,
                        const char* upperLegend, double x, double y, double width = 1,
                        double height = 1) {
    return {KeyButtonKind::Key,    controlId, keyCode, colourIndex, legend, upperLegend,
            {x, y, width, height}, {}};
}

constexpr KeyButton GKey(int n, int controlId, double x, double y) {
    constexpr const char* kLegends[] = {"G1", "G2", "G3", "G4", "G5", "G6", "G7", "G8", "G9"};
    return {KeyButtonKind::GKey,
            controlId,
            static_cast<uint16_t>(0x200 + n - 1),
            kGKeyColourIndex,
            kLegends[n - 1],
            "",
            {x, y, 1, 1},
            {}};
}

constexpr std::array<KeyButton, kKeyButtonCount> kButtons = {{
    Key(1058, 0x01E, 64, "A", "", kMain + 1.75, kRow3),
    Key(1075, 0x030, 90, "B", "", kMain + 6.25, kRow4),
    Key(1073, 0x02E, 88, "C", "", kMain + 4.25, kRow4),
    Key(1060, 0x020, 66, "D", "", kMain + 3.75, kRow3),
    Key(1046, 0x012, 45, "E", "", kMain + 3.5, kRow2),
    Key(1061, 0x021, 67, "F", "", kMain + 4.75, kRow3),
    Key(1062, 0x022, 68, "G", "", kMain + 5.75, kRow3),
    Key(1063, 0x023, 69, "H", "", kMain + 6.75, kRow3),
    Key(1051, 0x017, 50, "I", "", kMain + 8.5, kRow2),
    Key(1064, 0x024, 70, "J", "", kMain + 7.75, kRow3),
    Key(1065, 0x025, 71, "K", "", kMain + 8.75, kRow3),
    Key(1066, 0x026, 72, "L", "", kMain + 9.75, kRow3),
    Key(1077, 0x032, 92, "M", "", kMain + 8.25, kRow4),
    Key(1076, 0x031, 91, "N", "", kMain + 7.25, kRow4),
    Key(1052, 0x018, 51, "O", "", kMain + 9.5, kRow2),
    Key(1053, 0x019, 52, "P", "", kMain + 10.5, kRow2),
    Key(1044, 0x010, 43, "Q", "", kMain + 1.5, kRow2),
    Key(1047, 0x013, 46, "R", "", kMain + 4.5, kRow2),
    Key(1059, 0x01F, 65, "S", "", kMain + 2.75, kRow3),
    Key(1048, 0x014, 47, "T", "", kMain + 5.5, kRow2),
    Key(1050, 0x016, 49, "U", "", kMain + 7.5, kRow2),
    Key(1074, 0x02F, 89, "V", "", kMain + 5.25, kRow4),
    Key(1045, 0x011, 44, "W", "", kMain + 2.5, kRow2),
    Key(1072, 0x02D, 87, "X", "", kMain + 3.25, kRow4),
    Key(1049, 0x015, 48, "Y", "", kMain + 6.5, kRow2),
    Key(1071, 0x02C, 86, "Z", "", kMain + 2.25, kRow4),
    Key(1030, 0x002, 22, "1", "!", kMain + 1, kRow1),
    Key(1031, 0x003, 23, "2", "\"", kMain + 2, kRow1),
    Key(1032, 0x004, 24, "3", "\u00A3", kMain + 3, kRow1),
    Key(1033, 0x005, 25, "4", "$", kMain + 4, kRow1),
    Key(1034, 0x006, 26, "5", "%", kMain + 5, kRow1),
    Key(1035, 0x007, 27, "6", "^", kMain + 6, kRow1),
    Key(1036, 0x008, 28, "7", "&", kMain + 7, kRow1),
    Key(1037, 0x009, 29, "8", "*", kMain + 8, kRow1),
    Key(1038, 0x00A, 30, "9", "(", kMain + 9, kRow1),
    Key(1039, 0x00B, 31, "0", ")", kMain + 10, kRow1),
    {KeyButtonKind::Key,
     1070,
     0x01C,
     76,
     "Enter",
     "",
     {kMain + 13.75, kRow2, 1.25, 2},
     {kMain + 13.5, kRow2, 0.25, 1}},
    Key(1022, 0x001, 0, "Esc", "", kMain, kRowF),
    Key(1043, 0x00E, 34, "Backspace", "", kMain + 13, kRow1, 2),
    Key(1056, 0x00F, 42, "Tab", "", kMain, kRow2, 1.5),
    Key(1090, 0x039, 108, "Space", "", kMain + 3.75, kRow5, 6.25),
    Key(1040, 0x00C, 32, "-", "_", kMain + 11, kRow1),
    Key(1041, 0x00D, 33, "=", "+", kMain + 12, kRow1),
    Key(1054, 0x01A, 53, "[", "{", kMain + 11.5, kRow2),
    Key(1055, 0x01B, 54, "]", "}", kMain + 12.5, kRow2),
    Key(1067, 0x027, 73, ";", ":", kMain + 10.75, kRow3),
    Key(1068, 0x028, 74, "'", "@", kMain + 11.75, kRow3),
    Key(1029, 0x029, 21, "`", "\u00AC", kMain, kRow1),
    Key(1078, 0x033, 93, ",", "<", kMain + 9.25, kRow4),
    Key(1079, 0x034, 94, ".", ">", kMain + 10.25, kRow4),
    Key(1080, 0x035, 95, "/", "?", kMain + 11.25, kRow4),
    Key(1010, 0x03B, 1, "F1", "", kMain + 2, kRowF),
    Key(1011, 0x03C, 2, "F2", "", kMain + 3, kRowF),
    Key(1012, 0x03D, 3, "F3", "", kMain + 4, kRowF),
    Key(1013, 0x03E, 4, "F4", "", kMain + 5, kRowF),
    Key(1014, 0x03F, 5, "F5", "", kMain + 6.5, kRowF),
    Key(1015, 0x040, 6, "F6", "", kMain + 7.5, kRowF),
    Key(1023, 0x041, 7, "F7", "", kMain + 8.5, kRowF),
    Key(1024, 0x042, 8, "F8", "", kMain + 9.5, kRowF),
    Key(1025, 0x043, 9, "F9", "", kMain + 11, kRowF),
    Key(1026, 0x044, 10, "F10", "", kMain + 12, kRowF),
    Key(1027, 0x057, 11, "F11", "", kMain + 13, kRowF),
    Key(1028, 0x058, 12, "F12", "", kMain + 14, kRowF),
    Key(1091, 0x137, 14, "PrtSc", "", kNav, kRowF),
    Key(1093, 0x045, 16, "Pause", "", kNav + 2, kRowF),
    Key(1094, 0x152, 35, "Ins", "", kNav, kRow1),
    Key(1097, 0x153, 56, "Del", "", kNav, kRow2),
    Key(1095, 0x147, 36, "Home", "", kNav + 1, kRow1),
    Key(1098, 0x14F, 57, "End", "", kNav + 1, kRow2),
    Key(1096, 0x149, 37, "PgUp", "", kNav + 2, kRow1),
    Key(1099, 0x151, 58, "PgDn", "", kNav + 2, kRow2),
    Key(1103, 0x148, 99, "\u2191", "", kNav + 1, kRow4),
    Key(1101, 0x150, 120, "\u2193", "", kNav + 1, kRow5),
    Key(1100, 0x14B, 119, "\u2190", "", kNav, kRow5),
    Key(1102, 0x14D, 121, "\u2192", "", kNav + 2, kRow5),
    Key(1092, 0x046, 15, "ScrLk", "", kNav + 1, kRowF),
    Key(1069, 0x03A, 63, "Caps Lock", "", kMain, kRow3, 1.75),
    Key(1088, 0x15D, 111, "Menu", "", kMain + 13, kRow5),
    Key(1083, 0x01D, 105, "Ctrl", "", kMain, kRow5, 1.25),
    Key(1089, 0x11D, 113, "Ctrl", "", kMain + 14, kRow5),
    Key(1082, 0x02A, 84, "Shift", "", kMain, kRow4, 1.25),
    Key(1081, 0x036, 97, "Shift", "", kMain + 13.25, kRow4, 1.75),
    Key(1085, 0x038, 107, "Alt", "", kMain + 2.5, kRow5, 1.25),
    Key(1086, 0x138, 109, "AltGr", "", kMain + 10, kRow5),
    Key(1084, 0x15B, 106, "Win", "", kMain + 1.25, kRow5, 1.25),
    Key(1087, 0x15C, 116, "Win", "", kMain + 11, kRow5),
    Key(1115, 0x04F, 101, "1", "", kPad, kRow4),
    Key(1116, 0x050, 102, "2", "", kPad + 1, kRow4),
    Key(1117, 0x051, 103, "3", "", kPad + 2, kRow4),
    Key(1112, 0x04B, 80, "4", "", kPad, kRow3),
    Key(1113, 0x04C, 81, "5", "", kPad + 1, kRow3),
    Key(1114, 0x04D, 82, "6", "", kPad + 2, kRow3),
    Key(1108, 0x047, 59, "7", "", kPad, kRow2),
    Key(1109, 0x048, 60, "8", "", kPad + 1, kRow2),
    Key(1110, 0x049, 61, "9", "", kPad + 2, kRow2),
    Key(1120, 0x052, 123, "0", "", kPad, kRow5, 2),
    Key(1104, 0x145, 38, "Num", "", kPad, kRow1),
    Key(1118, 0x11C, 104, "Enter", "", kPad + 3, kRow4, 1, 2),
    Key(1119, 0x053, 124, ".", "", kPad + 2, kRow5),
    Key(1105, 0x135, 39, "/", "", kPad + 1, kRow1),
    Key(1106, 0x037, 40, "*", "", kPad + 2, kRow1),
    Key(1107, 0x04A, 41, "-", "", kPad + 3, kRow1),
    Key(1111, 0x04E, 62, "+", "", kPad + 3, kRow2, 1, 2),
    Key(1199, 0x056, 85, "\\", "|", kMain + 1.25, kRow4),
    Key(1222, 0x02B, 75, "#", "~", kMain + 12.75, kRow3),
    Key(1200, 0x073, 96, "Ro", "", kMain + 12.25, kRow4),
    GKey(1, 1000, 0, kRow1),
    GKey(2, 1001, 0, kRow2),
    GKey(3, 1002, 0, kRow3),
    GKey(4, 1003, 0, kRow4),
    GKey(5, 1004, 0, kRow5),
    GKey(6, 1140, kMain, kRowG),
    GKey(7, 1141, kMain + 1, kRowG),
    GKey(8, 1142, kMain + 2, kRowG),
    GKey(9, 1143, kMain + 3, kRowG),
    {KeyButtonKind::Fn, kFnControlId, 0, kFnColourIndex, "Fn", "", {kMain + 12, kRow5, 1, 1}, {}},
}};

}  // namespace

std::span<const KeyButton> KeyButtons() {
    return kButtons;
}

std::span<const KeyButton> KeyViewKeys() {
    return KeyButtons().first(kKeyViewKeyCount);
}

std::span<const KeyButton> GKeys() {
    return KeyButtons().subspan(kKeyViewKeyCount, kGKeyCount);
}

const KeyButton& FnKey() {
    return kButtons.back();
}

const KeyButton* FindKeyButton(int controlId) {
    const auto found = std::find_if(kButtons.begin(), kButtons.end(),
                                    [&](const KeyButton& b) { return b.controlId == controlId; });
    return found == kButtons.end() ? nullptr : &*found;
}

std::string SkinEntryOf(const KeyButton& button) {
    char name[16];
    switch (button.kind) {
        case KeyButtonKind::Key:
            std::snprintf(name, sizeof name, "KEY_%03X",
                          static_cast<unsigned>(SlotOfKeyCode(button.keyCode)));
            return name;
        case KeyButtonKind::GKey:
            std::snprintf(name, sizeof name, "FUNC_G%d", button.keyCode - 0x1FF);
            return name;
        case KeyButtonKind::Fn:
            break;
    }
    return "KEY_FN";
}

KeyRect KeyboardBounds() {
    KeyRect bounds;
    for (const KeyButton& button : kButtons) {
        bounds.width = std::max(bounds.width, button.place.Right());
        bounds.height = std::max(bounds.height, button.place.Bottom());
    }
    return bounds;
}

}  // namespace zarvin
