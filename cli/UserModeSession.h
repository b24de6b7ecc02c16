#pragma once

// What the usermode and colours commands share: the profile they work on, its user-mode file
// seeded as the window seeds it, and the window's key colour class on the keyboard with no
// panel to show anything on.

#include <optional>
#include <string>
#include <ostream>

#include "cli/KeyboardConnection.h"
#include "cli/NoLightingView.h"
#include "control/KeyColours.h"
#include "control/LightingCompanion.h"
#include "control/LightingState.h"
#include "device/DeviceImage.h"
#include "store/AppContext.h"
#include "store/UserLightingFiles.h"

namespace zarvin::cli {

struct UserModeSession {
    UserModeSession(KeyboardConnection& connection, const AppContext& context);

    // Works on `profile`, or without one on the keyboard's active profile; a profile without a
    // user-mode file first gets the factory modes. False, with the reason told, when the active
    // profile cannot be read.
    bool Open(std::optional<int> profile, std::ostream& err);

    // Makes `mode` the profile's present mode in its file. False, with the reason told and
    // nothing sent, when the file does not keep it.
    bool KeepPresentMode(int mode, std::ostream& err) const;
    // False, with the reason told, when the profile's file is there but cannot be read (larger
    // than any settings file, not a file): its modes would read as the defaults. The file is
    // left as it is.
    bool CanReadFile(std::ostream& err) const;
    // Says that the profile's file did not keep user mode `mode` (without it, the key
    // colours), and why, after a write that set errno.
    void TellUnkept(std::optional<int> mode, int writeError, std::ostream& err) const;

    KeyboardConnection& connection;
    const AppContext& context;
    int profile = -1;
    DeviceImage device;
    NoLightingView panel;
    LightingCompanion companion;
    LightingState lighting;
    UserLightingFiles files;
    KeyColours colours;
};

}  // namespace zarvin::cli
