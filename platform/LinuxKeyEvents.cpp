#include "platform/LinuxKeyEvents.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>

namespace zarvin {

namespace {

struct LinuxKeyRow {
    uint16_t evdevCode;
    LinuxKeyTranslation translation;
};

constexpr LinuxKeyRow Plain(uint16_t evdevCode, uint8_t makeCode, uint8_t vk) {
    return {evdevCode, {makeCode, false, vk}};
}

constexpr LinuxKeyRow Extended(uint16_t evdevCode, uint8_t makeCode, uint8_t vk) {
    return {evdevCode, {makeCode, true, vk}};
}

// Sorted by evdev code. The virtual-key codes are those of the key code table, 0xFF included,
// so every key turns into the code the table gives it.
constexpr auto kLinuxKeyRows = std::to_array<LinuxKeyRow>({
    Plain(KEY_ESC, 0x01, 0x1B),
    Plain(KEY_1, 0x02, 0x31),
    Plain(KEY_2, 0x03, 0x32),
    Plain(KEY_3, 0x04, 0x33),
    Plain(KEY_4, 0x05, 0x34),
    Plain(KEY_5, 0x06, 0x35),
    Plain(KEY_6, 0x07, 0x36),
    Plain(KEY_7, 0x08, 0x37),
    Plain(KEY_8, 0x09, 0x38),
    Plain(KEY_9, 0x0A, 0x39),
    Plain(KEY_0, 0x0B, 0x30),
    Plain(KEY_MINUS, 0x0C, 0xBD),
    Plain(KEY_EQUAL, 0x0D, 0xBB),
    Plain(KEY_BACKSPACE, 0x0E, 0x08),
    Plain(KEY_TAB, 0x0F, 0x09),
    Plain(KEY_Q, 0x10, 0x51),
    Plain(KEY_W, 0x11, 0x57),
    Plain(KEY_E, 0x12, 0x45),
    Plain(KEY_R, 0x13, 0x52),
    Plain(KEY_T, 0x14, 0x54),
    Plain(KEY_Y, 0x15, 0x59),
    Plain(KEY_U, 0x16, 0x55),
    Plain(KEY_I, 0x17, 0x49),
    Plain(KEY_O, 0x18, 0x4F),
    Plain(KEY_P, 0x19, 0x50),
    Plain(KEY_LEFTBRACE, 0x1A, 0xDB),
    Plain(KEY_RIGHTBRACE, 0x1B, 0xDD),
    Plain(KEY_ENTER, 0x1C, 0x0D),
    Plain(KEY_LEFTCTRL, 0x1D, 0xA2),
    Plain(KEY_A, 0x1E, 0x41),
    Plain(KEY_S, 0x1F, 0x53),
    Plain(KEY_D, 0x20, 0x44),
    Plain(KEY_F, 0x21, 0x46),
    Plain(KEY_G, 0x22, 0x47),
    Plain(KEY_H, 0x23, 0x48),
    Plain(KEY_J, 0x24, 0x4A),
    Plain(KEY_K, 0x25, 0x4B),
    Plain(KEY_L, 0x26, 0x4C),
    Plain(KEY_SEMICOLON, 0x27, 0xBA),
    Plain(KEY_APOSTROPHE, 0x28, 0xDE),
    Plain(KEY_GRAVE, 0x29, 0xC0),
    Plain(KEY_LEFTSHIFT, 0x2A, 0xA0),
    Plain(KEY_BACKSLASH, 0x2B, 0xDC),
    Plain(KEY_Z, 0x2C, 0x5A),
    Plain(KEY_X, 0x2D, 0x58),
    Plain(KEY_C, 0x2E, 0x43),
    Plain(KEY_V, 0x2F, 0x56),
    Plain(KEY_B, 0x30, 0x42),
    Plain(KEY_N, 0x31, 0x4E),
    Plain(KEY_M, 0x32, 0x4D),
    Plain(KEY_COMMA, 0x33, 0xBC),
    Plain(KEY_DOT, 0x34, 0xBE),
    Plain(KEY_SLASH, 0x35, 0xBF),
    Plain(KEY_RIGHTSHIFT, 0x36, 0xA1),
    Plain(KEY_KPASTERISK, 0x37, 0x6A),
    Plain(KEY_LEFTALT, 0x38, 0xA4),
    Plain(KEY_SPACE, 0x39, 0x20),
    Plain(KEY_CAPSLOCK, 0x3A, 0x14),
    Plain(KEY_F1, 0x3B, 0x70),
    Plain(KEY_F2, 0x3C, 0x71),
    Plain(KEY_F3, 0x3D, 0x72),
    Plain(KEY_F4, 0x3E, 0x73),
    Plain(KEY_F5, 0x3F, 0x74),
    Plain(KEY_F6, 0x40, 0x75),
    Plain(KEY_F7, 0x41, 0x76),
    Plain(KEY_F8, 0x42, 0x77),
    Plain(KEY_F9, 0x43, 0x78),
    Plain(KEY_F10, 0x44, 0x79),
    // Windows reports Num Lock with the E0 flag and Pause without it, the other way round from
    // their make codes.
    Extended(KEY_NUMLOCK, 0x45, 0x90),
    Plain(KEY_SCROLLLOCK, 0x46, 0x91),
    Plain(KEY_KP7, 0x47, 0x67),
    Plain(KEY_KP8, 0x48, 0x68),
    Plain(KEY_KP9, 0x49, 0x69),
    Plain(KEY_KPMINUS, 0x4A, 0x6D),
    Plain(KEY_KP4, 0x4B, 0x64),
    Plain(KEY_KP5, 0x4C, 0x65),
    Plain(KEY_KP6, 0x4D, 0x66),
    Plain(KEY_KPPLUS, 0x4E, 0x6B),
    Plain(KEY_KP1, 0x4F, 0x61),
    Plain(KEY_KP2, 0x50, 0x62),
    Plain(KEY_KP3, 0x51, 0x63),
    Plain(KEY_KP0, 0x52, 0x60),
    Plain(KEY_KPDOT, 0x53, 0x6E),
    Plain(KEY_102ND, 0x56, 0xE2),
    Plain(KEY_F11, 0x57, 0x7A),
    Plain(KEY_F12, 0x58, 0x7B),
    Plain(KEY_RO, 0x73, 0xC1),
    Plain(KEY_HENKAN, 0x79, 0xFF),
    Plain(KEY_KATAKANAHIRAGANA, 0x70, 0xFF),
    Plain(KEY_MUHENKAN, 0x7B, 0xEB),
    Extended(KEY_KPENTER, 0x1C, 0x0D),
    Extended(KEY_RIGHTCTRL, 0x1D, 0xA3),
    Extended(KEY_KPSLASH, 0x35, 0x6F),
    Extended(KEY_SYSRQ, 0x37, 0x2C),  // the Print Screen key
    Extended(KEY_RIGHTALT, 0x38, 0xA5),
    Extended(KEY_HOME, 0x47, 0x24),
    Extended(KEY_UP, 0x48, 0x26),
    Extended(KEY_PAGEUP, 0x49, 0x21),
    Extended(KEY_LEFT, 0x4B, 0x25),
    Extended(KEY_RIGHT, 0x4D, 0x27),
    Extended(KEY_END, 0x4F, 0x23),
    Extended(KEY_DOWN, 0x50, 0x28),
    Extended(KEY_PAGEDOWN, 0x51, 0x22),
    Extended(KEY_INSERT, 0x52, 0x2D),
    Extended(KEY_DELETE, 0x53, 0x2E),
    Extended(KEY_MUTE, 0x20, 0xAD),
    Extended(KEY_VOLUMEDOWN, 0x2E, 0xAE),
    Extended(KEY_VOLUMEUP, 0x30, 0xAF),
    Extended(KEY_POWER, 0x5E, 0xFF),
    Plain(KEY_PAUSE, 0x45, 0x13),
    Plain(KEY_KPCOMMA, 0x7E, 0xC2),
    Plain(KEY_HANGEUL, 0x72, 0xFF),
    Plain(KEY_HANJA, 0x71, 0xE9),
    Plain(KEY_YEN, 0x7D, 0xFF),
    Extended(KEY_LEFTMETA, 0x5B, 0x5B),
    Extended(KEY_RIGHTMETA, 0x5C, 0x5C),
    Extended(KEY_COMPOSE, 0x5D, 0x5D),  // the Menu key
    Extended(KEY_STOP, 0x68, 0xA9),
    Extended(KEY_CALC, 0x21, 0xB7),
    Extended(KEY_SLEEP, 0x5F, 0x5F),
    Extended(KEY_WAKEUP, 0x63, 0xFF),
    Extended(KEY_MAIL, 0x6C, 0xB4),
    Extended(KEY_BOOKMARKS, 0x66, 0xAB),
    Extended(KEY_COMPUTER, 0x6B, 0xB6),
    Extended(KEY_BACK, 0x6A, 0xA6),
    Extended(KEY_FORWARD, 0x69, 0xA7),
    Extended(KEY_NEXTSONG, 0x19, 0xB0),
    Extended(KEY_PLAYPAUSE, 0x22, 0xB3),
    Extended(KEY_PREVIOUSSONG, 0x10, 0xB1),
    Extended(KEY_STOPCD, 0x24, 0xB2),
    // USB keyboards send their media select key as the configuration usage.
    Extended(KEY_CONFIG, 0x6D, 0xB5),
    Extended(KEY_HOMEPAGE, 0x32, 0xAC),
    Extended(KEY_REFRESH, 0x67, 0xA8),
    Plain(KEY_F13, 0x64, 0x7C),
    Plain(KEY_F14, 0x65, 0x7D),
    Plain(KEY_F15, 0x66, 0x7E),
    Plain(KEY_F16, 0x67, 0x7F),
    Plain(KEY_F17, 0x68, 0x80),
    Plain(KEY_F18, 0x69, 0x81),
    Plain(KEY_F19, 0x6A, 0x82),
    Plain(KEY_F20, 0x6B, 0x83),
    Plain(KEY_F21, 0x6C, 0x84),
    Plain(KEY_F22, 0x6D, 0x85),
    Plain(KEY_F23, 0x6E, 0x86),
    Plain(KEY_F24, 0x76, 0x87),
    Extended(KEY_SEARCH, 0x65, 0xAA),
    Extended(KEY_MEDIA, 0x6D, 0xB5),
});

static_assert(std::ranges::is_sorted(kLinuxKeyRows, {}, &LinuxKeyRow::evdevCode));
static_assert(std::ranges::adjacent_find(kLinuxKeyRows, {}, &LinuxKeyRow::evdevCode) ==
              kLinuxKeyRows.end());

constexpr uint32_t kNativeScanCodeOffset = 8;
constexpr uint32_t kRepeatCountOne = 1;
constexpr uint32_t kExtendedBit = 1U << 24;
constexpr uint32_t kPreviousStateBit = 1U << 30;

}  // namespace

std::optional<LinuxKeyTranslation> TranslateLinuxKey(uint16_t evdevCode) {
    const auto* row =
        std::ranges::lower_bound(kLinuxKeyRows, evdevCode, {}, &LinuxKeyRow::evdevCode);
    if (row == kLinuxKeyRows.end() || row->evdevCode != evdevCode) {
        return std::nullopt;
    }
    return row->translation;
}

uint16_t EvdevCodeOfNativeScanCode(uint32_t nativeScanCode) {
    if (nativeScanCode < kNativeScanCodeOffset ||
        nativeScanCode - kNativeScanCodeOffset > KEY_MAX) {
        return 0;
    }
    return static_cast<uint16_t>(nativeScanCode - kNativeScanCodeOffset);
}

uint32_t KeyMessageWord(uint8_t makeCode, bool extended, bool autoRepeat) {
    uint32_t word = kRepeatCountOne | (uint32_t{makeCode} << 16);
    if (extended) {
        word |= kExtendedBit;
    }
    if (autoRepeat) {
        word |= kPreviousStateBit;
    }
    return word;
}

}  // namespace zarvin
