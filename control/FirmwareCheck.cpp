#include "control/FirmwareCheck.h"

#include "keyboard/KeyboardModel.h"

namespace zarvin {

bool FirmwareUpdateOffered(uint16_t vendorId, uint16_t productId, uint16_t version) {
    const KeyboardModel* model = ModelForIds(vendorId, productId);
    return model != nullptr && version >= model->updateFrom && version < model->updateBelow;
}

}  // namespace zarvin
