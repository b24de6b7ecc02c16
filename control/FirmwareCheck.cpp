#include "control/FirmwareCheck.h"

#include "keyboard/KeyboardIds.h"

namespace zarvin {

bool FirmwareUpdateOffered(uint16_t vendorId, uint16_t productId, uint16_t version) {
    return vendorId == kVendor126 && productId == kProduct126 && version >= 1 &&
           version < firmware_update::kCurrentVersion;
}

}  // namespace zarvin
