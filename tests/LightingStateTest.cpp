#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "control/LightingState.h"
#include "device/CommandProtocol.h"
#include "device/HidDevice.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/LightingSwitchFile.h"
#include "support/LinkRig.h"
#include "support/TempFolder.h"
#include "support/ZarvinctlContext.h"

namespace zarvin {
namespace {

using namespace std::chrono_literals;

using test_support::kQuickTiming;

// Keeps what the panel shows now.
class FakePanel : public LightingPanel {
public:
    void ShowGroup(LightingGroup group, bool shown) override { groups[group] = shown; }
    void SetBitmap(int controlId, std::string_view bitmap) override {
        bitmaps[controlId] = std::string(bitmap);
    }
    void CheckButton(int controlId, bool checked) override { checks[controlId] = checked; }
    void FillEffectCombo(const std::vector<std::string>& names) override { combo = names; }
    void SelectEffectPosition(int position) override { selection = position; }
    void PlaceSlider(int controlId, int position) override { sliders[controlId] = position; }
    void ShowColour(int controlId, ColourValue colour) override { colours[controlId] = colour; }
    void SetEditText(int controlId, std::string_view text) override {
        edits[controlId] = std::string(text);
    }
    void MoveControl(int controlId, std::string_view skinEntry) override {
        places[controlId] = std::string(skinEntry);
    }

    std::map<LightingGroup, bool> groups;
    std::map<int, std::string> bitmaps;
    std::map<int, bool> checks;
    std::vector<std::string> combo;
    int selection = -2;
    std::map<int, int> sliders;
    std::map<int, ColourValue> colours;
    std::map<int, std::string> edits;
    std::map<int, std::string> places;
};

class RecordingCompanion : public LightingCompanion {
public:
    bool SelectProfile() override {
        ++profileSwitches;
        return allowProfileSwitch;
    }
    void ReloadUserModesAndSendColours() override { ++userModeReloads; }
    void ColourPicked(uint32_t colour) override { picked.push_back(colour); }

    bool allowProfileSwitch = true;
    std::vector<ColourValue> picked;
    int profileSwitches = 0;
    int userModeReloads = 0;
};

// The record a test starts from: effect 1, brightness 3, speed 2, direction 255, multicolour
// on, colour 10 20 30, rate 1, option 2, trigger mode 1.
LightingRecord SampleRecord() {
    LightingRecord record{};
    record[LightingField::Effect] = 1;
    record[LightingField::Brightness] = 3;
    record[LightingField::Speed] = 2;
    record[LightingField::Direction] = kDirectionFirst;
    record[LightingField::Multicolour] = 1;
    record[LightingField::MainColour] = 10;
    record[LightingField::MainColour + 1] = 20;
    record[LightingField::MainColour + 2] = 30;
    record[LightingField::ReportRate] = 1;
    record[LightingField::OptionColour] = 2;
    record[LightingField::TriggerMode] = 1;
    return record;
}

// The keyboard's packets as words: "begin", "end", "write@OFFSET:HEX BYTES", "read@OFFSET",
// "info".
std::string Describe(const Packet& packet) {
    const int offset = packet[PacketByte::Offset] | packet[PacketByte::Offset + 1] << 8;
    switch (packet[PacketByte::Command]) {
        case Command::BeginTransfer:
            return "begin";
        case Command::EndTransfer:
            return "end";
        case Command::ReadDeviceInfo:
            return "info";
        case Command::ReadLighting:
            return "read@" + std::to_string(offset);
        case Command::WriteLighting: {
            std::string text = "write@" + std::to_string(offset) + ":";
            for (size_t n = 0; n < packet[PacketByte::Length]; ++n) {
                char hex[4];
                std::snprintf(hex, sizeof hex, n == 0 ? "%02X" : " %02X",
                              packet[PacketByte::Data + n]);
                text += hex;
            }
            return text;
        }
        default:
            return "command " + std::to_string(packet[PacketByte::Command]);
    }
}

class LightingStateTest : public ::testing::Test, protected test_support::LinkRig {
protected:
    LightingStateTest()
        : state(
              link, panel, companion, [](int code) { return "effect " + std::to_string(code); },
              LightingSwitchFile(folder.Path())) {}

    // Puts `record` in `profile` on the keyboard, reloads and refreshes the panel for it.
    void Start(int profile, const LightingRecord& record = SampleRecord()) {
        keyboard.WithFirmware([&](sim::SimFirmware& firmware) {
            const auto at = static_cast<size_t>(profile) * kLightingRecordSize;
            std::copy(record.begin(), record.end(), firmware.Memory().lighting.begin() + at);
        });
        state.SetCurrentProfile(profile);
        ASSERT_EQ(state.LoadLighting(), 0);
        state.RefreshLightingPanel();
        keyboard.ClearLog();
    }

    std::vector<std::string> Packets() const {
        std::vector<std::string> words;
        for (const Packet& packet : keyboard.ReceivedPackets())
            words.push_back(Describe(packet));
        return words;
    }

    LightingRecord KeyboardRecord(int profile) {
        LightingRecord record{};
        keyboard.WithFirmware([&](sim::SimFirmware& firmware) {
            const auto at = static_cast<size_t>(profile) * kLightingRecordSize;
            std::copy_n(firmware.Memory().lighting.begin() + at, kLightingRecordSize,
                        record.begin());
        });
        return record;
    }

    test::TempFolder folder;
    FakePanel panel;
    RecordingCompanion companion;
    LightingState state;
};

TEST_F(LightingStateTest, LoadTakesTheCurrentProfilesRecord) {
    LightingRecord record = SampleRecord();
    record[LightingField::ReportRate] = 7;
    record[LightingField::ColourB] = 0x11;
    record[LightingField::ColourBRainbow] = 9;
    Start(2, record);

    EXPECT_EQ(state.Effect(), 1);
    EXPECT_EQ(state.Brightness(), 3);
    EXPECT_EQ(state.Speed(), 2);
    EXPECT_EQ(state.MainColour(), MakeColour(10, 20, 30));
    EXPECT_EQ(state.ColourB(), 0x11u);
    EXPECT_TRUE(state.ColourBRainbow());
    EXPECT_TRUE(state.Multicolour());
    EXPECT_TRUE(state.GridTrigger());
    EXPECT_FALSE(state.SingleKeyTrigger());
    // A rate above 3 shows the fourth button.
    EXPECT_EQ(state.ReportRate(), 3);
    EXPECT_TRUE(panel.checks[LightingControl::ReportRate4]);
    EXPECT_FALSE(panel.checks[LightingControl::ReportRate1]);

    // Trigger mode 2 leaves both flags as they were.
    record[LightingField::TriggerMode] = 2;
    Start(2, record);
    EXPECT_TRUE(state.GridTrigger());
    EXPECT_FALSE(state.SingleKeyTrigger());
}

TEST_F(LightingStateTest, LoadReadsTheThreeRecordsInOneTransfer) {
    state.SetCurrentProfile(1);
    ASSERT_EQ(state.LoadLighting(), 0);
    EXPECT_EQ(Packets(),
              (std::vector<std::string>{"info", "begin", "read@0", "read@42", "read@84", "end"}));
}

TEST_F(LightingStateTest, FailedDeviceInfoKeepsTheStateAndEmptiesTheCombo) {
    Start(0);
    keyboard.StaySilentFor(kQuickTiming.attempts);
    EXPECT_EQ(state.LoadLighting(), -1);
    EXPECT_TRUE(panel.combo.empty());
    EXPECT_EQ(state.Brightness(), 3);
    EXPECT_EQ(state.PositionOfEffect(1), -1);
}

TEST_F(LightingStateTest, SelectEffectWritesTheCodeAndForSomeTheMulticolourFlag) {
    struct Case {
        int profile;
        bool multicolour;
        int code;
        std::vector<std::string> packets;
    };
    const Case cases[] = {
        {0, true, 7, {"begin", "write@0:07", "write@4:01", "end"}},
        {1, false, 3, {"begin", "write@42:03", "write@46:00", "end"}},
        {0, true, 4, {"begin", "write@0:04", "end"}},
        {2, true, 20, {"begin", "write@84:14", "end"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        LightingRecord record = SampleRecord();
        record[LightingField::Multicolour] = c.multicolour ? 0xFF : 0;
        Start(c.profile, record);
        state.SelectEffect(state.PositionOfEffect(c.code));
        EXPECT_EQ(Packets(), c.packets);
        EXPECT_EQ(state.Effect(), c.code);
        EXPECT_EQ(KeyboardRecord(c.profile)[LightingField::Effect], c.code);
    }
}

TEST_F(LightingStateTest, SlidersWriteTheirPositionAndSpeedInverted) {
    struct Case {
        int profile;
        int control;
        int position;
        std::vector<std::string> packets;
    };
    const Case cases[] = {
        {2, LightingControl::SpeedSlider, 1, {"begin", "write@86:04", "end"}},
        {0, LightingControl::BrightnessSlider, 5, {"begin", "write@1:05", "end"}},
        // Brightness already at 3: nothing. Speed always writes, even unchanged.
        {0, LightingControl::BrightnessSlider, 3, {}},
        {0, LightingControl::SpeedSlider, 3, {"begin", "write@2:02", "end"}},
        // The slider clamps.
        {1, LightingControl::SpeedSlider, 9, {"begin", "write@44:00", "end"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        Start(c.profile);
        state.OnSliderMoved(c.control, c.position);
        EXPECT_EQ(Packets(), c.packets);
    }
}

TEST_F(LightingStateTest, SpeedComesBackAtTheSliderPositionItWasWrittenFrom) {
    LightingRecord record = SampleRecord();
    record[LightingField::Speed] = 5;
    Start(0, record);
    EXPECT_EQ(panel.sliders[LightingControl::SpeedSlider], 0);
    EXPECT_EQ(panel.bitmaps[LightingControl::SpeedSlider], "6.bmp");

    state.OnSliderMoved(LightingControl::SpeedSlider, 3);
    EXPECT_EQ(KeyboardRecord(0)[LightingField::Speed], 2);
    ASSERT_EQ(state.LoadLighting(), 0);
    state.RefreshLightingPanel();
    EXPECT_EQ(panel.sliders[LightingControl::SpeedSlider], 3);
    EXPECT_EQ(panel.bitmaps[LightingControl::SpeedSlider], "9.bmp");
}

TEST_F(LightingStateTest, EachControlWritesItsField) {
    struct Case {
        const char* name;
        std::function<void(LightingState&)> action;
        std::vector<std::string> packets;
    };
    const Case cases[] = {
        {"direction",
         [](LightingState& s) { s.SetDirection(kDirectionSecond); },
         {"begin", "write@45:00", "end"}},
        {"colour",
         [](LightingState& s) { s.SetMainColour(LightingControl::ColourAButton, 0x30B0C0); },
         {"begin", "write@46:00", "write@47:C0 B0 30", "end"}},
        {"multicolour",
         [](LightingState& s) { s.ToggleMulticolour(); },
         {"begin", "write@46:00", "end"}},
        {"option", [](LightingState& s) { s.SetOptionColour(3); }, {"begin", "write@59:03", "end"}},
        {"rate", [](LightingState& s) { s.SetReportRate(2); }, {"begin", "write@57:02", "end"}},
        {"chip",
         [](LightingState& s) { s.ApplyPresetColour(1213); },
         {"begin", "write@46:00", "write@47:00 7E FF", "end"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(1);
        c.action(state);
        EXPECT_EQ(Packets(), c.packets);
    }
}

TEST_F(LightingStateTest, ControlsUpdateThePanel) {
    Start(0);
    state.SetMainColour(LightingControl::ColourBButton, 0x123456);
    EXPECT_FALSE(state.Multicolour());
    EXPECT_EQ(panel.bitmaps[LightingControl::MulticolourA], "sjsup.bmp");
    EXPECT_EQ(panel.bitmaps[LightingControl::MulticolourB], "sjsup.bmp");
    EXPECT_EQ(panel.colours[LightingControl::ColourAButton], 0x123456u);
    EXPECT_EQ(panel.colours[LightingControl::ColourBButton], 0x123456u);

    state.SetOptionColour(1);
    EXPECT_EQ(panel.bitmaps[LightingControl::OptionRed], "hong.bmp");
    EXPECT_EQ(panel.bitmaps[LightingControl::OptionYellow], "huangok.bmp");

    state.SetReportRate(0);
    EXPECT_TRUE(panel.checks[LightingControl::ReportRate1]);
    EXPECT_FALSE(panel.checks[LightingControl::ReportRate2]);
}

TEST_F(LightingStateTest, EveryWayOfPickingAColourShowsItEverywhere) {
    struct Case {
        const char* name;
        std::function<void(LightingState&)> pick;
        ColourValue colour;
    };
    const Case cases[] = {
        {"colour button A",
         [](LightingState& s) { s.SetMainColour(LightingControl::ColourAButton, 0x123456); },
         0x123456},
        {"colour button B",
         [](LightingState& s) { s.SetMainColour(LightingControl::ColourBButton, 0x123456); },
         0x123456},
        {"chip", [](LightingState& s) { s.ApplyPresetColour(1213); }, MakeColour(0, 126, 255)},
        // An emptied box keeps the component the boxes showed (10 20 30 from the record).
        {"typed", [](LightingState& s) { s.CommitRgbEdits("300", "", "7"); },
         MakeColour(255, 20, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        companion.picked.clear();
        Start(1);
        ASSERT_EQ(panel.edits[LightingControl::GreenEdit], "20");

        c.pick(state);

        EXPECT_EQ(state.MainColour(), c.colour);
        EXPECT_FALSE(state.Multicolour());
        EXPECT_EQ(panel.bitmaps[LightingControl::MulticolourA], "sjsup.bmp");
        EXPECT_EQ(panel.bitmaps[LightingControl::MulticolourB], "sjsup.bmp");
        EXPECT_EQ(panel.colours[LightingControl::ColourAButton], c.colour);
        EXPECT_EQ(panel.colours[LightingControl::ColourBButton], c.colour);
        EXPECT_EQ(panel.edits[LightingControl::RedEdit], std::to_string(RedOf(c.colour)));
        EXPECT_EQ(panel.edits[LightingControl::GreenEdit], std::to_string(GreenOf(c.colour)));
        EXPECT_EQ(panel.edits[LightingControl::BlueEdit], std::to_string(BlueOf(c.colour)));
        EXPECT_EQ(companion.picked, std::vector<ColourValue>{c.colour});
        const LightingRecord onKeyboard = KeyboardRecord(1);
        EXPECT_EQ(onKeyboard[LightingField::Multicolour], 0);
        EXPECT_EQ(MakeColour(onKeyboard[LightingField::MainColour],
                             onKeyboard[LightingField::MainColour + 1],
                             onKeyboard[LightingField::MainColour + 2]),
                  c.colour);
        EXPECT_EQ(state.Record(1), onKeyboard);
    }
    // Not a chip: nothing.
    keyboard.ClearLog();
    state.ApplyPresetColour(1219);
    EXPECT_TRUE(Packets().empty());
}

TEST_F(LightingStateTest, RgbBoxesShowTheNumberAsRead) {
    struct Case {
        const char* typed;
        const char* shown;  // nullptr: the text is left as typed
    };
    const Case cases[] = {
        {"300", "255"}, {"007", "7"}, {"99999999999", "255"}, {"42", nullptr}, {"", nullptr},
    };
    Start(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        panel.edits.clear();
        state.OnRgbEditChanged(LightingControl::GreenEdit, c.typed);
        if (c.shown) {
            EXPECT_EQ(panel.edits[LightingControl::GreenEdit], c.shown);
        } else {
            EXPECT_TRUE(panel.edits.empty());
        }
    }
    EXPECT_TRUE(Packets().empty());
}

TEST_F(LightingStateTest, DefaultsSelectEffectOneThenWriteTheDefaultRecord) {
    LightingRecord record = SampleRecord();
    record[LightingField::Multicolour] = 0;
    std::fill(record.begin() + 20, record.end(), uint8_t{0x5A});
    Start(1, record);
    state.RestoreLightingDefaults();

    const std::string defaultRecord =
        "write@42:01 04 02 00 FF FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 00 00 00";
    EXPECT_EQ(Packets(), (std::vector<std::string>{"begin", "write@42:01", "write@46:00", "end",
                                                   "begin", defaultRecord, "end"}));
    // Bytes 35-41 are left as they were.
    EXPECT_EQ(KeyboardRecord(1)[35], 0x5A);
    // Everything shown is the record the keyboard got.
    EXPECT_EQ(state.Record(1), KeyboardRecord(1));
    EXPECT_EQ(state.Brightness(), 4);
    EXPECT_TRUE(state.Multicolour());
    EXPECT_EQ(state.MainColour(), 0xFFFFFFu);
    EXPECT_EQ(state.OptionColour(), 0);
    EXPECT_EQ(state.ColourB(), 0u);
    EXPECT_FALSE(state.ColourBRainbow());
    EXPECT_TRUE(state.SingleKeyTrigger());
    EXPECT_EQ(panel.sliders[LightingControl::SpeedSlider], 3);
    EXPECT_EQ(panel.sliders[LightingControl::BrightnessSlider], 4);
    EXPECT_TRUE(panel.checks[LightingControl::ReportRate1]);
    EXPECT_EQ(panel.bitmaps[LightingControl::OptionRed], "hongok.bmp");
    EXPECT_EQ(panel.bitmaps[LightingControl::OptionGreen], "lv.bmp");
    EXPECT_EQ(panel.bitmaps[LightingControl::MulticolourA], "sjsdown.bmp");
    EXPECT_EQ(panel.edits[LightingControl::RedEdit], "255");
    EXPECT_EQ(panel.colours[LightingControl::ColourAButton], 0xFFFFFFu);
}

TEST_F(LightingStateTest, RefreshShowsTheGroupsAndArrowsOfTheEffect) {
    ASSERT_TRUE(WriteDengCheck(LightingSwitchFile(folder.Path()), true));
    struct Case {
        int effect;
        uint8_t direction;
        std::vector<LightingGroup> shown;
        const char* firstArrow;
        const char* secondArrow;
        const char* labelPlace;
    };
    using G = LightingGroup;
    const Case cases[] = {
        {2,
         kDirectionFirst,
         {G::Effect, G::Brightness, G::Speed, G::Direction, G::ColourA},
         "leftdown.bmp",
         "rightup.bmp",
         "CONTROL_BLFXStatic2"},
        {12,
         kDirectionSecond,
         {G::Effect, G::Brightness, G::Speed, G::Direction},
         "upup.bmp",
         "downdown.bmp",
         "CONTROL_BLFXStatic3"},
        {17,
         kDirectionFirst,
         {G::Effect, G::Brightness, G::OptionColours},
         "leftdown.bmp",
         "rightup.bmp",
         "CONTROL_BLFXStatic"},
        {18,
         kDirectionSecond,
         {G::Effect, G::Brightness, G::Direction},
         "kuosan.bmp",
         "julongdown.bmp",
         "CONTROL_BLFXStatic"},
        {20,
         kDirectionFirst,
         {G::Effect, G::Brightness, G::UserModeTools},
         "leftdown.bmp",
         "rightup.bmp",
         "CONTROL_BLFXStatic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.effect);
        LightingRecord record = SampleRecord();
        record[LightingField::Effect] = static_cast<uint8_t>(c.effect);
        record[LightingField::Direction] = c.direction;
        Start(0, record);
        for (LightingGroup group : kAllLightingGroups) {
            const bool expected = std::find(c.shown.begin(), c.shown.end(), group) != c.shown.end();
            EXPECT_EQ(panel.groups[group], expected) << static_cast<int>(group);
        }
        EXPECT_EQ(panel.bitmaps[LightingControl::FirstArrow], c.firstArrow);
        EXPECT_EQ(panel.bitmaps[LightingControl::SecondArrow], c.secondArrow);
        EXPECT_EQ(panel.places[LightingControl::DirectionLabel], c.labelPlace);
        EXPECT_EQ(panel.bitmaps[LightingControl::LightingSwitch], "dengdown.bmp");
        EXPECT_EQ(panel.combo.size(), LightingEffects().size());
        EXPECT_EQ(panel.combo[static_cast<size_t>(panel.selection)],
                  "effect " + std::to_string(c.effect));
    }
}

TEST_F(LightingStateTest, SwitchOffHidesEveryGroup) {
    Start(0);
    EXPECT_FALSE(state.LightingPanelOn());
    EXPECT_EQ(panel.bitmaps[LightingControl::LightingSwitch], "dengup.bmp");
    for (LightingGroup group : kAllLightingGroups)
        EXPECT_FALSE(panel.groups[group]);
}

TEST_F(LightingStateTest, DengCheckKeepsTheSwitch) {
    const auto file = LightingSwitchFile(folder.Path());
    EXPECT_EQ(ReadDengCheck(file), "0");
    Start(0);

    companion.allowProfileSwitch = false;
    state.ToggleLightingPanel();
    EXPECT_FALSE(state.LightingPanelOn());
    EXPECT_EQ(ReadDengCheck(file), "0");

    companion.allowProfileSwitch = true;
    state.ToggleLightingPanel();
    EXPECT_TRUE(state.LightingPanelOn());
    EXPECT_EQ(ReadDengCheck(file), "1");
    EXPECT_EQ(panel.bitmaps[LightingControl::LightingSwitch], "dengdown.bmp");
    EXPECT_TRUE(panel.groups[LightingGroup::ColourA]);
    EXPECT_EQ(companion.profileSwitches, 2);
    EXPECT_TRUE(Packets().empty());

    state.ToggleLightingPanel();
    EXPECT_FALSE(state.LightingPanelOn());
    EXPECT_EQ(ReadDengCheck(file), "0");
    EXPECT_FALSE(panel.groups[LightingGroup::Effect]);
}

TEST_F(LightingStateTest, ReloadTurnsTheSwitchOnOnlyAndTheConnectionReloadBothWays) {
    const auto file = LightingSwitchFile(folder.Path());
    Start(0);
    ASSERT_TRUE(WriteDengCheck(file, true));
    ASSERT_EQ(state.LoadLighting(), 0);
    EXPECT_TRUE(state.LightingPanelOn());

    ASSERT_TRUE(WriteDengCheck(file, false));
    ASSERT_EQ(state.LoadLighting(), 0);
    EXPECT_TRUE(state.LightingPanelOn());
    keyboard.ClearLog();
    ASSERT_EQ(state.LoadLightingOnConnection(), 0);
    EXPECT_FALSE(state.LightingPanelOn());
    // The stand-in offers effect 20: user modes are reloaded inside the transfer.
    EXPECT_EQ(companion.userModeReloads, 1);
}

// zarvinctl lighting: the stand-in connected, the language file of the sources beside the
// "program" and a temporary per-user folder.
struct LightingCommandRig {
    LightingCommandRig()
        : connection(keyboard),
          context(test::ZarvinctlContextIn(folder)) {
        std::string error;
        connected = connection.Connect(error);
    }

    test::TempFolder folder;
    sim::SimKeyboard keyboard;
    cli::KeyboardConnection connection;
    AppContext context;
    bool connected = false;
};

TEST(LightingCommand, SetThenShowGivesTheNewValues) {
    LightingCommandRig rig;
    ASSERT_TRUE(rig.connected);
    std::string error;
    const auto settings = cli::ParseLightingSettings(
        {"effect=7", "multicolour=off", "speed=4", "colour=FF8000"}, error);
    ASSERT_TRUE(settings) << error;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(cli::RunLightingSet(rig.connection, rig.context, {}, *settings, out, err),
              cli::kExitOk)
        << err.str();

    out.str("");
    ASSERT_EQ(cli::RunLighting(rig.connection, rig.context, {}, out, err), cli::kExitOk)
        << err.str();
    const std::string shown = out.str();
    EXPECT_NE(shown.find("profile 1 (active)\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("effect       7 (Reactive)\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("speed        4\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("colour       FF8000\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("multicolour  off\n"), std::string::npos) << shown;
}

// Values no control can show are printed as the window takes them, and marked.
TEST(LightingCommand, ImpossibleValuesAreShownAsTheWindowTakesThemAndMarked) {
    struct Case {
        size_t field;
        uint8_t held;
        const char* line;
    };
    const Case cases[] = {
        {LightingField::Brightness, 9, "brightness   5 (out of range: the keyboard holds 9)\n"},
        {LightingField::Brightness, 3, "brightness   3\n"},
        {LightingField::Speed, 9, "speed        0 (out of range: the keyboard holds 9)\n"},
        {LightingField::Speed, 1, "speed        4\n"},
        {LightingField::Direction, 7, "direction    B (right) (out of range: the keyboard holds 7)\n"},
        {LightingField::OptionColour, 6, "option       red (out of range: the keyboard holds 6)\n"},
        {LightingField::ReportRate, 200, "rate         3 (out of range: the keyboard holds 200)\n"},
    };
    for (const Case& c : cases) {
        LightingCommandRig rig;
        ASSERT_TRUE(rig.connected);
        rig.keyboard.WithFirmware([&](sim::SimFirmware& firmware) {
            firmware.Memory().lighting[LightingField::Effect] = 1;
            firmware.Memory().lighting[c.field] = c.held;
        });
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(cli::RunLighting(rig.connection, rig.context, {}, out, err), cli::kExitOk)
            << err.str();
        EXPECT_NE(out.str().find("  " + std::string(c.line)), std::string::npos)
            << c.line << "\n" << out.str();
    }
}

// A refusal at any packet of `lighting set`: either it says it failed (status 1, nothing shown
// as written) or the keyboard holds exactly what a clean run leaves.
TEST(LightingCommand, ASetThatSucceedsLeftTheKeyboardAsAskedAtEveryRefusedPacket) {
    std::string error;
    const auto settings = cli::ParseLightingSettings(
        {"effect=7", "brightness=2", "speed=4", "colour=FF8000", "rate=1"}, error);
    ASSERT_TRUE(settings) << error;
    const auto run = [&](LightingCommandRig& rig, std::ostream& out, std::ostream& err) {
        return cli::RunLightingSet(rig.connection, rig.context, {}, *settings, out, err);
    };
    std::array<uint8_t, sim::kLightingAreaSize> wanted{};
    size_t packets = 0;
    {
        LightingCommandRig rig;
        ASSERT_TRUE(rig.connected);
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(run(rig, out, err), cli::kExitOk) << err.str();
        rig.keyboard.WithFirmware(
            [&](sim::SimFirmware& firmware) { wanted = firmware.Memory().lighting; });
        packets = rig.keyboard.ReceivedPackets().size();
    }
    for (size_t packet = 1; packet <= packets; ++packet) {
        LightingCommandRig rig;
        ASSERT_TRUE(rig.connected);
        rig.keyboard.RefusePacket(static_cast<int>(packet), kStatusRefusedFE);
        std::ostringstream out;
        std::ostringstream err;
        const int status = run(rig, out, err);
        std::array<uint8_t, sim::kLightingAreaSize> held{};
        rig.keyboard.WithFirmware(
            [&](sim::SimFirmware& firmware) { held = firmware.Memory().lighting; });
        if (status == cli::kExitOk) {
            EXPECT_EQ(held, wanted) << "packet " << packet;
        } else {
            EXPECT_EQ(status, cli::kExitFailed) << "packet " << packet;
            EXPECT_EQ(out.str(), "") << "packet " << packet;
            EXPECT_NE(err.str(), "") << "packet " << packet;
        }
    }
}

TEST(LightingCommand, AnEffectTheKeyboardLacksIsAUsageErrorAndWritesNothing) {
    LightingCommandRig rig;
    ASSERT_TRUE(rig.connected);
    std::string error;
    const auto settings = cli::ParseLightingSettings({"brightness=1", "effect=19"}, error);
    ASSERT_TRUE(settings) << error;
    rig.keyboard.ClearLog();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunLightingSet(rig.connection, rig.context, 1, *settings, out, err),
              cli::kExitUsage);
    EXPECT_NE(err.str().find("does not offer effect 19"), std::string::npos) << err.str();
    for (const Packet& packet : rig.keyboard.ReceivedPackets()) {
        EXPECT_NE(packet[PacketByte::Command], Command::WriteLighting);
    }
}

TEST(LightingCommand, BadValuesNameTheAllowedOnes) {
    struct Case {
        std::vector<std::string> args;
        const char* allowed;
    };
    const Case cases[] = {
        {{"lighting", "set", "brightness=6"}, "0 to 5"},
        {{"lighting", "set", "speed=-1"}, "0 to 5"},
        {{"lighting", "set", "rate=4"}, "0 to 3"},
        {{"lighting", "set", "direction=C"}, "A or B"},
        {{"lighting", "set", "colour=12345"}, "RRGGBB"},
        {{"lighting", "set", "multicolour=yes"}, "on or off"},
        {{"lighting", "set", "option=pink"}, "red, yellow, green or blue"},
        {{"lighting", "set", "glow=1"}, "fields: effect"},
        {{"lighting", "set"}, "at least one"},
        {{"lighting", "get"}, "'set'"},
    };
    for (const Case& c : cases) {
        const cli::ParsedCommandLine parsed = cli::ParseCommandLine(c.args);
        EXPECT_NE(parsed.error.find(c.allowed), std::string::npos)
            << c.args.back() << ": " << parsed.error;
    }
    const cli::ParsedCommandLine good = cli::ParseCommandLine(
        {"--profile", "3", "lighting", "set", "Direction=a", "colour=#00ff80", "option=Blue"});
    ASSERT_EQ(good.error, "");
    EXPECT_TRUE(good.options.lightingSet);
    EXPECT_EQ(good.options.profile, 2);
    EXPECT_EQ(good.options.lighting.direction, kDirectionFirst);
    EXPECT_EQ(good.options.lighting.colour, MakeColour(0x00, 0xFF, 0x80));
    EXPECT_EQ(good.options.lighting.option, 3);
}

}  // namespace
}  // namespace zarvin
