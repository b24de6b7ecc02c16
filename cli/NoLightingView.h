#pragma once

// The command line has no lighting panel, key buttons or mode list to show anything on.

#include <string>
#include <string_view>
#include <vector>

#include "control/KeyColourView.h"
#include "control/LightingPanel.h"

namespace zarvin::cli {

class NoLightingView : public LightingPanel, public KeyColourButtons, public UserModeCombo {
public:
    void ShowGroup(LightingGroup, bool) override {}
    void SetBitmap(int, std::string_view) override {}
    void CheckButton(int, bool) override {}
    void FillEffectCombo(const std::vector<std::string>&) override {}
    void SelectEffectPosition(int) override {}
    void PlaceSlider(int, int) override {}
    void ShowColour(int, ColourValue) override {}
    void SetEditText(int, std::string_view) override {}
    void MoveControl(int, std::string_view) override {}
    void ShowKeyColour(int, ColourValue) override {}
    void ClearKeyColour(int) override {}
    void FillModeNames(const std::vector<std::string>&) override {}
    void SelectMode(int) override {}
    void ReplaceModeName(int, std::string_view) override {}
};

}  // namespace zarvin::cli
