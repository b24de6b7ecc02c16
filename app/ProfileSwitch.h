#pragma once

// The profile switch that the profile buttons, the profile dialog and the keyboard's own profile
// key (notice 0x0402) go through: it refuses while the key editor is open, asks what to do with
// pending changes (apply them, or throw them away by reloading the working store from the
// profile cache file), then makes the keyboard use the profile. Plain C++: the windows it asks
// about are behind ProfileSwitchWindows.

#include <string_view>

namespace zarvin {

class ConfiguratorCore;
class EditorHost;

// The editor dialogs as the switch sees them.
class ProfileSwitchWindows {
public:
    virtual ~ProfileSwitchWindows() = default;
    virtual bool KeyEditorOpen() const = 0;
    virtual bool ProfileDialogOpen() const = 0;
    // The profile dialog's Apply is enabled (it has changes of its own).
    virtual bool ProfileDialogApplyEnabled() const = 0;
    // The open profile dialog checks the row of `profile` and disables its Apply.
    virtual void ProfileDialogShowActive(int profile) = 0;
};

class ProfileSwitch {
public:
    ProfileSwitch(ConfiguratorCore& core, EditorHost& host, ProfileSwitchWindows& windows);

    // 1 when switched, 0 when refused. A profile of 3 or more becomes 0; a negative one is
    // passed on unchanged (the keyboard then keeps its profile).
    int SelectProfile(int profile);

private:
    // Throws the working store's edits away: it is reloaded from the profile cache file.
    void DiscardChanges();

    ConfiguratorCore& core_;
    EditorHost& host_;
    ProfileSwitchWindows& windows_;
    // A profile question is on screen; a second switch does not ask again.
    bool questionOnScreen_ = false;
};

}  // namespace zarvin
