#pragma once

// The keyboard's 44-byte device information record: firmware version, active profile, macro
// capacity and the lighting effects it offers. Read and written whole.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "device/CommandProtocol.h"

namespace zarvin {

struct DeviceInfo {
    static constexpr size_t kFirmwareVersion = 8;  // 16-bit little-endian
    static constexpr size_t kActiveProfile = 10;
    static constexpr size_t kMacroCapacity = 11;  // in units of kMacroCapacityUnit bytes
    static constexpr size_t kEffects = 12;
    static constexpr size_t kEffectSlots = 32;
    static constexpr size_t kMacroCapacityUnit = 128;

    std::array<uint8_t, kDeviceInfoSize> bytes{};

    uint16_t FirmwareVersion() const {
        return static_cast<uint16_t>(bytes[kFirmwareVersion] | bytes[kFirmwareVersion + 1] << 8);
    }
    uint8_t ActiveProfile() const { return bytes[kActiveProfile]; }
    void SetActiveProfile(uint8_t profile) { bytes[kActiveProfile] = profile; }
    size_t MacroCapacityBytes() const { return bytes[kMacroCapacity] * kMacroCapacityUnit; }
    // The offered effect codes in display order; empty slots (0) left out.
    std::vector<uint8_t> Effects() const;
};

static_assert(sizeof(DeviceInfo) == kDeviceInfoSize);

}  // namespace zarvin
