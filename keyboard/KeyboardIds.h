#pragma once

#include <cstdint>

namespace zarvin {

// The keyboard's vendor-defined command interface and its consumer-control event interface.
inline constexpr uint16_t kCommandUsagePage = 0xFF1C;
inline constexpr uint16_t kCommandUsage = 0x92;
inline constexpr uint16_t kEventUsagePage = 0x000C;
inline constexpr uint16_t kEventUsage = 0x0001;

}  // namespace zarvin
