#pragma once

// Per-key colours and the user modes (effect 20): the key colour table, which key buttons
// follow the base colour in each profile, the current profile's user-mode state (mode, brush,
// colours), painting, and sending the colours to the keyboard. Every change goes to the table,
// the user-mode file and the keyboard together; keyboard results are not checked, so the table
// and files change even with no keyboard.

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "control/KeyColourView.h"
#include "control/LightingPanel.h"
#include "control/LightingState.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "model/KeyColourTable.h"
#include "model/KeyboardLayout.h"
#include "store/UserLightingFiles.h"

namespace zarvin {

// Controls of the user-mode tools on the lighting panel.
namespace UserModeControl {
inline constexpr int BrushColour = 1160;
inline constexpr int BaseColour = 1162;
inline constexpr int OwnColourTool = 1164;
inline constexpr int BaseColourTool = 1165;
inline constexpr int ModeCombo = 1198;
}  // namespace UserModeControl

inline constexpr int kOwnColourTool = 0;
inline constexpr int kBaseColourTool = 1;

class KeyColours {
public:
    // `lighting` gives the current profile and effect; `device` the model's key count.
    KeyColours(CommandLink& link, LightingState& lighting, const DeviceImage& device,
               UserLightingFiles files, KeyColourButtons& buttons, UserModeCombo& combo,
               LightingPanel& panel);

    // Takes the profile's present mode, its tools and the colours and flags of the 106 keys
    // and Fn from the file (the G keys keep theirs); with `send`, sends the colours.
    void LoadUserMode(int profile, bool send);
    // Sends the profile's colours in 8 writes of 54 bytes, first keys 0, 18, ..., 126, in one
    // batch addressed to the current profile. The window does not check the result; the
    // command line tells it: Success, or the first write's failure.
    int SendKeyColours(int profile);
    // A click on a key button while effect 20 is selected: paints it with the current tool.
    void PaintKey(int controlId);
    // Many clicks of the own-colour brush at once, each key with its colour: the mode file is
    // written once, the keys stop following the base colour and all colours are sent in one
    // batch (SendKeyColours' result). Nothing, with nothing taken or sent, when the file cannot
    // be written. Unknown control ids are left out. Unlike a click this does not depend on the
    // selected effect: the keyboard shows the colours with effect 20.
    struct PaintedKey {
        int controlId = 0;
        ColourValue colour = 0;
    };
    std::optional<int> PaintKeys(std::span<const PaintedKey> keys);
    // The keys that follow the base colour take it; the brush takes it too.
    void SetBaseColour(ColourValue colour);
    // The own-colour brush: picked in its button, or any colour picked elsewhere on the panel.
    // The brush button and the RGB boxes show it.
    void SetBrushColour(ColourValue colour);
    // kOwnColourTool or kBaseColourTool.
    void SelectTool(int tool);
    // A mode chosen in the combo (0 to 9; anything else is ignored). False when the choice
    // cannot be stored in the profile's file: then nothing is sent, the mode stays as it was and
    // the combo shows it again; telling the user is the window's.
    bool SelectUserMode(int mode);
    // The combo's text, edited, names the current mode.
    void RenameUserMode(std::string_view name);
    void RefreshUserModeTools();
    void ShowKeyColours();
    void ClearKeyColours();
    void DeriveBaseFlags();
    // The combo lists the profile's ten mode names.
    void FillModeCombo(int profile);

    // The keyboard changed its profile itself (event 0x0402): takes its active profile, turns
    // the lighting switch off, asks `selectProfile` (the profile store's switch, which may
    // refuse) and `syncProfileButtons`, then reloads every profile's user modes from its file
    // (a profile without one gets the factory modes) and shows the active profile's.
    void ResetUserModes(const std::function<bool()>& selectProfile,
                        const std::function<void()>& syncProfileButtons);
    // The lighting defaults: the current profile's factory user modes, reloaded and sent.
    void RestoreProfileUserModes();
    // On connection, inside the lighting reload: the current profile's modes, sent.
    void ReloadUserModesAndSendColours();

    const KeyColourTable& Table() const { return table_; }
    // Whether the button (by its position in KeyButtons()) follows the base colour in `profile`.
    bool FollowsBase(size_t buttonPosition, int profile) const;
    int CurrentMode() const { return mode_; }
    int Tool() const { return tools_.tool; }
    ColourValue BaseColour() const { return tools_.baseColour; }
    ColourValue BrushColour() const { return tools_.brushColour; }

private:
    int Profile() const { return lighting_.CurrentProfile(); }
    void SaveTools();
    void ShowToolButtons();
    void SetFlag(size_t buttonPosition, int profile, bool followsBase);
    // A painted key's colour in the table, its flag and its button.
    void TakeKeyColour(const KeyButton& button, int profile, ColourValue colour, bool followsBase);

    CommandLink& link_;
    LightingState& lighting_;
    const DeviceImage& device_;
    UserLightingFiles files_;
    KeyColourButtons& buttons_;
    UserModeCombo& combo_;
    LightingPanel& panel_;

    KeyColourTable table_;
    std::array<std::array<bool, kProfileCount>, kKeyButtonCount> followsBase_{};
    int mode_ = 0;
    UserModeTools tools_;
};

}  // namespace zarvin
