#include "control/KeyColours.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "device/DeviceInfo.h"

namespace zarvin {

namespace {

// Each colour write carries 18 keys of 3 bytes.
constexpr int kKeysPerWrite = 18;
constexpr int kBytesPerWrite = kKeysPerWrite * 3;

size_t PositionOf(const KeyButton& button) {
    return static_cast<size_t>(&button - KeyButtons().data());
}

}  // namespace

KeyColours::KeyColours(CommandLink& link, LightingState& lighting, const DeviceImage& device,
                       UserLightingFiles files, KeyColourButtons& buttons, UserModeCombo& combo,
                       LightingPanel& panel)
    : link_(link),
      lighting_(lighting),
      device_(device),
      files_(std::move(files)),
      buttons_(buttons),
      combo_(combo),
      panel_(panel) {}

bool KeyColours::FollowsBase(size_t buttonPosition, int profile) const {
    if (buttonPosition >= followsBase_.size() || profile < 0 || profile >= kProfileCount) {
        return false;
    }
    return followsBase_[buttonPosition][static_cast<size_t>(profile)];
}

void KeyColours::SetFlag(size_t buttonPosition, int profile, bool followsBase) {
    if (profile >= 0 && profile < kProfileCount) {
        followsBase_[buttonPosition][static_cast<size_t>(profile)] = followsBase;
    }
}

void KeyColours::LoadUserMode(int profile, bool send) {
    mode_ = files_.ReadPresentMode(profile);
    const UserModeContents contents = files_.ReadMode(profile, mode_);
    tools_ = contents.tools;
    const auto load = [&](const KeyButton& button) {
        if (button.colourIndex < 0 || button.colourIndex >= kColourIndexCount) {
            return;
        }
        const UserKeyEntry& entry = contents.keys[static_cast<size_t>(button.colourIndex)];
        table_.SetColour(profile, button.colourIndex, entry.colour);
        SetFlag(PositionOf(button), profile, entry.followsBase);
    };
    // The G keys share one colour index and keep what they have.
    for (const KeyButton& key : KeyViewKeys()) {
        load(key);
    }
    load(FnKey());
    if (send) {
        SendKeyColours(profile);
    }
}

int KeyColours::SendKeyColours(int profile) {
    const std::span<const uint8_t> block = table_.Block(profile);
    if (block.empty()) {
        return CommandResult::BadProfile;
    }
    const int lastWrite = device_.Model().keyCount / kKeysPerWrite;
    const std::lock_guard lock(link_.Lock());
    int result = BeginTransfer(link_);
    for (int i = 0; i <= lastWrite; ++i) {
        const int written = WriteKeyColours(
            link_, block.subspan(static_cast<size_t>(kBytesPerWrite * i), kBytesPerWrite),
            kBytesPerWrite, kKeysPerWrite * i, Profile());
        if (result == CommandResult::Success) {
            result = written;
        }
    }
    const int ended = EndTransfer(link_);
    return result == CommandResult::Success ? ended : result;
}

void KeyColours::PaintKey(int controlId) {
    if (lighting_.Effect() != kUserModeEffect) {
        return;
    }
    const KeyButton* button = FindKeyButton(controlId);
    if (button == nullptr) {
        return;
    }
    ColourValue colour = 0;
    bool followsBase = false;
    if (tools_.tool == kBaseColourTool) {
        colour = tools_.baseColour;
        followsBase = true;
    } else if (tools_.tool == kOwnColourTool) {
        colour = tools_.brushColour;
    } else {
        return;
    }
    const int profile = Profile();
    TakeKeyColour(*button, profile, colour, followsBase);
    const std::array<uint8_t, 3> rgb{RedOf(colour), GreenOf(colour), BlueOf(colour)};
    {
        const std::lock_guard lock(link_.Lock());
        BeginTransfer(link_);
        WriteKeyColours(link_, rgb, rgb.size(), button->colourIndex, profile);
        EndTransfer(link_);
    }
    files_.WriteKeyEntry(profile, mode_, button->colourIndex, {colour, followsBase});
}

std::optional<int> KeyColours::PaintKeys(std::span<const PaintedKey> keys) {
    const int profile = Profile();
    std::vector<std::pair<const KeyButton*, ColourValue>> painted;
    std::vector<std::pair<int, UserKeyEntry>> entries;
    for (const PaintedKey& key : keys) {
        if (const KeyButton* button = FindKeyButton(key.controlId)) {
            painted.emplace_back(button, key.colour);
            entries.emplace_back(button->colourIndex, UserKeyEntry{key.colour, false});
        }
    }
    // The file holds the mode: colours it does not keep are neither taken nor sent.
    if (!files_.WriteKeyEntries(profile, mode_, entries)) {
        return std::nullopt;
    }
    for (const auto& [button, colour] : painted) {
        TakeKeyColour(*button, profile, colour, false);
    }
    return SendKeyColours(profile);
}

void KeyColours::TakeKeyColour(const KeyButton& button, int profile, ColourValue colour,
                               bool followsBase) {
    SetFlag(PositionOf(button), profile, followsBase);
    buttons_.ShowKeyColour(button.controlId, colour);
    table_.SetColour(profile, button.colourIndex, colour);
}

void KeyColours::SetBaseColour(ColourValue colour) {
    if (colour == tools_.baseColour) {
        return;
    }
    tools_.baseColour = colour;
    SaveTools();
    const int profile = Profile();
    std::vector<std::pair<int, UserKeyEntry>> entries;
    for (const KeyButton& button : KeyButtons()) {
        if (!FollowsBase(PositionOf(button), profile)) {
            continue;
        }
        table_.SetColour(profile, button.colourIndex, colour);
        buttons_.ShowKeyColour(button.controlId, colour);
        entries.emplace_back(button.colourIndex, UserKeyEntry{colour, true});
    }
    // One write of the mode file for all of them, not one per key.
    files_.WriteKeyEntries(profile, mode_, entries);
    SendKeyColours(profile);
    // The own-colour brush paints with the colour picked last, this one included.
    SetBrushColour(colour);
}

void KeyColours::SetBrushColour(ColourValue colour) {
    tools_.brushColour = colour;
    SaveTools();
    panel_.ShowColour(UserModeControl::BrushColour, colour);
    lighting_.ShowRgbBoxes(colour);
}

void KeyColours::SelectTool(int tool) {
    if (tool != kOwnColourTool && tool != kBaseColourTool) {
        return;
    }
    tools_.tool = tool;
    ShowToolButtons();
    SaveTools();
}

bool KeyColours::SelectUserMode(int mode) {
    if (mode < 0 || mode >= kUserModeCount) {
        return true;
    }
    // The file decides which mode is loaded: a choice it does not keep is not sent either.
    if (!files_.WritePresentMode(Profile(), mode)) {
        RefreshUserModeTools();
        return false;
    }
    mode_ = mode;
    LoadUserMode(Profile(), true);
    RefreshUserModeTools();
    ShowKeyColours();
    return true;
}

void KeyColours::RenameUserMode(std::string_view name) {
    combo_.ReplaceModeName(mode_, name);
    files_.WriteModeName(Profile(), mode_, name);
}

void KeyColours::RefreshUserModeTools() {
    combo_.SelectMode(mode_);
    panel_.ShowColour(UserModeControl::BaseColour, tools_.baseColour);
    panel_.ShowColour(UserModeControl::BrushColour, tools_.brushColour);
    ShowToolButtons();
}

void KeyColours::ShowToolButtons() {
    // A tool value from an edited file that is neither brush shows the own-colour brush, the
    // first of the pair; painting still does nothing with it.
    const bool baseTool = tools_.tool == kBaseColourTool;
    panel_.SetBitmap(UserModeControl::OwnColourTool, baseTool ? "user1up.bmp" : "user1down.bmp");
    panel_.SetBitmap(UserModeControl::BaseColourTool, baseTool ? "user2down.bmp" : "user2up.bmp");
}

void KeyColours::ShowKeyColours() {
    const int profile = Profile();
    for (const KeyButton& button : KeyButtons()) {
        buttons_.ShowKeyColour(button.controlId, table_.Colour(profile, button.colourIndex));
    }
}

void KeyColours::ClearKeyColours() {
    for (const KeyButton& button : KeyButtons()) {
        buttons_.ClearKeyColour(button.controlId);
    }
}

void KeyColours::DeriveBaseFlags() {
    for (int profile = 0; profile < kProfileCount; ++profile) {
        for (const KeyButton& button : KeyButtons()) {
            SetFlag(PositionOf(button), profile,
                    table_.Colour(profile, button.colourIndex) == tools_.baseColour);
        }
    }
}

void KeyColours::FillModeCombo(int profile) {
    combo_.FillModeNames(files_.ReadModeNames(profile));
}

void KeyColours::ResetUserModes(const std::function<bool()>& selectProfile,
                                const std::function<void()>& syncProfileButtons) {
    DeviceInfo info;
    int activeProfile = Profile();
    if (ReadDeviceInfo(link_, info.bytes) == CommandResult::Success &&
        info.ActiveProfile() < kProfileCount) {
        activeProfile = info.ActiveProfile();
    }
    lighting_.SetCurrentProfile(activeProfile);
    if (lighting_.LightingPanelOn()) {
        lighting_.ToggleLightingPanel();
    }
    if (!selectProfile()) {
        return;
    }
    syncProfileButtons();
    if (lighting_.OffersUserModes()) {
        // The modes come from the user's files: painting and names stay; only a profile
        // without a file gets the factory modes.
        for (int profile = 0; profile < kProfileCount; ++profile) {
            lighting_.SetCurrentProfile(profile);
            files_.SeedFromTemplate(profile);
            LoadUserMode(profile, false);
        }
        // The combo and the tools show the active profile's modes.
        lighting_.SetCurrentProfile(activeProfile);
        FillModeCombo(activeProfile);
        LoadUserMode(activeProfile, false);
    }
    lighting_.SetCurrentProfile(activeProfile);
}

void KeyColours::RestoreProfileUserModes() {
    files_.RestoreFromTemplate(Profile());
    FillModeCombo(Profile());
    LoadUserMode(Profile(), true);
}

void KeyColours::ReloadUserModesAndSendColours() {
    FillModeCombo(Profile());
    LoadUserMode(Profile(), true);
}

void KeyColours::SaveTools() { files_.WriteModeTools(Profile(), mode_, tools_); }

}  // namespace zarvin
