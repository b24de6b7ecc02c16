#pragma once

// The lighting panel's model: the three profiles' lighting records, the effects the keyboard
// offers, the values the panel shows, and one operation per panel control. Every change is
// written to the keyboard at once, one field per batch, under the command lock; the results
// are not checked, so the panel shows the new value even when the keyboard is gone.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "control/LightingCompanion.h"
#include "control/LightingPanel.h"
#include "device/CommandProtocol.h"
#include "device/DeviceInfo.h"
#include "model/LightingEffects.h"

namespace zarvin {

inline constexpr size_t kLightingRecordSize = 42;
using LightingRecord = std::array<uint8_t, kLightingRecordSize>;

// Byte positions within a lighting record.
namespace LightingField {
inline constexpr size_t Effect = 0;
inline constexpr size_t Brightness = 1;
inline constexpr size_t Speed = 2;
inline constexpr size_t Direction = 3;
inline constexpr size_t Multicolour = 4;
inline constexpr size_t MainColour = 5;  // red, green, blue
inline constexpr size_t ReportRate = 15;
inline constexpr size_t OptionColour = 17;
inline constexpr size_t Auxiliary = 18;
inline constexpr size_t TriggerMode = 19;
inline constexpr size_t ColourB = 25;
inline constexpr size_t ColourBRainbow = 28;
inline constexpr size_t ColourC = 30;
inline constexpr size_t ColourCRainbow = 33;
}  // namespace LightingField

inline constexpr int kSliderMax = 5;
inline constexpr int kReportRateMax = 3;
inline constexpr int kOptionColourMax = 3;
inline constexpr uint8_t kDirectionFirst = 255;  // left, up or outward
inline constexpr uint8_t kDirectionSecond = 0;   // right, down or inward

// Names the effect of a code (the language file's "MODE" text under EffectNameKey).
using EffectNamer = std::function<std::string(int code)>;

class LightingState {
public:
    // `switchFile` is the per-user "duva.ini" that keeps the lighting switch.
    LightingState(CommandLink& link, LightingPanel& panel, LightingCompanion& companion,
                  EffectNamer effectName, std::filesystem::path switchFile);

    // Whose record the panel shows (0 to 2); set by the main window and the profile buttons.
    int CurrentProfile() const { return currentProfile_; }
    void SetCurrentProfile(int profile);

    // Reloads the effect list and the three records from the keyboard. 0, or -1 when the
    // device information could not be read (the state then keeps its previous values).
    int LoadLighting();
    // The reload run when the keyboard connects: it also sends the per-key colours when user
    // modes are offered, and takes the lighting switch as the file has it, on or off.
    int LoadLightingOnConnection();
    void RefreshLightingPanel();

    // The combo's selection changed to `position`.
    void SelectEffect(int position);
    // A slider message: brightness or speed slider, position 0 to 5 (clamped).
    void OnSliderMoved(int controlId, int position);
    // kDirectionFirst or kDirectionSecond.
    void SetDirection(uint8_t value);
    // A colour chosen in colour button 1152 or 1155.
    void SetMainColour(int buttonId, ColourValue colour);
    void ToggleMulticolour();
    // 0 red, 1 yellow, 2 green, 3 blue.
    void SetOptionColour(int n);
    // 0 to 3, one per report-rate button.
    void SetReportRate(int n);
    // A click on colour chip 1211 to 1218: the chip's colour becomes the main colour, as if it
    // had been chosen in a Colour button.
    void ApplyPresetColour(int chipId);
    // Text typed into RGB box 1208, 1209 or 1210: a number above 255 becomes 255 and the box
    // shows the number as it is read. Nothing is sent until the value is committed.
    void OnRgbEditChanged(int controlId, std::string_view text);
    // Enter in an RGB box, or the focus leaving it after an edit: the three boxes' values become
    // the main colour. An empty box keeps the component the boxes showed before.
    void CommitRgbEdits(std::string_view red, std::string_view green, std::string_view blue);
    // The RGB boxes show `colour`: the main colour, or a colour the user just picked elsewhere.
    void ShowRgbBoxes(ColourValue colour);
    ColourValue RgbBoxColour() const { return rgbBoxColour_; }
    void ToggleLightingPanel();
    void RestoreLightingDefaults();
    void ShowLightingControls(int code);

    // The effect code at a combo position, or -1.
    int EffectAtPosition(int position) const;
    // The first combo position of an effect code, or -1.
    int PositionOfEffect(int code) const;
    bool OffersUserModes() const;
    const DeviceInfo& Info() const { return info_; }
    const LightingRecord& Record(int profile) const;

    int Effect() const { return effect_; }
    int Brightness() const { return brightness_; }
    // The slider positions the panel shows, 0 to 5 whatever the record holds.
    int BrightnessPosition() const;
    int SpeedPosition() const;
    // The device value after a reload, the slider position after a slider move.
    int Speed() const { return speed_; }
    int Direction() const { return direction_; }
    int OptionColour() const { return optionColour_; }
    int ReportRate() const { return reportRate_; }
    ColourValue MainColour() const { return mainColour_; }
    ColourValue ColourB() const { return colourB_; }
    ColourValue ColourC() const { return colourC_; }
    bool Multicolour() const { return multicolour_; }
    bool ColourBRainbow() const { return colourBRainbow_; }
    bool ColourCRainbow() const { return colourCRainbow_; }
    bool SingleKeyTrigger() const { return singleKeyTrigger_; }
    bool GridTrigger() const { return gridTrigger_; }
    bool LightingPanelOn() const { return panelOn_; }
    // The preview needs a frame every period: the switch is on and the effect moves. A still
    // effect needs one frame after each change (LightingCompanion::PreviewChanged) and no more.
    bool PreviewAnimates() const;

    // The result of the first field write that failed since the last call, else Success; then
    // starts again. The window does not check its writes; the command line tells the user.
    int TakeWriteFailure();

private:
    int Load(bool onConnection);
    void TakeCurrentRecord();
    // One batch of one or two field writes at the current profile's record; the record kept in
    // memory takes the same bytes, so that it stays what the keyboard holds.
    void WriteFields(size_t offset, std::span<const uint8_t> bytes, size_t secondOffset = 0,
                     std::span<const uint8_t> secondBytes = {});
    void ShowDirectionArrows(int code);
    void PlaceDirectionControls(int code);
    void ShowMulticolourBoxes(bool on);
    // The main colour as chosen anywhere: multicolour off, both checkboxes, both buttons, the
    // RGB boxes, the painting colour, and the write of bytes 4-7.
    void TakeMainColour(ColourValue colour);
    void ShowOptionButtons();
    void CheckReportRateButton();
    void HideAllGroups();

    CommandLink& link_;
    LightingPanel& panel_;
    LightingCompanion& companion_;
    EffectNamer effectName_;
    int writeFailure_ = CommandResult::Success;
    std::filesystem::path switchFile_;

    int currentProfile_ = 0;
    DeviceInfo info_;
    std::array<int, DeviceInfo::kEffectSlots> positionTable_{};
    std::array<LightingRecord, kProfileCount> records_{};

    int effect_ = 0;
    int brightness_ = 0;
    int speed_ = 0;
    int direction_ = 0;
    int optionColour_ = 0;
    int reportRate_ = 0;
    ColourValue mainColour_ = 0;
    ColourValue colourB_ = 0;
    ColourValue colourC_ = 0;
    ColourValue rgbBoxColour_ = 0;
    bool multicolour_ = false;
    bool colourBRainbow_ = false;
    bool colourCRainbow_ = false;
    bool singleKeyTrigger_ = false;
    bool gridTrigger_ = false;
    bool panelOn_ = false;
};

}  // namespace zarvin
