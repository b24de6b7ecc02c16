#pragma once

// The on-screen keyboard as pure data: the 116 buttons of the keyboard view (the 106 keys in
// the order of the key pick list, the nine G keys, Fn) with their control ids, key codes, colour
// indexes and skin entries, and where each sits on a full-size ISO keyboard in key units.
// The keyboard view, the lighting preview and the skin generator all read this one table.

#include <cstdint>
#include <span>
#include <string>

namespace zarvin {

// A rectangle in key units: 1 is the width of a letter key. x grows to the right, y downwards.
struct KeyRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool Empty() const { return width <= 0 || height <= 0; }
    double Right() const { return x + width; }
    double Bottom() const { return y + height; }
};

enum class KeyButtonKind : uint8_t { Key, GKey, Fn };

struct KeyButton {
    KeyButtonKind kind;
    int controlId;
    // Scan code set 1 make code, 0x100 + make code for extended keys; 0x200 + (n - 1) for G key n;
    // 0 for Fn, which has no key code.
    uint16_t keyCode;
    int colourIndex;
    const char* legend;       // the main legend printed on the cap
    const char* upperLegend;  // the shifted symbol printed above it, or ""
    KeyRect place;            // the button itself
    // The part of the cap outside the button: the upper flange of the ISO Enter key, which
    // reaches over the hash key. Empty for every other key.
    KeyRect flange;
};

inline constexpr int kKeyViewKeyCount = 106;
inline constexpr int kGKeyCount = 9;
inline constexpr int kKeyButtonCount = kKeyViewKeyCount + kGKeyCount + 1;
inline constexpr int kGKeyColourIndex = 125;
inline constexpr int kFnColourIndex = 110;
inline constexpr int kFnControlId = 1174;

// All 116 buttons: the 106 keys in pick-list order, then G1 to G9, then Fn.
std::span<const KeyButton> KeyButtons();
// The 106 keys of the keyboard view, in pick-list order.
std::span<const KeyButton> KeyViewKeys();
// G1 to G9.
std::span<const KeyButton> GKeys();
const KeyButton& FnKey();

// The button with this control id, or null.
const KeyButton* FindKeyButton(int controlId);

// The button's entry in section "BUTTONINFO" of the main skin file: "KEY_%03X" with the key's
// slot (SlotOfKeyCode), "FUNC_G%d" for G key n, "KEY_FN" for Fn.
std::string SkinEntryOf(const KeyButton& button);

// The rectangle that holds every key, starting at (0, 0).
KeyRect KeyboardBounds();

}  // namespace zarvin
