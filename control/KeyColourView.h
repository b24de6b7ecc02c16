#pragma once

// What the per-key colours and user modes show in the main window: the key buttons, which show
// a colour as an outline, and the editable user-mode combo. The main window implements both
// with its widgets; tests implement them with recording fakes.

#include <string>
#include <string_view>
#include <vector>

#include "control/LightingPanel.h"

namespace zarvin {

class KeyColourButtons {
public:
    virtual ~KeyColourButtons() = default;

    // The button shows `colour` as a frame around its face.
    virtual void ShowKeyColour(int controlId, ColourValue colour) = 0;
    // The button loses its frame and its selected look.
    virtual void ClearKeyColour(int controlId) = 0;
};

class UserModeCombo {
public:
    virtual ~UserModeCombo() = default;

    // Replaces the entries with the mode names, mode 0 first.
    virtual void FillModeNames(const std::vector<std::string>& names) = 0;
    virtual void SelectMode(int mode) = 0;
    // The entry of `mode` now reads `name`.
    virtual void ReplaceModeName(int mode, std::string_view name) = 0;
};

}  // namespace zarvin
