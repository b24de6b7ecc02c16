#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/KeyCodes.h"
#include "model/KeyNames.h"
#include "model/TextKeys.h"
#include "store/IniFile.h"
#include "store/LanguageTexts.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedFile = ZARVIN_SOURCE_LANGUAGE_FILE;

// Texts from the shipped language file, looked up the way the program does.
TextLookup ShippedTexts() {
    return [texts = LanguageTexts(kShippedFile.parent_path())](std::string_view key) {
        return texts.LoadText(key, 0);
    };
}

// Texts from a small map; a key it lacks reads "#Error", as a language file gives.
TextLookup MapTexts(std::map<std::string, std::string, std::less<>> texts) {
    return [texts = std::move(texts)](std::string_view key) {
        const auto found = texts.find(key);
        return found == texts.end() ? std::string(kMissingText) : found->second;
    };
}

TEST(KeyCodeTable, SlotsAndCodesRoundTrip) {
    EXPECT_EQ(SlotOfKeyCode(0x11D), 0x9D);
    EXPECT_EQ(KeyCodeOfSlot(0x9D), 0x11D);
    EXPECT_EQ(SlotOfKeyCode(0x200), 256);
    std::set<KeyCode> codes;
    for (uint16_t slot = 0; slot < kKeySlotCount; ++slot) {
        const KeyCode code = KeyCodeOfSlot(slot);
        EXPECT_TRUE(code < 0x80 || (code >= 0x100 && code < 0x180)) << slot;
        EXPECT_EQ(SlotOfKeyCode(code), slot);
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), kKeySlotCount);
    for (KeyCode g = 0x200; g <= 0x211; ++g) {  // G1 to G18
        EXPECT_EQ(KeyCodeOfSlot(SlotOfKeyCode(g)), g);
    }
}

TEST(KeyCodeTable, HoldsItsRowsAndEmptyRowsElsewhere) {
    struct RowCase {
        KeyCode code;
        uint8_t vk;
        uint16_t pick;
        uint8_t device;
        std::string_view textKey;
    };
    const RowCase rows[] = {
        {0x001, 0x1B, 0x0025, 0x29, "IDS_KEYBOARD_ESC"},
        {0x029, 0xC0, 0x0030, 0x35, "IDS_KEYBOARD_AID1"},
        {0x054, 0x2C, 0x8012, 0x00, "IDS_KEYBOARD_SYSREQ"},
        {0x064, 0x7C, 0x802D, 0x00, ""},  // F13
        {0x07B, 0xEB, 0x8016, 0x8B, "IDS_KEYBOARD_N_CHG"},
        {0x119, 0xB0, 0x8022, 0xD1, "MEDIA_Next_TRACK_5"},
        {0x136, 0xA1, 0x0067, 0xE5, "IDS_KEYBOARD_RSHIFT"},
        {0x146, 0x03, 0x0042, 0x48, "IDS_KEYBOARD_BREAK"},
        {0x15E, 0xFF, 0x8001, 0x81, "IDS_KEYBOARD_POWER"},
        {0x162, 0xD2, 0x006F, 0xF5, "IDS_KEYBOARD_ROLL_DOWN"},
        {0x17E, 0x9F, 0x8011, 0x00, "IDS_KEYBOARD_FUNC_CALENDAR"},
    };
    for (const RowCase& c : rows) {
        const KeyInfo& row = KeyInfoOf(c.code);
        EXPECT_EQ(row.vk, c.vk) << c.code;
        EXPECT_EQ(row.pickIndex, c.pick) << c.code;
        EXPECT_EQ(row.deviceCode, c.device) << c.code;
        EXPECT_EQ(row.textKey, c.textKey) << c.code;
    }

    size_t filled = 0;
    std::set<std::string_view> textKeys;
    for (const KeyInfo& row : KeyTable) {
        if (row.Empty()) {
            EXPECT_EQ(row.vk, 0);
            EXPECT_EQ(row.altVk, 0);
            EXPECT_EQ(row.deviceCode, 0);
            EXPECT_TRUE(row.textKey.empty() && row.label.empty());
            continue;
        }
        ++filled;
        EXPECT_FALSE(row.label.empty());
        if (!row.textKey.empty()) {
            textKeys.insert(row.textKey);
        }
    }
    EXPECT_EQ(filled, 157u);  // 156 keys and the second Right Shift
    EXPECT_EQ(textKeys,
              std::set<std::string_view>(text_keys::kKeyNames.begin(), text_keys::kKeyNames.end()));
    EXPECT_TRUE(KeyInfoOf(0x055).Empty());
    EXPECT_TRUE(KeyInfoOf(0x200).Empty());  // G keys have no row
}

TEST(KeyCodeTable, OnlyKeypadKeysAcceptASecondVirtualKey) {
    const std::map<KeyCode, uint8_t> numLockOff = {
        {0x052, 0x2D}, {0x04F, 0x23}, {0x050, 0x28}, {0x051, 0x22}, {0x04B, 0x25}, {0x04C, 0x0C},
        {0x04D, 0x27}, {0x047, 0x24}, {0x048, 0x26}, {0x049, 0x21}, {0x053, 0x2E},
    };
    for (uint16_t slot = 0; slot < kKeySlotCount; ++slot) {
        const KeyCode code = KeyCodeOfSlot(slot);
        const KeyInfo& row = KeyTable[slot];
        const auto alt = numLockOff.find(code);
        EXPECT_EQ(row.altVk, alt == numLockOff.end() ? row.vk : alt->second) << code;
    }
}

TEST(KeyCodeTable, EveryKeyNameIsInTheShippedLanguageFile) {
    constexpr std::string_view kAbsent = "\x01 absent";
    EXPECT_NE(ReadIniString(kShippedFile, "TEXT", text_keys::UNKNOWN_KEY, kAbsent), kAbsent);
    for (const KeyInfo& row : KeyTable) {
        if (!row.textKey.empty()) {
            const std::string text = ReadIniString(kShippedFile, "TEXT", row.textKey, kAbsent);
            EXPECT_NE(text, kAbsent) << row.textKey;
            EXPECT_FALSE(text.empty()) << row.textKey;  // an empty one would read UNKNOWN_KEY
        }
    }
}

TEST(KeyCodeTable, PickListOffersTheKeysThenTheMouse) {
    const TextLookup texts = ShippedTexts();
    std::set<KeyCode> offered;
    for (uint16_t pick = 0; pick < kPickListSize; ++pick) {
        const KeyCode code = KeyCodeOfPick(pick);
        ASSERT_NE(code, 0) << pick;
        EXPECT_EQ(PickOfKeyCode(code), pick);
        EXPECT_TRUE(offered.insert(code).second) << pick;
        const std::string name = PickNameOf(pick, texts);
        EXPECT_FALSE(name.empty() || name == kMissingText) << pick;
    }
    EXPECT_EQ(KeyCodeOfPick(0), 0x01E);  // A
    EXPECT_EQ(KeyCodeOfPick(1), 0x030);  // B
    EXPECT_EQ(PickNameOf(0, texts), "A");
    EXPECT_EQ(KeyCodeOfPick(0x67), 0x036);  // the first Right Shift row
    EXPECT_EQ(KeyCodeOfPick(0x6A), 0);
    EXPECT_EQ(PickNameOf(0x6A, texts), "");
    const KeyCode mouse[] = {0x171, 0x172, 0x173, 0x161, 0x162};
    for (uint16_t i = 0; i < 5; ++i) {
        EXPECT_EQ(KeyCodeOfPick(static_cast<uint16_t>(0x6B + i)), mouse[i]);
    }
    EXPECT_EQ(PickNameOf(0x802D, texts), "");  // F13 has no text key
    EXPECT_EQ(PickOfKeyCode(0x055), kNoPick);
    EXPECT_EQ(PickOfKeyCode(0x200), kNoPick);
}

TEST(KeyCodeTable, UsagesOfKeyCodes) {
    struct UsageCase {
        KeyCode code;
        KeyUsage usage;
    };
    const UsageCase cases[] = {
        {0x161, {UsageClass::Mouse, 0xF4}},          // wheel up
        {0x15E, {UsageClass::SystemControl, 0x81}},  // Power
        {0x130, {UsageClass::Keyboard, 0xC0}},       // volume up
        {0x054, {UsageClass::None, 0}},              // Sys Req
        {0x01E, {UsageClass::Keyboard, 0x04}},       // A
        {0x15C, {UsageClass::Keyboard, 0xE7}},       // right Windows key
        {0x176, {UsageClass::None, 0}},              // Copy
        {0x200, {UsageClass::None, 0}},              // G1
    };
    for (const UsageCase& c : cases) {
        EXPECT_EQ(UsageOfKeyCode(c.code), c.usage) << c.code;
    }
}

TEST(KeyCodeTable, KeyCodesOfUsages) {
    struct CodeCase {
        UsageClass usageClass;
        uint16_t usage;
        KeyCode code;
    };
    const CodeCase cases[] = {
        {UsageClass::Consumer, 0x00E9, 0x130},  // volume up
        {UsageClass::Consumer, 0x00B5, 0x119},  // next track
        {UsageClass::Consumer, 0x0123, 0},
        {UsageClass::Consumer, 0, 0},  // "no control", not the table's zero padding
        {UsageClass::Mouse, 0xF1, 0},
        {UsageClass::SystemControl, 0x84, 0},
        {UsageClass::SystemControl, 0x83, 0x163},  // Wake
        {UsageClass::Keyboard, 0x48, 0x045},       // Pause, not Break
        {UsageClass::Keyboard, 0xE5, 0x036},       // the first Right Shift
        {UsageClass::Keyboard, 0xC0, 0x130},
        {UsageClass::Keyboard, 0x0104, 0},  // no device code is that wide
        {UsageClass::Keyboard, 0, 0},
        {UsageClass::None, 0x04, 0},
    };
    for (const CodeCase& c : cases) {
        EXPECT_EQ(KeyCodeOfUsage(c.usageClass, c.usage), c.code) << c.usage;
    }
    // Every code with a keyboard or system-control usage comes back from it, but the two that
    // share their device code with a lower slot.
    const std::map<KeyCode, KeyCode> shared = {{0x146, 0x045}, {0x136, 0x036}};
    for (uint16_t slot = 0; slot < kKeySlotCount; ++slot) {
        const KeyCode code = KeyCodeOfSlot(slot);
        const KeyUsage usage = UsageOfKeyCode(code);
        if (usage.usageClass == UsageClass::Keyboard ||
            usage.usageClass == UsageClass::SystemControl) {
            const auto other = shared.find(code);
            EXPECT_EQ(KeyCodeOfUsage(usage), other == shared.end() ? code : other->second) << code;
        }
    }
    // The multimedia codes are also reached through their consumer usages.
    for (size_t i = 0; i < 18; ++i) {
        const KeyCode code = KeyCodeOfUsage(UsageClass::Consumer, ConsumerUsageTable[i]);
        EXPECT_EQ(size_t{KeyInfoOf(code).deviceCode}, 0xC0 + i) << i;
    }
}

TEST(KeyCodeTable, ModifierKeysAndTheirBits) {
    const std::pair<uint8_t, KeyCode> modifiers[] = {
        {0x01, 0x01D}, {0x02, 0x02A}, {0x04, 0x038}, {0x08, 0x15B},
        {0x10, 0x11D}, {0x20, 0x036}, {0x40, 0x138}, {0x80, 0x15C},
    };
    for (const auto& [mask, code] : modifiers) {
        EXPECT_EQ(ModifierKeyCode(mask), code) << int{mask};
        EXPECT_EQ(ModifierMaskOf(code), mask) << code;
    }
    EXPECT_EQ(ModifierKeyCode(0), 0);
    EXPECT_EQ(ModifierKeyCode(0x06), 0x02A);  // the lowest bit counts
    EXPECT_EQ(ModifierKeyCode(0xC0), 0x138);
    EXPECT_EQ(ModifierMaskOf(0x136), 0);  // the second Right Shift row is no modifier code
    EXPECT_EQ(ModifierMaskOf(0x01E), 0);
}

TEST(KeyCodeTable, VirtualKeysLeadToTheLowestSlotWithTheirExceptions) {
    const std::pair<uint8_t, uint8_t> cases[] = {
        {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38},  // generic Shift, Ctrl, Alt: the left keys
        {0x2C, 0xB7},                              // Print Screen, not Sys Req
        {0x0D, 0x1C},                              // Enter before Num Enter
        {0xA1, 0x36},                              // the first Right Shift
        {0x21, 0xC9},                              // Page Up, not Num 9's second code
        {0x41, 0x1E}, {0xD1, 0xE1}, {0x7C, 0x64}, {0x01, 0}, {0x02, 0}, {0x04, 0}, {0x88, 0},
        {0x8C, 0},    {0x97, 0},    {0x9F, 0},    {0xFF, 0}, {0x00, 0}, {0x0C, 0},
    };
    for (const auto& [vk, slot] : cases) {
        EXPECT_EQ(VkSlotTable[vk], slot) << int{vk};
    }
}

uint32_t KeyData(unsigned makeCode, bool extended) {
    return makeCode << 16 | (extended ? 1u << 24 : 0) | 1;  // repeat count 1
}

TEST(KeyCodeTable, KeyEventsBecomeKeyCodes) {
    struct EventCase {
        uint8_t vk;
        uint32_t keyData;
        KeyCode code;
        const char* what;
    };
    const EventCase cases[] = {
        {0x21, KeyData(0x49, true), 0x149, "Page Up"},
        {0x21, KeyData(0x49, false), 0x049, "Num 9 with Num Lock off"},
        {0x10, KeyData(0, false), 0x02A, "Shift without a scan code"},
        {0x10, KeyData(0x36, false), 0x036, "Right Shift"},
        {0xA0, KeyData(0x36, false), 0x036, "Right Shift whatever the virtual key"},
        {0x11, KeyData(0x1D, true), 0x11D, "Right Ctrl through the generic Ctrl"},
        {0x12, KeyData(0x38, true), 0x138, "Right Alt through the generic Alt"},
        {0x0D, KeyData(0x1C, true), 0x11C, "Num Enter"},
        {0x2C, KeyData(0x37, true), 0x137, "Print Screen"},
        {0x2C, KeyData(0x54, false), 0x054, "Sys Req"},
        {0xFF, KeyData(0x70, false), 0x070, "a key without a virtual key"},
        {0x41, KeyData(0x30, false), 0x01E, "a scan code that disagrees"},
        {0x01, KeyData(0x00, false), 0, "a mouse button"},
    };
    for (const EventCase& c : cases) {
        EXPECT_EQ(KeyCodeOfKeyEvent(c.vk, c.keyData), c.code) << c.what;
    }
}

TEST(KeyCodeTable, FourKeysGetAnInsertedPress) {
    for (const KeyCode code : std::initializer_list<KeyCode>{0x054, 0x071, 0x072, 0x137}) {
        EXPECT_TRUE(NeedsInsertedPress(code)) << code;
    }
    for (const KeyCode code : std::initializer_list<KeyCode>{0x000, 0x036, 0x154, 0x070, 0x073}) {
        EXPECT_FALSE(NeedsInsertedPress(code)) << code;
    }
}

TEST(KeyCodeTable, NamesComeFromTheLanguageFileOrTheUnknownKeyTemplate) {
    const TextLookup shipped = ShippedTexts();
    EXPECT_EQ(KeyNameOf(0x03A, shipped), "Caps Lock");
    EXPECT_EQ(KeyNameOf(0x064, shipped), "Key 0x064");  // F13 has no text key
    EXPECT_EQ(KeyNameOf(0x200, shipped), "Key 0x200");  // no row
    EXPECT_EQ(KeyNameOf(0x055, shipped), "Key 0x055");  // an empty row

    const TextLookup texts = MapTexts({{"UNKNOWN_KEY", "Key %u"}, {"IDS_KEYBOARD_ESC", ""}});
    EXPECT_EQ(KeyNameOf(0x064, texts), "Key 100");
    EXPECT_EQ(KeyNameOf(0x001, texts), "Key 1");       // an empty text
    EXPECT_EQ(KeyNameOf(0x01E, texts), kMissingText);  // a missing text reads as the file gives
}

TEST(KeyCodeTable, UnknownKeyTemplatesAreFilledSafely) {
    const std::pair<std::string, std::string> cases[] = {
        {"Key 0x%03X", "Key 0x064"},
        {"%d%%", "100%"},
        {"[%5d]", "[  100]"},
        {"[%-5x]", "[64   ]"},
        {"%#o", "0144"},
        {"%lu and %hhd", "100 and %hhd"},  // only the first conversion takes the code
        {"%s %n %p %d", "%s %n %p 100"},   // no conversion reads what is not there
        {"100%", "100%"},
        {"", ""},
    };
    for (const auto& [format, name] : cases) {
        EXPECT_EQ(KeyNameOf(0x064, MapTexts({{"UNKNOWN_KEY", format}})), name) << format;
    }
    const std::string huge = KeyNameOf(0x064, MapTexts({{"UNKNOWN_KEY", "%99999999999d"}}));
    EXPECT_EQ(huge.size(), kKeyNameCapacity - 1);
    EXPECT_EQ(huge.substr(huge.size() - 4), " 100");
}

TEST(KeyCodeTable, NamesAreCutToTheCallersBuffer) {
    const TextLookup texts = MapTexts({{"IDS_KEYBOARD_ESC",
                                        "a\xF0\x9F\x98\x80"
                                        "b"}});  // a😀b
    EXPECT_EQ(KeyNameOf(0x001, texts, 5),
              "a\xF0\x9F\x98\x80"
              "b");
    EXPECT_EQ(KeyNameOf(0x001, texts, 4), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(KeyNameOf(0x001, texts, 3), "a");  // half a surrogate pair is left out
    EXPECT_EQ(KeyNameOf(0x001, texts, 1), "");
    EXPECT_EQ(KeyNameOf(0x001, texts, 0), "");
}

TEST(KeyNames, TypedNamesFindTheirKeys) {
    const std::pair<std::string_view, KeyCode> cases[] = {
        {"CapsLock", 0x03A},
        {"caps lock", 0x03A},
        {"CAPS_LOCK", 0x03A},
        {"caps-lock", 0x03A},
        {"LeftCtrl", 0x01D},
        {"LCtrl", 0x01D},
        {"left_ctrl", 0x01D},
        {"Ctrl", 0x01D},
        {"RightCtrl", 0x11D},
        {"F1", 0x03B},
        {"f12", 0x058},
        {"F13", 0x064},
        {"Mute", 0x120},
        {"WheelUp", 0x161},
        {"MouseLeft", 0x171},
        {"Esc", 0x001},
        {"Right Shift", 0x036},
        {"-", 0x00C},
        {"Num -", 0x04A},
        {"num-", 0x04A},
        {"Num-7", 0x047},
        {"V-", 0x12E},
        {"VolumeUp", 0x130},
        {"ROMA", 0x070},
        {"ROMA (133)", 0x070},
        {"n-chg", 0x07B},
        {"G1", 0x200},
        {"g18", 0x211},
        {"\\", 0x02B},
        {"↑", 0x148},
        {"Up", 0x148},
        {"Capslok", 0},
        {"", 0},
        {"  ", 0},
        {"G19", 0},
        {"Num", 0},
    };
    for (const auto& [typed, code] : cases) {
        EXPECT_EQ(KeyCodeOfName(typed), code) << typed;
    }
}

TEST(KeyNames, EveryLabelAndAliasNamesItsOwnKey) {
    std::set<std::string_view> labels;
    for (uint16_t slot = 0; slot < kKeySlotCount; ++slot) {
        const std::string_view label = KeyTable[slot].label;
        if (!label.empty() && labels.insert(label).second) {  // the first row of a label counts
            EXPECT_EQ(KeyCodeOfName(label), KeyCodeOfSlot(slot)) << label;
        }
    }
    for (const KeyAlias& alias : KeyNameAliases()) {
        EXPECT_EQ(KeyCodeOfName(alias.name), alias.code) << alias.name;
        EXPECT_FALSE(KeyInfoOf(alias.code).Empty()) << alias.name;
    }
}

TEST(KeyNames, UnknownNamesGetCloseMatches) {
    EXPECT_EQ(CloseKeyNames("Capslok").at(0), "CapsLock");
    EXPECT_EQ(CloseKeyNames("LeftCrtl").at(0), "LeftCtrl");
    EXPECT_EQ(CloseKeyNames("Mte").at(0), "Mute");
    EXPECT_EQ(CloseKeyNames("F1x", 1), std::vector<std::string>{"F1"});
    EXPECT_TRUE(CloseKeyNames("zzzzzzzzzz").empty());
    EXPECT_TRUE(CloseKeyNames("").empty());
    EXPECT_TRUE(CloseKeyNames(std::string(10000, 'a')).empty());

    // One name per key, at most as many as asked for.
    const std::vector<std::string> close = CloseKeyNames("Contrl", 5);
    EXPECT_LE(close.size(), 5u);
    std::set<KeyCode> keys;
    for (const std::string& name : close) {
        EXPECT_TRUE(keys.insert(KeyCodeOfName(name)).second) << name;
    }
}

}  // namespace
}  // namespace zarvin
