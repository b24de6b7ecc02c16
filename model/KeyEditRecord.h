#pragma once

// What the key editor writes for the edited key when Apply is pressed: the assignment built from
// the page being edited and its choices, and the mouse choices of the single-key page.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/KeyAssignment.h"
#include "model/KeyCodes.h"

namespace zarvin {

// The mouse drop-down's entries, in order: left, right and middle button, wheel up, wheel down.
inline constexpr std::array<KeyCode, 5> kMouseChoiceCodes = {0x171, 0x172, 0x173, 0x161, 0x162};

// The drop-down entry of a mouse code; nothing for any other code.
std::optional<int> MouseChoiceOf(KeyCode code);

// The single-key page's choice between a key taken from the keyboard and a mouse action.
enum class KeySource { Keyboard, Mouse };

// The editor's state at Apply.
struct KeyEdit {
    size_t targetSlot = 0;      // 0-255 key slots, 256-273 the G keys
    uint16_t pageType = 0;      // an AssignmentType value
    KeyCode capturedKey = 0;    // single-key page, keyboard source
    KeySource source = KeySource::Keyboard;
    int mouseEntry = 0;         // single-key page, mouse source
    bool macroListEmpty = true;
    int32_t currentMacroId = 0;  // 0 when no macro is current
    int cycles = 1;
    int mediaEntry = 0;
    int functionEntry = 0;
};

// The G identifier of a G-key slot; 0 for every other slot.
uint16_t GIdOfSlot(size_t slot);

// Why the edit cannot be written, as the text key that tells the user; nothing when it can. The
// macro page with no macro chosen (none in the list, or none selected) would give the key a
// macro id that plays whichever macro comes first: the key keeps its assignment instead.
std::optional<std::string_view> KeyEditRefusal(const KeyEdit& edit);

// The record to write over `previous`: type, gId and value from the edit; mark and reserved
// stay as they were. A key given to itself, no key at all or a mouse entry outside the drop-down
// leave the key at Default; an edit KeyEditRefusal refuses gives `previous` unchanged.
KeyAssignment BuildKeyEditRecord(const KeyEdit& edit, const KeyAssignment& previous);

}  // namespace zarvin
