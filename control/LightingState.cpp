#include "control/LightingState.h"

#include <algorithm>
#include <charconv>
#include <mutex>
#include <utility>
#include <vector>

#include "store/LightingSwitchFile.h"

namespace zarvin {

namespace {

constexpr uint8_t kReadLength = 56;
constexpr int kMaxColourComponent = 255;

struct ArrowBitmaps {
    std::string_view first;
    std::string_view second;
};

struct ArrowStyle {
    ArrowBitmaps firstChosen;   // direction 255
    ArrowBitmaps secondChosen;  // direction 0
};

const ArrowStyle& ArrowStyleOf(EffectArrows arrows) {
    static constexpr ArrowStyle kLeftRight{{"leftdown.bmp", "rightup.bmp"},
                                           {"leftup.bmp", "rightdown.bmp"}};
    static constexpr ArrowStyle kUpDown{{"updown.bmp", "downup.bmp"},
                                        {"upup.bmp", "downdown.bmp"}};
    static constexpr ArrowStyle kOutwardInward{{"kuosandown.bmp", "julong.bmp"},
                                               {"kuosan.bmp", "julongdown.bmp"}};
    switch (arrows) {
        case EffectArrows::UpDown:
            return kUpDown;
        case EffectArrows::OutwardInward:
            return kOutwardInward;
        case EffectArrows::LeftRight:
            break;
    }
    return kLeftRight;
}

// The skin entries of the direction label and arrows in each of their places.
struct DirectionEntries {
    std::string_view label;
    std::string_view firstArrow;
    std::string_view secondArrow;
};

DirectionEntries DirectionEntriesOf(DirectionPlace place) {
    switch (place) {
        case DirectionPlace::Second:
            return {"CONTROL_BLFXStatic2", "CONTROL_BLFXLStaPic2", "CONTROL_BLFXRStaPic2"};
        case DirectionPlace::Third:
            return {"CONTROL_BLFXStatic3", "CONTROL_BLFXLStaPic3", "CONTROL_BLFXRStaPic3"};
        case DirectionPlace::Usual:
            break;
    }
    return {"CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic"};
}

struct OptionBitmaps {
    int controlId;
    std::string_view plain;
    std::string_view selected;
};

constexpr std::array<OptionBitmaps, 4> kOptionButtons{{
    {LightingControl::OptionRed, "hong.bmp", "hongok.bmp"},
    {LightingControl::OptionYellow, "huang.bmp", "huangok.bmp"},
    {LightingControl::OptionGreen, "lv.bmp", "lvok.bmp"},
    {LightingControl::OptionBlue, "lan.bmp", "lanok.bmp"},
}};

constexpr std::array<int, 4> kReportRateButtons{
    LightingControl::ReportRate1, LightingControl::ReportRate2, LightingControl::ReportRate3,
    LightingControl::ReportRate4};

constexpr std::array<ColourValue, 8> kChipColours{MakeColour(235, 99, 30), MakeColour(255, 0, 0),
                                                  MakeColour(0, 126, 255), MakeColour(90, 255, 0),
                                                  MakeColour(234, 255, 0), MakeColour(255, 192, 0),
                                                  MakeColour(255, 0, 180), MakeColour(174, 0, 255)};

// Effect, brightness 4, speed 2, direction 0, multicolour 0xFF, white; the rest zero.
constexpr size_t kDefaultRecordLength = 35;
constexpr std::array<uint8_t, 8> kDefaultRecordStart{0x01, 0x04, 0x02, 0x00,
                                                     0xFF, 0xFF, 0xFF, 0xFF};

std::string BrightnessBitmap(int position) {
    return std::to_string(position) + ".bmp";
}
std::string SpeedBitmap(int position) {
    return std::to_string(position + 6) + ".bmp";
}

uint8_t Byte(int value) {
    return static_cast<uint8_t>(value);
}

ColourValue ColourAt(const LightingRecord& record, size_t field) {
    return MakeColour(record[field], record[field + 1], record[field + 2]);
}

std::array<uint8_t, 3> ColourBytes(ColourValue colour) {
    return {RedOf(colour), GreenOf(colour), BlueOf(colour)};
}

}  // namespace

LightingState::LightingState(CommandLink& link, LightingPanel& panel, LightingCompanion& companion,
                             EffectNamer effectName, std::filesystem::path switchFile)
    : link_(link),
      panel_(panel),
      companion_(companion),
      effectName_(std::move(effectName)),
      switchFile_(std::move(switchFile)) {
    positionTable_.fill(0);
}

void LightingState::SetCurrentProfile(int profile) {
    currentProfile_ = std::clamp(profile, 0, kProfileCount - 1);
}

const LightingRecord& LightingState::Record(int profile) const {
    return records_[static_cast<size_t>(std::clamp(profile, 0, kProfileCount - 1))];
}

int LightingState::EffectAtPosition(int position) const {
    if (position < 0 || static_cast<size_t>(position) >= positionTable_.size())
        return -1;
    const int code = positionTable_[static_cast<size_t>(position)];
    return code == 0 ? -1 : code;
}

int LightingState::PositionOfEffect(int code) const {
    const auto found = std::find(positionTable_.begin(), positionTable_.end(), code);
    if (code == 0 || found == positionTable_.end())
        return -1;
    return static_cast<int>(found - positionTable_.begin());
}

bool LightingState::OffersUserModes() const {
    const auto effects = info_.Effects();
    return std::find(effects.begin(), effects.end(), kUserModeEffect) != effects.end();
}

int LightingState::LoadLighting() {
    return Load(false);
}

int LightingState::LoadLightingOnConnection() {
    return Load(true);
}

int LightingState::Load(bool onConnection) {
    panel_.FillEffectCombo({});
    std::fill(info_.bytes.begin() + DeviceInfo::kEffects, info_.bytes.end(), uint8_t{0});
    positionTable_.fill(0);

    std::lock_guard lock(link_.Lock());
    if (ReadDeviceInfo(link_, info_.bytes) != CommandResult::Success)
        return -1;

    BeginTransfer(link_);
    if (onConnection && OffersUserModes())
        companion_.ReloadUserModesAndSendColours();
    // A failed read leaves the buffer as it was, so that record takes the previous bytes.
    std::array<uint8_t, kPacketDataSize> buffer{};
    for (size_t profile = 0; profile < records_.size(); ++profile) {
        ReadLighting(link_, buffer, kReadLength,
                     static_cast<uint16_t>(kLightingRecordSize * profile));
        std::copy_n(buffer.begin(), kLightingRecordSize, records_[profile].begin());
    }
    EndTransfer(link_);

    TakeCurrentRecord();

    const bool storedOn = ReadDengCheck(switchFile_) == "1";
    if (storedOn || onConnection)
        panelOn_ = storedOn;
    companion_.PreviewChanged();
    return 0;
}

void LightingState::TakeCurrentRecord() {
    const LightingRecord& record = Record(currentProfile_);
    effect_ = record[LightingField::Effect];
    brightness_ = record[LightingField::Brightness];
    speed_ = record[LightingField::Speed];
    direction_ = record[LightingField::Direction];
    optionColour_ = record[LightingField::OptionColour];
    reportRate_ = std::min<int>(record[LightingField::ReportRate], kReportRateMax);
    mainColour_ = ColourAt(record, LightingField::MainColour);
    multicolour_ = record[LightingField::Multicolour] != 0;
    switch (record[LightingField::TriggerMode]) {
        case 0:
            singleKeyTrigger_ = true;
            gridTrigger_ = false;
            break;
        case 1:
            singleKeyTrigger_ = false;
            gridTrigger_ = true;
            break;
        default:
            break;
    }
    colourB_ = ColourAt(record, LightingField::ColourB);
    colourBRainbow_ = record[LightingField::ColourBRainbow] != 0;
    colourC_ = ColourAt(record, LightingField::ColourC);
    colourCRainbow_ = record[LightingField::ColourCRainbow] != 0;
}

bool LightingState::PreviewAnimates() const {
    return panelOn_ && LightingEffectOf(effect_).motion == PreviewMotion::Animated;
}

int LightingState::BrightnessPosition() const {
    return std::clamp(brightness_, 0, kSliderMax);
}

int LightingState::SpeedPosition() const {
    return std::clamp(kSliderMax - speed_, 0, kSliderMax);
}

void LightingState::RefreshLightingPanel() {
    std::vector<std::string> names;
    positionTable_.fill(0);
    for (uint8_t code : info_.Effects()) {
        positionTable_[names.size()] = code;
        names.push_back(effectName_(code));
    }
    panel_.FillEffectCombo(names);

    CheckReportRateButton();

    // A brightness out of range would name another slider's bitmap.
    panel_.PlaceSlider(LightingControl::BrightnessSlider, BrightnessPosition());
    panel_.SetBitmap(LightingControl::BrightnessSlider, BrightnessBitmap(BrightnessPosition()));
    panel_.PlaceSlider(LightingControl::SpeedSlider, SpeedPosition());
    panel_.SetBitmap(LightingControl::SpeedSlider, SpeedBitmap(SpeedPosition()));

    panel_.ShowColour(LightingControl::ColourBButton, mainColour_);
    panel_.ShowColour(LightingControl::ColourAButton, mainColour_);
    panel_.ShowColour(LightingControl::HiddenColourB, colourB_);
    panel_.ShowColour(LightingControl::HiddenColourC, colourC_);
    ShowRgbBoxes(mainColour_);
    ShowMulticolourBoxes(multicolour_);

    if (optionColour_ > kOptionColourMax)
        optionColour_ = 0;
    ShowOptionButtons();

    ShowDirectionArrows(effect_);

    panel_.SelectEffectPosition(PositionOfEffect(effect_));
    if (panelOn_) {
        panel_.SetBitmap(LightingControl::LightingSwitch, "dengdown.bmp");
        ShowLightingControls(effect_);
        if (effect_ == kUserModeEffect)
            companion_.ShowKeyColours();
    } else {
        panel_.SetBitmap(LightingControl::LightingSwitch, "dengup.bmp");
        HideAllGroups();
    }

    companion_.RefreshUserModeTools();
    PlaceDirectionControls(effect_);
}

void LightingState::SelectEffect(int position) {
    const int code = EffectAtPosition(position);
    if (code < 0)
        return;
    companion_.ClearKeyColours();
    PlaceDirectionControls(code);
    ShowDirectionArrows(code);

    // Codes the keyboard should not report get no write at all.
    if (const LightingEffect* effect = FindLightingEffect(code)) {
        const std::array<uint8_t, 1> effectByte{Byte(code)};
        const std::array<uint8_t, 1> multicolourByte{Byte(multicolour_ ? 1 : 0)};
        if (effect->controls.sendsMulticolour) {
            WriteFields(LightingField::Effect, effectByte, LightingField::Multicolour,
                        multicolourByte);
        } else {
            WriteFields(LightingField::Effect, effectByte);
        }
    }
    if (code == kUserModeEffect)
        companion_.ShowKeyColours();

    effect_ = code;
    // The boxes may show a brush colour picked under custom key colours; any other effect
    // shows the main colour.
    if (code != kUserModeEffect)
        ShowRgbBoxes(mainColour_);
    companion_.RestartPreview();
    ShowLightingControls(code);
    companion_.PreviewChanged();
}

void LightingState::OnSliderMoved(int controlId, int position) {
    position = std::clamp(position, 0, kSliderMax);
    if (controlId == LightingControl::BrightnessSlider) {
        if (position == brightness_)
            return;
        panel_.SetBitmap(controlId, BrightnessBitmap(position));
        brightness_ = position;
        const std::array<uint8_t, 1> value{Byte(position)};
        WriteFields(LightingField::Brightness, value);
    } else if (controlId == LightingControl::SpeedSlider) {
        panel_.SetBitmap(controlId, SpeedBitmap(position));
        speed_ = position;
        const std::array<uint8_t, 1> value{Byte(kSliderMax - position)};
        WriteFields(LightingField::Speed, value);
    }
}

void LightingState::SetDirection(uint8_t value) {
    direction_ = value == kDirectionFirst ? kDirectionFirst : kDirectionSecond;
    ShowDirectionArrows(effect_);
    const std::array<uint8_t, 1> bytes{Byte(direction_)};
    WriteFields(LightingField::Direction, bytes);
    companion_.PreviewChanged();
}

void LightingState::SetMainColour(int buttonId, ColourValue colour) {
    if (buttonId == LightingControl::ColourAButton || buttonId == LightingControl::ColourBButton) {
        TakeMainColour(colour);
    }
}

void LightingState::TakeMainColour(ColourValue colour) {
    colour &= 0xFFFFFF;
    // Both checkboxes show the one flag: a checkbox left on would say multicolour while the
    // keyboard shows one colour.
    multicolour_ = false;
    ShowMulticolourBoxes(false);
    const std::array<uint8_t, 1> off{0};
    WriteFields(LightingField::Multicolour, off, LightingField::MainColour, ColourBytes(colour));
    mainColour_ = colour;
    panel_.ShowColour(LightingControl::ColourBButton, mainColour_);
    panel_.ShowColour(LightingControl::ColourAButton, mainColour_);
    ShowRgbBoxes(mainColour_);
    companion_.ColourPicked(mainColour_);
    companion_.PreviewChanged();
}

void LightingState::ToggleMulticolour() {
    multicolour_ = !multicolour_;
    ShowMulticolourBoxes(multicolour_);
    const std::array<uint8_t, 1> value{Byte(multicolour_ ? 1 : 0)};
    WriteFields(LightingField::Multicolour, value);
    companion_.PreviewChanged();
}

void LightingState::SetOptionColour(int n) {
    if (n < 0 || n > kOptionColourMax)
        return;
    optionColour_ = n;
    ShowOptionButtons();
    const std::array<uint8_t, 1> value{Byte(n)};
    WriteFields(LightingField::OptionColour, value);
}

void LightingState::SetReportRate(int n) {
    if (n < 0 || n > kReportRateMax)
        return;
    reportRate_ = n;
    CheckReportRateButton();
    const std::array<uint8_t, 1> value{Byte(n)};
    WriteFields(LightingField::ReportRate, value);
}

void LightingState::ApplyPresetColour(int chipId) {
    if (chipId < LightingControl::FirstColourChip || chipId > LightingControl::LastColourChip) {
        return;
    }
    TakeMainColour(kChipColours[static_cast<size_t>(chipId - LightingControl::FirstColourChip)]);
}

void LightingState::OnRgbEditChanged(int controlId, std::string_view text) {
    // An emptied box stays empty; the box takes digits only, so anything else is left alone.
    if (text.empty())
        return;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end == text.data())
        return;
    if (error == std::errc::result_out_of_range || value > kMaxColourComponent) {
        value = kMaxColourComponent;
    }
    const std::string shown = std::to_string(value);
    if (shown != text)
        panel_.SetEditText(controlId, shown);
}

void LightingState::CommitRgbEdits(std::string_view red, std::string_view green,
                                   std::string_view blue) {
    const auto component = [](std::string_view text, uint8_t shown) {
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || end == text.data())
            return shown;
        if (error == std::errc::result_out_of_range || value > kMaxColourComponent)
            value = kMaxColourComponent;
        return Byte(value);
    };
    TakeMainColour(MakeColour(component(red, RedOf(rgbBoxColour_)),
                              component(green, GreenOf(rgbBoxColour_)),
                              component(blue, BlueOf(rgbBoxColour_))));
}

void LightingState::ShowRgbBoxes(ColourValue colour) {
    rgbBoxColour_ = colour & 0xFFFFFF;
    panel_.SetEditText(LightingControl::RedEdit, std::to_string(RedOf(colour)));
    panel_.SetEditText(LightingControl::GreenEdit, std::to_string(GreenOf(colour)));
    panel_.SetEditText(LightingControl::BlueEdit, std::to_string(BlueOf(colour)));
}

void LightingState::ToggleLightingPanel() {
    if (panelOn_) {
        panelOn_ = false;
        WriteDengCheck(switchFile_, false);
        panel_.SetBitmap(LightingControl::LightingSwitch, "dengup.bmp");
        companion_.ClearKeyColours();
        companion_.ShowAssignments();
        HideAllGroups();
        companion_.PreviewChanged();
        return;
    }
    if (!companion_.SelectProfile())
        return;
    panelOn_ = true;
    WriteDengCheck(switchFile_, true);
    panel_.SetBitmap(LightingControl::LightingSwitch, "dengdown.bmp");
    companion_.ClearKeyColours();
    ShowLightingControls(effect_);
    if (effect_ == kUserModeEffect)
        companion_.ShowKeyColours();
    companion_.PreviewChanged();
}

void LightingState::RestoreLightingDefaults() {
    const int position = PositionOfEffect(1);
    panel_.SelectEffectPosition(position);
    SelectEffect(position);

    if (OffersUserModes())
        companion_.RestoreUserModesFromTemplate();

    std::array<uint8_t, kDefaultRecordLength> record{};
    std::copy(kDefaultRecordStart.begin(), kDefaultRecordStart.end(), record.begin());
    WriteFields(0, record);
    // Every control shows the record the keyboard now holds, the fields without a control of
    // their own (option colour, colours B and C, trigger) included.
    TakeCurrentRecord();
    RefreshLightingPanel();
    companion_.PreviewChanged();
}

void LightingState::ShowLightingControls(int code) {
    const EffectControls& controls = LightingEffectOf(code).controls;
    panel_.ShowGroup(LightingGroup::Effect, true);
    panel_.ShowGroup(LightingGroup::Brightness, true);
    panel_.ShowGroup(LightingGroup::Speed, controls.speed);
    panel_.ShowGroup(LightingGroup::Direction, controls.direction);
    panel_.ShowGroup(LightingGroup::ColourA, controls.colourA);
    panel_.ShowGroup(LightingGroup::ColourB, controls.colourB);
    panel_.ShowGroup(LightingGroup::OptionColours, controls.optionColours);
    panel_.ShowGroup(LightingGroup::UserModeTools, controls.userModeTools);
    panel_.ShowGroup(LightingGroup::NeverShown, false);
}

void LightingState::WriteFields(size_t offset, std::span<const uint8_t> bytes, size_t secondOffset,
                                std::span<const uint8_t> secondBytes) {
    const size_t base = kLightingRecordSize * static_cast<size_t>(currentProfile_);
    LightingRecord& kept = records_[static_cast<size_t>(currentProfile_)];
    std::copy(bytes.begin(), bytes.end(), kept.begin() + static_cast<std::ptrdiff_t>(offset));
    std::copy(secondBytes.begin(), secondBytes.end(),
              kept.begin() + static_cast<std::ptrdiff_t>(secondOffset));
    const auto note = [this](int result) {
        if (writeFailure_ == CommandResult::Success) {
            writeFailure_ = result;
        }
    };
    std::lock_guard lock(link_.Lock());
    note(BeginTransfer(link_));
    note(WriteLighting(link_, bytes, static_cast<uint8_t>(bytes.size()),
                       static_cast<uint16_t>(base + offset)));
    if (!secondBytes.empty()) {
        note(WriteLighting(link_, secondBytes, static_cast<uint8_t>(secondBytes.size()),
                           static_cast<uint16_t>(base + secondOffset)));
    }
    note(EndTransfer(link_));
}

int LightingState::TakeWriteFailure() {
    return std::exchange(writeFailure_, CommandResult::Success);
}

void LightingState::ShowDirectionArrows(int code) {
    const ArrowStyle& style = ArrowStyleOf(LightingEffectOf(code).arrows);
    const ArrowBitmaps& arrows =
        direction_ == kDirectionFirst ? style.firstChosen : style.secondChosen;
    panel_.SetBitmap(LightingControl::FirstArrow, arrows.first);
    panel_.SetBitmap(LightingControl::SecondArrow, arrows.second);
}

void LightingState::PlaceDirectionControls(int code) {
    const DirectionEntries entries = DirectionEntriesOf(LightingEffectOf(code).directionPlace);
    panel_.MoveControl(LightingControl::DirectionLabel, entries.label);
    panel_.MoveControl(LightingControl::FirstArrow, entries.firstArrow);
    panel_.MoveControl(LightingControl::SecondArrow, entries.secondArrow);
}

void LightingState::ShowMulticolourBoxes(bool on) {
    const std::string_view bitmap = on ? "sjsdown.bmp" : "sjsup.bmp";
    panel_.SetBitmap(LightingControl::MulticolourA, bitmap);
    panel_.SetBitmap(LightingControl::MulticolourB, bitmap);
}

void LightingState::ShowOptionButtons() {
    for (size_t n = 0; n < kOptionButtons.size(); ++n) {
        const OptionBitmaps& button = kOptionButtons[n];
        const bool chosen = static_cast<int>(n) == optionColour_;
        panel_.SetBitmap(button.controlId, chosen ? button.selected : button.plain);
    }
}

void LightingState::CheckReportRateButton() {
    for (size_t n = 0; n < kReportRateButtons.size(); ++n) {
        panel_.CheckButton(kReportRateButtons[n], static_cast<int>(n) == reportRate_);
    }
}

void LightingState::HideAllGroups() {
    for (LightingGroup group : kAllLightingGroups)
        panel_.ShowGroup(group, false);
}

}  // namespace zarvin
