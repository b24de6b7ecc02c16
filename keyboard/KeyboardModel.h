#pragma once

#include <cstdint>

#include "keyboard/KeyboardFacts.h"
#include "keyboard/KeyboardIds.h"

namespace zarvin {

struct KeyboardModel {
    uint16_t vendorId;
    uint16_t productId;
    int keyCount;
    uint16_t keyMapLength;
    uint16_t profileStride;

    KeyMapGeometry Geometry() const { return {keyMapLength, profileStride}; }
};

inline constexpr KeyboardModel kModel126{kVendor126, kProduct126, 126, 378, 378};
inline constexpr KeyboardModel kModel128{kVendor128, kProduct128, 128, 512, 512};

// The keyboard with product 0x5004 is the 126-key model; any other supported keyboard the
// 128-key one.
inline constexpr KeyboardModel ModelForIds(uint16_t vendorId, uint16_t productId) {
    return (vendorId == kVendor126 && productId == kProduct126) ? kModel126 : kModel128;
}

}  // namespace zarvin
