#pragma once

#include <cstdint>

namespace zarvin {

// The two supported keyboards.
inline constexpr uint16_t kVendor126 = 0x0C45;
inline constexpr uint16_t kProduct126 = 0x5004;
inline constexpr uint16_t kVendor128 = 0x320F;
inline constexpr uint16_t kProduct128 = 0x5000;

// The keyboard's vendor-defined command interface and its consumer-control event interface.
inline constexpr uint16_t kCommandUsagePage = 0xFF1C;
inline constexpr uint16_t kCommandUsage = 0x92;
inline constexpr uint16_t kEventUsagePage = 0x000C;
inline constexpr uint16_t kEventUsage = 0x0001;

inline constexpr bool IsSupportedKeyboardId(uint16_t vendorId, uint16_t productId) {
    return (vendorId == kVendor126 && productId == kProduct126) ||
           (vendorId == kVendor128 && productId == kProduct128);
}

}  // namespace zarvin
