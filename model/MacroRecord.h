#pragma once

// One macro as the profile store keeps it and profile files store it: a 32512-byte record,
// little-endian, kept as its bytes (the new flag sits at an offset no plain struct would give it).
//
//   offset 0    500 bytes  name, UTF-16, terminated; at most 249 characters
//   offset 500  u8         cycles (the macro page keeps 1-255; a new macro has 1)
//   offset 501  u8         not interpreted
//   offset 502  u32        new flag: 1 for a macro created in the key editor open now; 0 in
//                          the profile store
//   offset 506  u16        id, 1-100, unique in the list; key assignments name macros by id
//   offset 508  u16        action count, 0-4000
//   offset 510  u16        not interpreted
//   offset 512  4000 × 8   actions in playing order (MacroAction)
//
// A record read from a file is untrusted: the accessors never reach outside the record, so a
// name without terminator ends after 249 characters and Action() serves slots 0-3999 only. The
// stored action count is given as it is and may exceed kMaxActions; readers clamp it.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/LittleEndian.h"

namespace zarvin {

// Macros a list may hold.
inline constexpr size_t kMaxMacroRecords = 100;

struct MacroAction {
    static constexpr size_t kSize = 8;
    static constexpr uint16_t kPress = 0;
    static constexpr uint16_t kRelease = 1;

    int32_t delay = 0;  // milliseconds from this event to the next
    uint16_t key = 0;   // key code
    uint16_t state = kPress;

    friend bool operator==(const MacroAction&, const MacroAction&) = default;
};

struct MacroRecord {
    static constexpr size_t kSize = 32512;
    static constexpr size_t kNameOffset = 0;
    static constexpr size_t kNameBytes = 500;
    static constexpr size_t kMaxNameLength = 249;
    static constexpr size_t kCyclesOffset = 500;
    static constexpr size_t kNewFlagOffset = 502;
    static constexpr size_t kIdOffset = 506;
    static constexpr size_t kActionCountOffset = 508;
    static constexpr size_t kActionsOffset = 512;
    static constexpr size_t kMaxActions = 4000;

    std::array<uint8_t, kSize> bytes{};

    // The text before the terminator, at most kMaxNameLength units.
    std::u16string Name() const {
        std::u16string name;
        for (size_t i = 0; i < kMaxNameLength; ++i) {
            const uint16_t unit = LoadLe16(bytes, kNameOffset + 2 * i);
            if (unit == 0) {
                break;
            }
            name.push_back(static_cast<char16_t>(unit));
        }
        return name;
    }
    // Cut to kMaxNameLength units; the rest of the field is cleared.
    void SetName(std::u16string_view name) {
        std::fill_n(bytes.begin() + kNameOffset, kNameBytes, uint8_t{0});
        const size_t length = std::min(name.size(), kMaxNameLength);
        for (size_t i = 0; i < length; ++i) {
            StoreLe16(bytes, kNameOffset + 2 * i, name[i]);
        }
    }

    uint8_t Cycles() const { return bytes[kCyclesOffset]; }
    void SetCycles(uint8_t cycles) { bytes[kCyclesOffset] = cycles; }

    uint32_t NewFlag() const { return LoadLe32(bytes, kNewFlagOffset); }
    void SetNewFlag(uint32_t flag) { StoreLe32(bytes, kNewFlagOffset, flag); }

    uint16_t Id() const { return LoadLe16(bytes, kIdOffset); }
    void SetId(uint16_t id) { StoreLe16(bytes, kIdOffset, id); }

    uint16_t ActionCount() const { return LoadLe16(bytes, kActionCountOffset); }
    void SetActionCount(uint16_t count) { StoreLe16(bytes, kActionCountOffset, count); }

    // Slots from kMaxActions on do not exist: reading one gives an empty action, writing one
    // does nothing.
    MacroAction Action(size_t slot) const {
        if (slot >= kMaxActions) {
            return {};
        }
        const size_t at = kActionsOffset + MacroAction::kSize * slot;
        return MacroAction{.delay = static_cast<int32_t>(LoadLe32(bytes, at)),
                           .key = LoadLe16(bytes, at + 4),
                           .state = LoadLe16(bytes, at + 6)};
    }
    void SetAction(size_t slot, const MacroAction& action) {
        if (slot >= kMaxActions) {
            return;
        }
        const size_t at = kActionsOffset + MacroAction::kSize * slot;
        StoreLe32(bytes, at, static_cast<uint32_t>(action.delay));
        StoreLe16(bytes, at + 4, action.key);
        StoreLe16(bytes, at + 6, action.state);
    }

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};
static_assert(MacroRecord::kActionsOffset + MacroRecord::kMaxActions * MacroAction::kSize ==
              MacroRecord::kSize);
// The store keeps records back to back, and reads and writes them as one run of bytes.
static_assert(sizeof(MacroRecord) == MacroRecord::kSize);

}  // namespace zarvin
