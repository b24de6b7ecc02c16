#pragma once

// Linux key events in the terms of the key code table: an evdev key code (what X11 and Wayland
// report as the native scan code, minus 8) becomes the PC/AT set 1 make code with its E0 flag
// and the virtual-key code the same key produces on Windows, so KeyCodeOfKeyEvent reads it like
// any other keyboard event. Constant data and pure functions, callable from any thread.

#include <cstdint>
#include <optional>

namespace zarvin {

struct LinuxKeyTranslation {
    uint8_t makeCode = 0;   // set 1 make code; Pause reports 0x45 as its key messages do
    bool extended = false;  // the make code carries the E0 prefix (Num Lock included)
    uint8_t vk = 0;         // 0xFF where the key has no virtual-key code of its own

    bool operator==(const LinuxKeyTranslation&) const = default;
};

// Nothing for codes of keys the key code table does not know.
std::optional<LinuxKeyTranslation> TranslateLinuxKey(uint16_t evdevCode);

// X11 and Wayland key codes are the evdev code + 8; 0 for codes below 8 or beyond KEY_MAX.
uint16_t EvdevCodeOfNativeScanCode(uint32_t nativeScanCode);

// The key-message word of a key-down: repeat count 1, the make code in bits 16-23, the extended
// flag in bit 24 and, on auto-repeat, the previous-state bit 30.
uint32_t KeyMessageWord(uint8_t makeCode, bool extended, bool autoRepeat);

}  // namespace zarvin
