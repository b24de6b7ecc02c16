#pragma once

// The profile switch that the profile buttons, the profile dialog and the keyboard's own profile
// key (notice 0x0402) go through: it refuses while the key editor is open, asks what to do with
// pending changes (apply them, or throw them away by reloading the working store from the
// profile cache file), then makes the keyboard use the profile. Plain C++: the windows it asks
// about are behind ProfileSwitchWindows.

#include <string_view>

namespace zarvin {

class ConfiguratorCore;

// The main window as the switch sees it; the editor dialogs' EditorHost extends it.
class ProfileSwitchHost {
public:
    virtual ~ProfileSwitchHost() = default;

    // The pending-changes flag; the main window's Apply button is enabled exactly while it is set.
    virtual void SetPendingChanges(bool pending) = 0;
    virtual bool HasPendingChanges() const = 0;
    // The main window's Apply (button 1006); returns once it has finished.
    virtual void ApplyChanges() = 0;
    // Selected looks and tooltips of the key and G buttons from the active profile's records.
    virtual void ShowAssignments() = 0;
    // The profiles button's caption and tooltip.
    virtual void RebuildProfileMenu() = 0;
    // The keyboard's active profile changed: the profile buttons, the key view and the lighting
    // panel (whose writes address its current profile) follow it.
    virtual void ShowActiveProfile() = 0;
};

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
    ProfileSwitch(ConfiguratorCore& core, ProfileSwitchHost& host, ProfileSwitchWindows& windows);

    // 1 when switched, 0 when refused. A profile of 3 or more becomes 0; a negative one is
    // passed on unchanged (the keyboard then keeps its profile).
    int SelectProfile(int profile);

private:
    // Throws the working store's edits away: it is reloaded from the profile cache file.
    void DiscardChanges();

    ConfiguratorCore& core_;
    ProfileSwitchHost& host_;
    ProfileSwitchWindows& windows_;
    // A profile question is on screen; a second switch does not ask again.
    bool questionOnScreen_ = false;
};

}  // namespace zarvin
