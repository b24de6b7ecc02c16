#include "device/DeviceInfo.h"

namespace zarvin {

std::vector<uint8_t> DeviceInfo::Effects() const {
    std::vector<uint8_t> effects;
    for (size_t slot = 0; slot < kEffectSlots; ++slot) {
        if (bytes[kEffects + slot] != 0) {
            effects.push_back(bytes[kEffects + slot]);
        }
    }
    return effects;
}

}  // namespace zarvin
