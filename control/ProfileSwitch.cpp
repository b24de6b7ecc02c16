#include "control/ProfileSwitch.h"

#include <mutex>

#include "control/ConfiguratorCore.h"
#include "control/UserQuestions.h"
#include "device/CommandProtocol.h"
#include "device/UserMessages.h"
#include "model/TextKeys.h"
#include "store/ProfileStorePaths.h"

namespace zarvin {

ProfileSwitch::ProfileSwitch(ConfiguratorCore& core, ProfileSwitchHost& host,
                             ProfileSwitchWindows& windows)
    : core_(core), host_(host), windows_(windows) {}

int ProfileSwitch::SelectProfile(int profile) {
    if (profile >= kProfileCount) {
        profile = 0;
    }
    // The key editor works on the active profile's records; switching under it would make it
    // write them into the wrong profile.
    if (windows_.KeyEditorOpen()) {
        core_.Messages().ShowMessage(text_keys::PROFILE_SEELCT_PROMPT2);
        return 0;
    }
    if (windows_.ProfileDialogApplyEnabled() || host_.HasPendingChanges()) {
        // A switch that arrives while the question is up (the keyboard's profile key) does not
        // ask again; it only switches.
        if (!questionOnScreen_) {
            questionOnScreen_ = true;
            if (core_.Questions().AskYesNo(text_keys::PROFILE_SELECT_PROMPT)) {
                host_.ApplyChanges();
            } else {
                host_.SetPendingChanges(false);
                DiscardChanges();
            }
            questionOnScreen_ = false;
        }
        core_.Device().SetActiveProfile(core_.Link(), profile);
    } else {
        core_.Device().SetActiveProfile(core_.Link(), profile);
        if (windows_.ProfileDialogOpen()) {
            windows_.ProfileDialogShowActive(profile);
        }
    }
    {
        const std::lock_guard lock(core_.Working().Lock());
        host_.ShowAssignments();
    }
    host_.RebuildProfileMenu();
    host_.ShowActiveProfile();
    return 1;
}

void ProfileSwitch::DiscardChanges() {
    const int active = core_.ActiveProfile();
    if (active < 0) {
        return;
    }
    // The cache file holds what was last applied or read from the keyboard.
    const std::lock_guard lock(core_.Working().Lock());
    core_.Working().EmptyStore();
    core_.Working().LoadProfileFile(ProfilePath(core_.Context(), active));
}

}  // namespace zarvin
