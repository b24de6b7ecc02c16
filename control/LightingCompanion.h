#pragma once

// What the lighting operations ask of the parts around them: the per-key colours and user
// modes, the lighting preview, the key view and the profile switch. Every call has a harmless
// default, so a caller that has none of these parts (the command line, tests) overrides
// nothing.

#include <cstdint>

namespace zarvin {

class LightingCompanion {
public:
    virtual ~LightingCompanion() = default;

    // Per-key colours and user modes.
    virtual void ClearKeyColours() {}
    virtual void ShowKeyColours() {}
    virtual void RefreshUserModeTools() {}
    // On connection, inside the reload's transfer: reload the user-mode names and per-key
    // colours and send the colours in a batch of their own.
    virtual void ReloadUserModesAndSendColours() {}
    // The lighting defaults: the current profile's user-mode file from the template, then the
    // user modes reloaded.
    virtual void RestoreUserModesFromTemplate() {}

    // The user picked a colour (Colour button, chip or RGB boxes): painting per-key colours uses
    // it from now on.
    virtual void ColourPicked(uint32_t /*colour*/) {}

    // The lighting preview starts its effect afresh on its next frame.
    virtual void RestartPreview() {}
    // What the preview shows may have changed (the lighting switch, the effect or a setting the
    // preview draws with): it draws a frame soon, and goes on drawing only while
    // LightingState::PreviewAnimates() holds.
    virtual void PreviewChanged() {}
    // The key view shows the key assignments again.
    virtual void ShowAssignments() {}

    // Switches the profile store to the keyboard's active profile; it may ask about unsaved
    // changes. False when it refuses (it has then told the user why).
    virtual bool SelectProfile() { return true; }
};

}  // namespace zarvin
