#pragma once

#include "device/HidDevice.h"
#include "keyboard/KeyboardIds.h"

namespace zarvin::test_support {

// Opens the keyboard's command interface among the interfaces `device` lists.
inline bool OpenCommandInterface(HidDevice& device) {
    if (!device.RefreshPaths()) {
        return false;
    }
    while (const auto path = device.NextPath()) {
        if (device.Open(*path, true, true) && device.Caps().usagePage == kCommandUsagePage &&
            device.Caps().usage == kCommandUsage) {
            return true;
        }
    }
    device.Close();
    return false;
}

}  // namespace zarvin::test_support
