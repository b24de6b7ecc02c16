#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>

#include "model/KeyCodes.h"
#include "platform/LinuxKeyEvents.h"

namespace zarvin {
namespace {

KeyCode KeyCodeOfTranslation(const LinuxKeyTranslation& key) {
    return static_cast<KeyCode>((key.extended ? 0x100 : 0) | key.makeCode);
}

// What the key editors do with a Linux key event.
KeyCode KeyCodeOfLinuxKey(uint16_t evdevCode, bool autoRepeat = false) {
    const auto key = TranslateLinuxKey(evdevCode);
    if (!key) {
        return 0;
    }
    return KeyCodeOfKeyEvent(key->vk, KeyMessageWord(key->makeCode, key->extended, autoRepeat));
}

struct KeyCase {
    uint16_t evdevCode;
    LinuxKeyTranslation translation;
    KeyCode keyCode;
};

TEST(LinuxKeyEvents, GivesMakeCodeExtendedFlagVirtualKeyAndKeyCode) {
    const KeyCase cases[] = {
        {KEY_A, {0x1E, false, 0x41}, 0x01E},
        {KEY_RIGHTCTRL, {0x1D, true, 0xA3}, 0x11D},
        {KEY_UP, {0x48, true, 0x26}, 0x148},
        {KEY_KPENTER, {0x1C, true, 0x0D}, 0x11C},
        {KEY_KP8, {0x48, false, 0x68}, 0x048},
        {KEY_PAUSE, {0x45, false, 0x13}, 0x045},
        {KEY_NUMLOCK, {0x45, true, 0x90}, 0x145},
        {KEY_SYSRQ, {0x37, true, 0x2C}, 0x137},
        {KEY_LEFTMETA, {0x5B, true, 0x5B}, 0x15B},
        {KEY_RIGHTSHIFT, {0x36, false, 0xA1}, 0x036},
        {KEY_102ND, {0x56, false, 0xE2}, 0x056},
        {KEY_KATAKANAHIRAGANA, {0x70, false, 0xFF}, 0x070},
        {KEY_YEN, {0x7D, false, 0xFF}, 0x07D},
        {KEY_WAKEUP, {0x63, true, 0xFF}, 0x163},
        {KEY_VOLUMEUP, {0x30, true, 0xAF}, 0x130},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.evdevCode);
        EXPECT_EQ(TranslateLinuxKey(c.evdevCode), c.translation);
        EXPECT_EQ(KeyCodeOfLinuxKey(c.evdevCode), c.keyCode);
    }
}

TEST(LinuxKeyEvents, EveryTranslatedKeyGivesItsTableCode) {
    for (uint16_t evdev = 0; evdev <= KEY_MAX; ++evdev) {
        const auto key = TranslateLinuxKey(evdev);
        if (!key) {
            continue;
        }
        SCOPED_TRACE(evdev);
        const KeyCode code = KeyCodeOfTranslation(*key);
        const KeyInfo& row = KeyInfoOf(code);
        if (row.Empty()) {
            // F14-F24: Linux has them, the table does not, so they stay unassigned.
            EXPECT_EQ(KeyCodeOfLinuxKey(evdev), 0);
            continue;
        }
        EXPECT_EQ(key->vk, row.vk);
        EXPECT_EQ(KeyCodeOfLinuxKey(evdev), code);
        EXPECT_EQ(KeyCodeOfLinuxKey(evdev, true), code);
    }
}

TEST(LinuxKeyEvents, ReachesEveryTableKeyThatLinuxReports) {
    std::set<KeyCode> reached;
    for (uint16_t evdev = 0; evdev <= KEY_MAX; ++evdev) {
        reached.insert(KeyCodeOfLinuxKey(evdev));
    }
    // Keys Linux never reports on their own: Sys Req and Break are Alt and Ctrl with another
    // key, and 0x136 is a second Right Shift row. The wheel, mouse and office functions are no
    // keys at all.
    const std::set<KeyCode> unreachable{0x054, 0x136, 0x146};
    const auto isFunction = [](KeyCode code) {
        return code == 0x161 || code == 0x162 || code >= 0x16E;
    };
    for (uint16_t slot = 1; slot < kKeySlotCount; ++slot) {
        const KeyCode code = KeyCodeOfSlot(slot);
        if (KeyTable[slot].Empty() || unreachable.contains(code) || isFunction(code)) {
            continue;
        }
        EXPECT_TRUE(reached.contains(code)) << std::hex << code;
    }
}

TEST(LinuxKeyEvents, KeyMessageWordCarriesScanCodeExtendedFlagAndRepeat) {
    EXPECT_EQ(KeyMessageWord(0x1E, false, false), 0x001E0001U);
    EXPECT_EQ(KeyMessageWord(0x48, true, false), 0x01480001U);
    EXPECT_EQ(KeyMessageWord(0x48, true, true), 0x41480001U);
}

TEST(LinuxKeyEvents, NativeScanCodesAreEvdevCodesPlusEight) {
    EXPECT_EQ(EvdevCodeOfNativeScanCode(38), KEY_A);
    EXPECT_EQ(EvdevCodeOfNativeScanCode(8 + KEY_MAX), KEY_MAX);
    for (const uint32_t outside : {0U, 7U, 9U + KEY_MAX, 0xFFFFFFFFU}) {
        EXPECT_EQ(EvdevCodeOfNativeScanCode(outside), 0) << outside;
    }
}

TEST(LinuxKeyEvents, UnknownCodesAreNotTranslated) {
    for (const uint16_t evdev :
         {uint16_t{KEY_RESERVED}, uint16_t{KEY_BRIGHTNESSUP}, uint16_t{0xFFFF}}) {
        EXPECT_FALSE(TranslateLinuxKey(evdev).has_value()) << evdev;
    }
}

}  // namespace
}  // namespace zarvin
