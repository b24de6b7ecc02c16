#pragma once

// LightingPanelView: the window side of the lighting panel: the effect combo, brightness and
// speed sliders, direction arrows, colour buttons and chips, red/green/blue edit boxes, option
// colour and report-rate buttons, the lighting switch and the user-mode tools and combo. It owns
// the lighting logic (LightingState), the per-key colours and user modes (KeyColours) and the
// preview (LightingPreview), implements the interfaces they show through, and forwards every
// control event to them.
//
// PUBLIC SURFACE (fixed; the main window uses it). Everything below `private:` is the
// implementer's.

#include <QObject>
#include <functional>
#include <memory>

#include "model/KeyColourView.h"
#include "model/LightingCompanion.h"
#include "model/LightingPanel.h"

class QWidget;

namespace zarvin {

class CBaseDialog;
class ConfiguratorCore;
class KeyColours;
class KeyboardView;
class LightingPreview;
class LightingState;

class LightingPanelView : public QObject,
                          public LightingPanel,
                          public UserModeCombo,
                          public LightingCompanion {
    Q_OBJECT

public:
    // What the panel asks of the main window.
    struct WindowHooks {
        std::function<void()> showAssignments;  // the key view shows the assignments again
        std::function<bool()> selectProfile;    // the profile switch to the keyboard's profile
    };

    LightingPanelView(CBaseDialog& window, ConfiguratorCore& core, KeyboardView& keys,
                      WindowHooks hooks);
    ~LightingPanelView() override;

    // Loads the panel's bitmaps, creates and places its controls from the main skin file, sets
    // the sliders to 0-5 and sets up the colour buttons.
    void PlaceControls();
    // Labels from section "LIGHT" in the current language.
    void ApplyLanguage();
    // Timer 1052: when the lighting switch is on, one preview frame onto the key view.
    void PreviewTick();
    // The bitmap sliders' message 0x28D1.
    void OnSliderMoved(int controlId, int position);

    LightingState& Lighting();
    KeyColours& Colours();
    // The effect combo (the window keeps arrow keys away from it and gives it the focus).
    QWidget* EffectCombo() const;

private:
};

}  // namespace zarvin
