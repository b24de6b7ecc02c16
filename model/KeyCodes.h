#pragma once

// Key codes: one 16-bit number for every key, mouse action and multimedia or system function the
// configurator can show, assign or record, and the fixed 256-row table that describes them. A
// code is the key's scan code set 1 make code, 0x100 + the make code for keys sent with the E0
// prefix, a free extended code for functions without a scan code (wheel, mouse buttons, office
// functions), or 0x200 + (n - 1) for G key n. Everything here is constant data and pure
// functions, callable from any thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zarvin {

using KeyCode = uint16_t;

inline constexpr size_t kKeySlotCount = 256;
inline constexpr uint16_t kNoPick = 0xFFFF;       // pickIndex of an empty row
inline constexpr uint16_t kPickListSize = 106;    // pick indexes 0x00-0x69
inline constexpr uint16_t kNotPickable = 0x8000;  // pickIndex bit of rows never offered
// The callers' name buffers hold 260 UTF-16 units, the terminator included.
inline constexpr size_t kKeyNameCapacity = 260;

// One row of the key code table.
struct KeyInfo {
    uint8_t vk = 0;                // the Windows virtual-key code the key produces
    uint8_t altVk = 0;             // also accepted; differs on the keypad (its Num Lock off code)
    uint16_t pickIndex = kNoPick;  // place in the key pick list; bit 15: never offered
    uint8_t deviceCode = 0;        // the keyboard's code in key maps and macros; 0: none
    std::string_view textKey;      // language text of the display name; empty for F13
    std::string_view label;        // a short English label; displays use the language text

    constexpr bool Empty() const { return pickIndex == kNoPick; }
};

// Below 0x100 a code is its own slot; extended make code s sits on slot 0x80 + s; G keys get
// slots 256 and up.
constexpr uint16_t SlotOfKeyCode(KeyCode code) {
    if (code < 0x100) {
        return code;
    }
    if (code < 0x200) {
        return static_cast<uint16_t>((code - 0x80) & 0xFF);
    }
    return static_cast<uint16_t>(code - 0x100);
}

// The inverse of SlotOfKeyCode: slots 0x80-0xFF hold the extended codes, slots from 256 the G
// keys. No code lies beyond slot 0xFEFF; those slots give 0.
constexpr KeyCode KeyCodeOfSlot(uint16_t slot) {
    if (slot < 0x80) {
        return slot;
    }
    if (slot < kKeySlotCount) {
        return static_cast<KeyCode>(slot + 0x80);
    }
    return slot <= 0xFEFF ? static_cast<KeyCode>(slot + 0x100) : KeyCode{0};
}

// The table, indexed by slot (empty rows included), and the row of a code. A code whose slot
// lies beyond the table (a G key) gets an empty row.
extern const std::array<KeyInfo, kKeySlotCount> KeyTable;
const KeyInfo& KeyInfoOf(KeyCode code);

// For each virtual-key code the slot of the key that produces it, 0 for none.
extern const std::array<uint8_t, kKeySlotCount> VkSlotTable;

// Entry i: the HID consumer-page usage of the keyboard's multimedia code 0xC0 + i.
inline constexpr std::array<uint16_t, 32> ConsumerUsageTable{
    0x00E9,  // 0xC0 volume up
    0x00EA,  // 0xC1 volume down
    0x0183,  // 0xC2 media player
    0x018A,  // 0xC3 mail
    0x0192,  // 0xC4 calculator
    0x0194,  // 0xC5 my computer
    0x0221,  // 0xC6 browser search
    0x0223,  // 0xC7 browser home
    0x0224,  // 0xC8 browser back
    0x0225,  // 0xC9 browser forward
    0x0226,  // 0xCA browser stop
    0x0227,  // 0xCB browser refresh
    0x022A,  // 0xCC browser favourites
    0x00E2,  // 0xCD mute
    0x00CD,  // 0xCE play/pause
    0x00B7,  // 0xCF stop
    0x00B6,  // 0xD0 previous track
    0x00B5,  // 0xD1 next track
};

// How a device code goes out in HID terms.
enum class UsageClass : uint16_t {
    None = 0,
    SystemControl = 1,  // 0x81 Power, 0x82 Sleep, 0x83 Wake
    Mouse = 2,          // device codes 0xF1-0xF8
    Keyboard = 7,       // every other device code, the multimedia codes 0xC0-0xD5 included
    Consumer = 12,      // never produced from a device code; accepted by KeyCodeOfUsage
};

struct KeyUsage {
    UsageClass usageClass = UsageClass::None;
    uint16_t usage = 0;

    bool operator==(const KeyUsage&) const = default;
};

KeyUsage UsageOfKeyCode(KeyCode code);
// The lowest slot whose device code the usage stands for; 0 if none (mouse usages included).
KeyCode KeyCodeOfUsage(UsageClass usageClass, uint16_t usage);
inline KeyCode KeyCodeOfUsage(KeyUsage usage) {
    return KeyCodeOfUsage(usage.usageClass, usage.usage);
}

// The modifier key of the lowest bit set in a HID modifier byte (bit 0 Left Ctrl ... bit 7
// right Windows key); 0 for mask 0.
KeyCode ModifierKeyCode(uint8_t mask);
// The HID modifier bit of one of the eight modifier keys, 0 for every other code.
uint8_t ModifierMaskOf(KeyCode code);

// The key pick list: position i is pick index i. The first row (lowest slot) with the pick index
// counts, so pick 0x67 is the Right Shift of code 0x036.
KeyCode KeyCodeOfPick(uint16_t pickIndex);
uint16_t PickOfKeyCode(KeyCode code);

// The key code of a keyboard event: `vk` is its virtual-key code and `keyData` the key-message
// word (scan code in bits 16-23, extended flag in bit 24). The scan code wins whenever it agrees
// with the virtual-key code; otherwise the virtual-key code decides.
KeyCode KeyCodeOfKeyEvent(uint8_t vk, uint32_t keyData);

// Sys Req, KL, KR and Print Screen: keys whose recorded events get an inserted press.
bool NeedsInsertedPress(KeyCode code);

// Looks a text up by key in section TEXT of the current language file.
using TextLookup = std::function<std::string(std::string_view textKey)>;

// The display name: the row's language text, or the UNKNOWN_KEY text filled in with the code
// when the row has no text key, its text is empty or the code has no row. Cut to
// `capacity` - 1 UTF-16 units, as the callers' buffers hold.
std::string KeyNameOf(KeyCode code, const TextLookup& texts, size_t capacity = kKeyNameCapacity);
// The language text of the first row with the pick index; empty when none or the row has no
// text key.
std::string PickNameOf(uint16_t pickIndex, const TextLookup& texts);

}  // namespace zarvin
