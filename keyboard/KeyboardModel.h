#pragma once

// Every keyboard model the program supports, one record each: its USB ids, the name the
// stand-in takes for it, its key positions and key-map layout, which firmware versions are
// offered the maker's updater, and what the keyboard holds when it leaves the factory (which
// the stand-in plays). Everything that differs between models is read from here, and the udev
// rule's matches are written from it at build time, so a new model is one more record.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "keyboard/KeyboardFacts.h"

namespace zarvin {

// Fn is handled inside the keyboard and is never sent: the key matrices mark it with this
// entry, which is no key code to the host.
inline constexpr uint8_t kFnEntry[3] = {0x05, 0x02, 0x02};

struct KeyboardModel {
    std::string_view name;  // what --simulate=MODEL takes; also names the stand-in's image file
    uint16_t vendorId;
    uint16_t productId;
    int keyCount;
    uint16_t keyMapLength;
    uint16_t profileStride;
    // Firmware versions from `updateFrom` up to, not including, `updateBelow` are offered the
    // updater when the window first opens; an empty range offers it to none.
    uint16_t updateFrom;
    uint16_t updateBelow;
    // The factory contents: the default key matrix (keyMapLength bytes), the macro capacity in
    // 128-byte units and the firmware version.
    std::span<const uint8_t> factoryKeyMatrix;
    uint8_t factoryMacroCapacity;
    uint16_t factoryFirmwareVersion;

    KeyMapGeometry Geometry() const { return {keyMapLength, profileStride}; }
};

// The first is the model assumed before any keyboard has answered.
std::span<const KeyboardModel> KeyboardModels();

// The model with these USB ids, or nothing for a keyboard the program does not support.
const KeyboardModel* ModelForIds(uint16_t vendorId, uint16_t productId);

inline bool IsSupportedKeyboardId(uint16_t vendorId, uint16_t productId) {
    return ModelForIds(vendorId, productId) != nullptr;
}

// The supported ids as "vvvv:pppp", joined by commas and `lastJoin` before the last:
// "0c45:5004 and 320f:5000".
std::string SupportedIdsText(std::string_view lastJoin);

}  // namespace zarvin
