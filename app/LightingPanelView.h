#pragma once

// LightingPanelView: the window side of the lighting panel: the effect combo, brightness and
// speed sliders, direction arrows, colour buttons and chips, red/green/blue edit boxes, option
// colour and report-rate buttons, the lighting switch and the user-mode tools and combo. It owns
// the lighting logic (LightingState), the per-key colours and user modes (KeyColours) and the
// preview (LightingPreview), implements the interfaces they show through, and forwards every
// control event to them.

#include <QObject>
#include <QPixmap>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "control/KeyColourView.h"
#include "control/LightingCompanion.h"
#include "control/LightingPanel.h"
#include "skin/ButtonRole.h"

class QComboBox;
class QWidget;

namespace zarvin {

class CBaseDialog;
class CPictureButton;
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
        std::function<void()> previewChanged;   // the preview's timer runs or stops to suit
    };

    LightingPanelView(CBaseDialog& window, ConfiguratorCore& core, KeyboardView& keys,
                      WindowHooks hooks);
    ~LightingPanelView() override;

    // Loads the panel's bitmaps, creates and places its controls from the main skin file, sets
    // the sliders to 0-5 and sets up the colour buttons.
    void PlaceControls();
    // Labels from section "LIGHT", names and the effect list in the current language.
    void ApplyLanguage();
    // Timer 1052: when the lighting switch is on, one preview frame onto the key view.
    void PreviewTick();
    // Whether another frame follows this one (LightingState::PreviewAnimates).
    bool PreviewAnimates() const;
    // The bitmap sliders' message 0x28D1.
    void OnSliderMoved(int controlId, int position);

    LightingState& Lighting();
    KeyColours& Colours();
    // The effect combo (the window keeps arrow keys away from it and gives it the focus).
    QWidget* EffectCombo() const;

    // LightingPanel
    void ShowGroup(LightingGroup group, bool shown) override;
    void SetBitmap(int controlId, std::string_view bitmap) override;
    void CheckButton(int controlId, bool checked) override;
    void FillEffectCombo(const std::vector<std::string>& names) override;
    void SelectEffectPosition(int position) override;
    void PlaceSlider(int controlId, int position) override;
    void ShowColour(int controlId, ColourValue colour) override;
    void SetEditText(int controlId, std::string_view text) override;
    void MoveControl(int controlId, std::string_view skinEntry) override;

    // UserModeCombo
    void FillModeNames(const std::vector<std::string>& names) override;
    void SelectMode(int mode) override;
    void ReplaceModeName(int mode, std::string_view name) override;

    // LightingCompanion
    void ClearKeyColours() override;
    void ShowKeyColours() override;
    void RefreshUserModeTools() override;
    void ReloadUserModesAndSendColours() override;
    void RestoreUserModesFromTemplate() override;
    void ColourPicked(uint32_t colour) override;
    void RestartPreview() override;
    void PreviewChanged() override;
    void ShowAssignments() override;
    bool SelectProfile() override;

    // The widget of a lighting control, or null.
    QWidget* Control(int controlId) const;
    // Enter in an RGB box (the window keeps Enter from its other controls): the boxes' values
    // become the main colour. False when `widget` is none of the boxes.
    bool CommitRgbEditsFrom(const QObject* widget);
    // The RGB boxes' values, when one of them was edited, become the main colour.
    void CommitRgbEdits();
    // Whether the preview starts afresh on the next tick.
    bool PreviewRestartPending() const { return restartPreview_; }

private:
    QPixmap Bitmap(std::string_view name) const;
    template <typename Widget>
    Widget* Place(int controlId, std::string_view skinEntry, Widget* widget);
    void PlaceLabel(int controlId, std::string_view skinEntry);
    void PlacePicture(int controlId, std::string_view skinEntry, std::string_view bitmap,
                      ButtonRole role);
    void PlaceColourButton(int controlId, std::string_view skinEntry);
    void PlaceSliderControl(int controlId, std::string_view skinEntry);
    void PlaceEdits();
    void PlaceCombos();
    void PlaceReportRateButtons();
    // Clicks on the panel's pictures (switch, arrows, check pictures, option colours, tools,
    // chips).
    void OnPictureClicked(int controlId);
    void RunPicture(int controlId);
    // What the controls are called and whether the pictures are on, for assistive technology.
    QString Text(std::string_view key) const;
    void SetName(int controlId, const QString& name);
    void NameControls();
    void NameArrow(CPictureButton& arrow, std::string_view bitmap);
    void NameColourButton(int controlId);
    void ShowPictureStates();
    void OnColourChosen(int controlId, ColourValue colour);

    CBaseDialog& window_;
    ConfiguratorCore& core_;
    KeyboardView& keys_;
    WindowHooks hooks_;
    std::unique_ptr<LightingState> lighting_;
    std::unique_ptr<KeyColours> colours_;
    std::unique_ptr<LightingPreview> preview_;
    bool restartPreview_ = false;

    std::map<int, QWidget*> controls_;
    QComboBox* effectCombo_ = nullptr;
    QComboBox* modeCombo_ = nullptr;
    // The picture each direction arrow shows, which says its direction.
    std::map<int, std::string> arrowPictures_;
};

}  // namespace zarvin
