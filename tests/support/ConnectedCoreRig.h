#pragma once

// The configurator's shared core over the stand-in keyboard, connected as the device monitor
// connects it.

#include <filesystem>

#include "sim/SimKeyboard.h"
#include "sim/SimModel.h"
#include "support/CommandInterface.h"
#include "support/CoreRig.h"

namespace zarvin::test_support {

struct ConnectedCoreRig : CoreRig {
    explicit ConnectedCoreRig(int activeProfile = 0, const std::filesystem::path& programData = {})
        : CoreRig(activeProfile, programData) {
        OpenCommandInterface(core.Hid());
        core.Device().SetModel(sim::InfoOf(keyboard.Model()));
        core.Link().SetGeometry(core.Device().Model().Geometry());
        core.Link().SetConnected(true);
        core.Device().LoadConnectionData(core.Link(), messages);
        keyboard.ClearLog();
    }
};

}  // namespace zarvin::test_support
