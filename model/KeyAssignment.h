#pragma once

// One key's assignment in one profile: the 16-byte record that the profile store keeps for every
// key slot of every profile, stored as it is in profile files (little-endian):
//
//   offset 0   u16  type      AssignmentType
//   offset 2   u16  gId       a G key's identifier (kGKeyIds); for a PlayMacro set in the key
//                             editor, the cycle count typed there; 0 otherwise
//   offset 4   i32  value     by type (below)
//   offset 8   i32  mark      the main window's colour mark; nothing here interprets it
//   offset 12  i32  reserved  never interpreted
//
// The records form four key tables of 512 (record number = 512 × table + slot); tables 0-2 are
// profiles 0-2 and table 3 stays cleared. Slots 0-255 are key slots, 256-273 the G keys (G1-G9
// of the first bank, then of the second), 274-511 are unused.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/LittleEndian.h"

namespace zarvin {

// What a key does, and what `value` holds for it.
enum class AssignmentType : uint16_t {
    Default = 0,        // keeps the key's own function; value 0
    Disabled = 1,       // value 0
    Key = 2,            // another key, a modifier, a mouse button or a wheel step: its key code
    LaunchProgram = 3,  // the program path is the record's launch string; value: 0 in the
                        // working store, the string's byte offset in files and the applied store
    PlayMacro = 4,      // macro id
    StopMacro = 5,      // value 0
    TextBlock = 6,      // like LaunchProgram, with a text as launch string
    Media = 7,          // row of the media function table, 0-17
    Function = 8,       // row of the keyboard function table, 0-10
};

struct KeyAssignment {
    static constexpr size_t kSize = 16;

    // Kept as stored: a file may carry a type this program does not know.
    uint16_t type = 0;
    uint16_t gId = 0;
    int32_t value = 0;
    int32_t mark = 0;
    int32_t reserved = 0;

    bool Is(AssignmentType kind) const { return type == static_cast<uint16_t>(kind); }
    // Program paths and text blocks do not fit the record; the store keeps them beside it.
    bool CarriesLaunchString() const {
        return Is(AssignmentType::LaunchProgram) || Is(AssignmentType::TextBlock);
    }

    friend bool operator==(const KeyAssignment&, const KeyAssignment&) = default;
};
static_assert(sizeof(KeyAssignment) == KeyAssignment::kSize);

inline constexpr size_t kKeyTableCount = 4;
inline constexpr size_t kKeyTableRecords = 512;
inline constexpr size_t kKeyRecordCount = kKeyTableCount * kKeyTableRecords;
inline constexpr size_t kKeyTableBytes = kKeyTableRecords * KeyAssignment::kSize;
// One key table (512 records of 16 bytes), as a profile image holds it.
using KeyTableBytes = std::span<uint8_t, kKeyTableBytes>;

constexpr size_t KeyRecordNumber(size_t table, size_t slot) {
    return kKeyTableRecords * table + slot;
}

// The G keys' slots and identifiers, in slot order: G1-G9 of the first bank, then the second.
inline constexpr size_t kFirstGKeySlot = 256;
inline constexpr std::array<uint16_t, 18> kGKeyIds = {
    0x0301, 0x0302, 0x0303, 0x0304, 0x0305, 0x0306, 0x0307, 0x0308, 0x0309,
    0x1301, 0x1302, 0x1303, 0x1304, 0x1305, 0x1306, 0x1307, 0x1308, 0x1309,
};

inline KeyAssignment LoadKeyAssignment(std::span<const uint8_t, KeyAssignment::kSize> bytes) {
    return KeyAssignment{
        .type = LoadLe16(bytes, 0),
        .gId = LoadLe16(bytes, 2),
        .value = static_cast<int32_t>(LoadLe32(bytes, 4)),
        .mark = static_cast<int32_t>(LoadLe32(bytes, 8)),
        .reserved = static_cast<int32_t>(LoadLe32(bytes, 12)),
    };
}

inline void StoreKeyAssignment(const KeyAssignment& record,
                               std::span<uint8_t, KeyAssignment::kSize> bytes) {
    StoreLe16(bytes, 0, record.type);
    StoreLe16(bytes, 2, record.gId);
    StoreLe32(bytes, 4, static_cast<uint32_t>(record.value));
    StoreLe32(bytes, 8, static_cast<uint32_t>(record.mark));
    StoreLe32(bytes, 12, static_cast<uint32_t>(record.reserved));
}

}  // namespace zarvin
