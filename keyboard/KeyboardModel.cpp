#include "keyboard/KeyboardModel.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>

namespace zarvin {
namespace {

// The factory key matrices: one 3-byte entry per key position, positions numbered column by
// column (eight rows to a column), as the keyboard scans them.
struct Entry {
    uint8_t kind;
    uint8_t first;
    uint8_t second;
};

constexpr Entry Key(uint8_t hidUsage) { return {0x02, 0x02, hidUsage}; }
constexpr Entry Mod(uint8_t modifierBit) { return {0x02, 0x01, modifierBit}; }
constexpr Entry G(uint8_t number) { return {0x06, 0xA2, number}; }
constexpr Entry Fn{kFnEntry[0], kFnEntry[1], kFnEntry[2]};
constexpr Entry Gap{0x00, 0x00, 0x00};

constexpr size_t kRows = 8;
constexpr size_t kColumns = 16;
using Matrix = std::array<std::array<Entry, kRows>, kColumns>;

// Rows of a column: 0 function-key row, 1 number row, 2 Q row, 3 A row, 4 Z row, 5 bottom row,
// 6 and 7 keys wired in where the scan lines had room. Positions 99 and 106 stay empty: the
// host copies entry 106 over entry 99 before it builds a key map, which is harmless only when
// neither holds a key.
constexpr Matrix kMatrix126{{
    // 0-7: G1 G2 G3 G4 G5 G6 G7 G8
    {G(1), G(2), G(3), G(4), G(5), G(6), G(7), G(8)},
    // 8-15: Esc ` Tab CapsLock LShift LCtrl G9 ISO-backslash
    {Key(0x29), Key(0x35), Key(0x2B), Key(0x39), Mod(0x02), Mod(0x01), G(9), Key(0x64)},
    // 16-23: F1 1 Q A Z LWin
    {Key(0x3A), Key(0x1E), Key(0x14), Key(0x04), Key(0x1D), Mod(0x08), Gap, Gap},
    // 24-31: F2 2 W S X LAlt
    {Key(0x3B), Key(0x1F), Key(0x1A), Key(0x16), Key(0x1B), Mod(0x04), Gap, Gap},
    // 32-39: F3 3 E D C Space PrintScreen
    {Key(0x3C), Key(0x20), Key(0x08), Key(0x07), Key(0x06), Key(0x2C), Key(0x46), Gap},
    // 40-47: F4 4 R F V RAlt ScrollLock
    {Key(0x3D), Key(0x21), Key(0x15), Key(0x09), Key(0x19), Mod(0x40), Key(0x47), Gap},
    // 48-55: F5 5 T G B Fn =
    {Key(0x3E), Key(0x22), Key(0x17), Key(0x0A), Key(0x05), Fn, Key(0x2E), Gap},
    // 56-63: F6 6 Y H N Menu Pause
    {Key(0x3F), Key(0x23), Key(0x1C), Key(0x0B), Key(0x11), Key(0x65), Key(0x48), Gap},
    // 64-71: F7 7 U J M RWin - Num3
    {Key(0x40), Key(0x24), Key(0x18), Key(0x0D), Key(0x10), Mod(0x80), Key(0x2D), Key(0x5B)},
    // 72-79: F8 8 I K , RCtrl Backspace NumEnter
    {Key(0x41), Key(0x25), Key(0x0C), Key(0x0E), Key(0x36), Mod(0x10), Key(0x2A), Key(0x58)},
    // 80-87: F9 9 O L . Left Insert Num0
    {Key(0x42), Key(0x26), Key(0x12), Key(0x0F), Key(0x37), Key(0x50), Key(0x49), Key(0x62)},
    // 88-95: F10 0 P ; / Down Home Num.
    {Key(0x43), Key(0x27), Key(0x13), Key(0x33), Key(0x38), Key(0x51), Key(0x4A), Key(0x63)},
    // 96-103: F11 [ ] (99 empty) RShift Right PageUp ISO-hash
    {Key(0x44), Key(0x2F), Key(0x30), Gap, Mod(0x20), Key(0x4F), Key(0x4B), Key(0x31)},
    // 104-111: F12 ' (106 empty) Enter Ro Up Delete End
    {Key(0x45), Key(0x34), Gap, Key(0x28), Key(0x87), Key(0x52), Key(0x4C), Key(0x4D)},
    // 112-119: NumLock Num/ Num* Num- Num7 Num8 Num9 PageDown
    {Key(0x53), Key(0x54), Key(0x55), Key(0x56), Key(0x5F), Key(0x60), Key(0x61), Key(0x4E)},
    // 120-125: Num4 Num5 Num6 Num+ Num1 Num2 (the 126-key model ends here)
    {Key(0x5C), Key(0x5D), Key(0x5E), Key(0x57), Key(0x59), Key(0x5A), Gap, Gap},
}};

// The 128-key model scans the whole numeric pad in its last two columns.
constexpr Matrix kMatrix128{{
    // 0-7: G1 G2 G3 G4 G5 G6 G7 G8
    {G(1), G(2), G(3), G(4), G(5), G(6), G(7), G(8)},
    // 8-15: Esc ` Tab CapsLock LShift LCtrl G9 ISO-backslash
    {Key(0x29), Key(0x35), Key(0x2B), Key(0x39), Mod(0x02), Mod(0x01), G(9), Key(0x64)},
    // 16-23: F1 1 Q A Z LWin
    {Key(0x3A), Key(0x1E), Key(0x14), Key(0x04), Key(0x1D), Mod(0x08), Gap, Gap},
    // 24-31: F2 2 W S X LAlt
    {Key(0x3B), Key(0x1F), Key(0x1A), Key(0x16), Key(0x1B), Mod(0x04), Gap, Gap},
    // 32-39: F3 3 E D C Space PrintScreen
    {Key(0x3C), Key(0x20), Key(0x08), Key(0x07), Key(0x06), Key(0x2C), Key(0x46), Gap},
    // 40-47: F4 4 R F V RAlt ScrollLock
    {Key(0x3D), Key(0x21), Key(0x15), Key(0x09), Key(0x19), Mod(0x40), Key(0x47), Gap},
    // 48-55: F5 5 T G B Fn =
    {Key(0x3E), Key(0x22), Key(0x17), Key(0x0A), Key(0x05), Fn, Key(0x2E), Gap},
    // 56-63: F6 6 Y H N Menu Pause
    {Key(0x3F), Key(0x23), Key(0x1C), Key(0x0B), Key(0x11), Key(0x65), Key(0x48), Gap},
    // 64-71: F7 7 U J M RWin -
    {Key(0x40), Key(0x24), Key(0x18), Key(0x0D), Key(0x10), Mod(0x80), Key(0x2D), Gap},
    // 72-79: F8 8 I K , RCtrl Backspace
    {Key(0x41), Key(0x25), Key(0x0C), Key(0x0E), Key(0x36), Mod(0x10), Key(0x2A), Gap},
    // 80-87: F9 9 O L . Left Insert Num0
    {Key(0x42), Key(0x26), Key(0x12), Key(0x0F), Key(0x37), Key(0x50), Key(0x49), Key(0x62)},
    // 88-95: F10 0 P ; / Down Home Num.
    {Key(0x43), Key(0x27), Key(0x13), Key(0x33), Key(0x38), Key(0x51), Key(0x4A), Key(0x63)},
    // 96-103: F11 [ ] (99 empty) RShift Right PageUp ISO-hash
    {Key(0x44), Key(0x2F), Key(0x30), Gap, Mod(0x20), Key(0x4F), Key(0x4B), Key(0x31)},
    // 104-111: F12 ' (106 empty) Enter Ro Up Delete End
    {Key(0x45), Key(0x34), Gap, Key(0x28), Key(0x87), Key(0x52), Key(0x4C), Key(0x4D)},
    // 112-119: NumLock Num/ Num* Num- Num7 Num8 Num9 PageDown
    {Key(0x53), Key(0x54), Key(0x55), Key(0x56), Key(0x5F), Key(0x60), Key(0x61), Key(0x4E)},
    // 120-127: Num4 Num5 Num6 Num+ Num1 Num2 Num3 NumEnter
    {Key(0x5C), Key(0x5D), Key(0x5E), Key(0x57), Key(0x59), Key(0x5A), Key(0x5B), Key(0x58)},
}};

template <size_t Length>
constexpr std::array<uint8_t, Length> Flatten(const Matrix& matrix, size_t positions) {
    std::array<uint8_t, Length> bytes{};
    for (size_t position = 0; position < positions; ++position) {
        const Entry& entry = matrix[position / kRows][position % kRows];
        bytes[3 * position] = entry.kind;
        bytes[3 * position + 1] = entry.first;
        bytes[3 * position + 2] = entry.second;
    }
    return bytes;
}

// On the 128-key model the bytes after the 128 entries are 0.
constexpr auto kBytes126 = Flatten<378>(kMatrix126, 126);
constexpr auto kBytes128 = Flatten<512>(kMatrix128, 128);

// The updater brings version 0x0108 to the 126-key model; version 0 is an unanswered read.
constexpr std::array kModels{
    KeyboardModel{.name = "126",
                  .vendorId = 0x0C45,
                  .productId = 0x5004,
                  .keyCount = 126,
                  .keyMapLength = 378,
                  .profileStride = 378,
                  .updateFrom = 1,
                  .updateBelow = 0x0108,
                  .factoryKeyMatrix = kBytes126,
                  .factoryMacroCapacity = 100,
                  .factoryFirmwareVersion = 0x0110},
    KeyboardModel{.name = "128",
                  .vendorId = 0x320F,
                  .productId = 0x5000,
                  .keyCount = 128,
                  .keyMapLength = 512,
                  .profileStride = 512,
                  .updateFrom = 0,
                  .updateBelow = 0,
                  .factoryKeyMatrix = kBytes128,
                  .factoryMacroCapacity = 100,
                  .factoryFirmwareVersion = 0x0110},
};

constexpr bool FitsItsKeyMap(const KeyboardModel& model) {
    return model.factoryKeyMatrix.size() == model.keyMapLength &&
           3 * static_cast<size_t>(model.keyCount) <= model.keyMapLength &&
           model.keyMapLength <= kDefaultKeyMatrixBytes && model.keyMapLength <= model.profileStride;
}
static_assert(std::ranges::all_of(kModels, FitsItsKeyMap));

}  // namespace

std::span<const KeyboardModel> KeyboardModels() {
    return kModels;
}

const KeyboardModel* ModelForIds(uint16_t vendorId, uint16_t productId) {
    const auto found = std::ranges::find_if(kModels, [&](const KeyboardModel& model) {
        return model.vendorId == vendorId && model.productId == productId;
    });
    return found == kModels.end() ? nullptr : &*found;
}

std::string SupportedIdsText(std::string_view lastJoin) {
    std::string text;
    for (size_t i = 0; i < kModels.size(); ++i) {
        if (i > 0) {
            text += i + 1 == kModels.size() ? " " + std::string(lastJoin) + " " : ", ";
        }
        char ids[10];
        std::snprintf(ids, sizeof ids, "%04x:%04x", kModels[i].vendorId, kModels[i].productId);
        text += ids;
    }
    return text;
}

}  // namespace zarvin
