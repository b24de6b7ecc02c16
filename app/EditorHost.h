#pragma once

// What the editor dialogs ask of the main window. The main window implements it; editor tests
// implement it with a recording fake.

namespace zarvin {

class EditorHost {
public:
    virtual ~EditorHost() = default;

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
    // The key editor has closed: the clicked button gets back the faces of the keyboard view.
    virtual void RestoreKeyFaces(int controlId) = 0;
    // Opens "index.html" of the help folder.
    virtual void OpenHelp() = 0;
};

}  // namespace zarvin
