#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/NoLightingView.h"
#include "control/KeyColours.h"
#include "control/LightingCompanion.h"
#include "control/LightingState.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/HidDevice.h"
#include "model/KeyboardLayout.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/IniFile.h"
#include "store/UserLightingFiles.h"
#include "support/LinkRig.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

using namespace std::chrono_literals;
using sim::SimModel;

using test_support::kQuickTiming;
constexpr ColourValue kRed = MakeColour(255, 0, 0);
constexpr ColourValue kGreen = MakeColour(0, 255, 0);
constexpr ColourValue kBlue = MakeColour(0, 0, 255);
constexpr int kKeyI = 1051;      // colour index 50
constexpr int kKeyA = 1058;      // colour index 64
constexpr int kKeyG1 = 1000;
constexpr int kKeyG6 = 1140;

// Records what the key buttons show; the panel and the combo are not looked at here.
class FakeView : public cli::NoLightingView {
public:
    void ShowKeyColour(int controlId, ColourValue colour) override { outline[controlId] = colour; }
    void ClearKeyColour(int controlId) override { outline.erase(controlId); }
    void FillModeNames(const std::vector<std::string>& names) override { modeNames = names; }

    std::map<int, ColourValue> outline;
    std::vector<std::string> modeNames;
};

struct ColourWrite {
    int offset;
    int length;
    std::vector<uint8_t> data;
};

// The stand-in keyboard with the lighting state and the per-key colours on it; the user-mode
// files live in a temporary per-user folder.
struct KeyColourRig : test_support::LinkRig {
    explicit KeyColourRig(SimModel model = SimModel::Keyboard126)
        : LinkRig(model),
          lighting(link, view, companion, [](int code) { return std::to_string(code); },
                   folder / "data/duva.ini"),
          files(folder / "data", folder / "bin/Skins/UserDengColor_"),
          colours(link, lighting, image, files, view, view, view) {
        std::filesystem::create_directories(folder / "data");
        std::filesystem::create_directories(folder / "bin/Skins");
        EXPECT_TRUE(opened);
        image.SetModel(sim::InfoOf(model));
    }

    void SelectEffect(int code) {
        EXPECT_EQ(lighting.LoadLighting(), 0);
        lighting.RefreshLightingPanel();
        lighting.SelectEffect(lighting.PositionOfEffect(code));
        EXPECT_EQ(lighting.Effect(), code);
        keyboard.ClearLog();
    }

    std::vector<ColourWrite> ColourWrites() const {
        std::vector<ColourWrite> writes;
        for (const Packet& packet : keyboard.ReceivedPackets()) {
            if (packet[PacketByte::Command] == Command::WriteKeyColours) {
                const int length = packet[4];
                writes.push_back({packet[5] | packet[6] << 8, length,
                                  {packet.begin() + 8, packet.begin() + 8 + length}});
            }
        }
        return writes;
    }

    std::string Entry(int profile, int mode, int colourIndex) const {
        return ReadIniString(files.FileOf(profile), "Mode" + std::to_string(mode),
                             std::to_string(colourIndex), "");
    }

    test::TempFolder folder;
    DeviceImage image;
    FakeView view;
    LightingCompanion companion;
    LightingState lighting;
    UserLightingFiles files;
    KeyColours colours;
};

TEST(KeyColoursTest, PaintingWithTheOwnBrushWritesOneKeyAndItsEntry) {
    KeyColourRig rig;
    rig.lighting.SetCurrentProfile(1);
    rig.colours.LoadUserMode(1, false);
    rig.SelectEffect(kUserModeEffect);
    rig.colours.SelectTool(kOwnColourTool);
    rig.colours.SetBrushColour(kRed);

    rig.colours.PaintKey(kKeyI);

    EXPECT_EQ(rig.SentCommands(), (std::vector<uint8_t>{Command::BeginTransfer,
                                                    Command::WriteKeyColours, Command::EndTransfer}));
    const auto writes = rig.ColourWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].offset, 512 + 150);
    EXPECT_EQ(writes[0].length, 3);
    EXPECT_EQ(writes[0].data, (std::vector<uint8_t>{0xFF, 0x00, 0x00}));
    EXPECT_EQ(rig.Entry(1, 0, 50), "255,0,0,0");
    EXPECT_EQ(rig.colours.Table().Colour(1, 50), kRed);
    EXPECT_EQ(rig.view.outline.at(kKeyI), kRed);
    EXPECT_FALSE(rig.colours.FollowsBase(8, 1));  // I is key 8 of the pick list
}

TEST(KeyColoursTest, PaintingAGKeyWritesTheSharedIndexAndShowsOnlyThatButton) {
    KeyColourRig rig;
    rig.SelectEffect(kUserModeEffect);
    rig.colours.SelectTool(kBaseColourTool);
    rig.colours.SetBaseColour(kBlue);
    rig.keyboard.ClearLog();
    rig.view.outline.clear();

    rig.colours.PaintKey(kKeyG6);

    const auto writes = rig.ColourWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].offset, 3 * kGKeyColourIndex);
    EXPECT_EQ(rig.Entry(0, 0, kGKeyColourIndex), "0,0,255,1");
    EXPECT_EQ(rig.view.outline.count(kKeyG1), 0u);
    rig.colours.ShowKeyColours();
    EXPECT_EQ(rig.view.outline.at(kKeyG1), kBlue);
}

TEST(KeyColoursTest, KeyClicksPaintNothingUnderAnotherEffectOrAnUnknownTool) {
    KeyColourRig rig;
    rig.SelectEffect(4);
    rig.colours.PaintKey(kKeyA);
    rig.SelectEffect(kUserModeEffect);
    WriteIniString(rig.files.FileOf(0), "Mode0", "tool", std::string("7"));
    rig.colours.LoadUserMode(0, false);
    rig.keyboard.ClearLog();
    rig.colours.PaintKey(kKeyA);
    rig.colours.PaintKey(4242);

    EXPECT_TRUE(rig.keyboard.ReceivedPackets().empty());
    EXPECT_EQ(rig.Entry(0, 0, 64), "");
    EXPECT_TRUE(rig.view.outline.empty());
}

TEST(KeyColoursTest, BaseColourRecolorsTheKeysThatFollowIt) {
    KeyColourRig rig;
    rig.lighting.SetCurrentProfile(2);
    rig.colours.LoadUserMode(2, false);  // every key red, following the base colour
    rig.SelectEffect(kUserModeEffect);
    rig.colours.SetBrushColour(kBlue);
    rig.colours.PaintKey(kKeyA);
    rig.keyboard.ClearLog();

    rig.colours.SetBaseColour(kGreen);

    EXPECT_EQ(rig.colours.Table().Colour(2, 50), kGreen);
    EXPECT_EQ(rig.colours.Table().Colour(2, kFnColourIndex), kGreen);
    EXPECT_EQ(rig.colours.Table().Colour(2, 64), kBlue);
    EXPECT_EQ(rig.view.outline.at(kKeyI), kGreen);
    EXPECT_EQ(rig.view.outline.at(kKeyA), kBlue);
    EXPECT_EQ(rig.Entry(2, 0, 50), "0,255,0,1");
    EXPECT_EQ(rig.Entry(2, 0, 64), "0,0,255,0");
    EXPECT_EQ(ReadIniString(rig.files.FileOf(2), "Mode0", "jcolor", ""), "0,255,0");
    const auto writes = rig.ColourWrites();
    ASSERT_EQ(writes.size(), 8u);
    EXPECT_EQ(writes[0].offset, 1024);
    EXPECT_EQ(writes[2].data[150 - 108], 0x00);   // index 50: green in the third write
    EXPECT_EQ(writes[2].data[150 - 108 + 1], 0xFF);
    EXPECT_EQ(writes[3].data[192 - 162 + 2], 0xFF);  // index 64: blue in the fourth

    rig.keyboard.ClearLog();
    const std::string file = rig.folder.Read("data/UserDengColor_2.userd");
    rig.colours.SetBaseColour(kGreen);
    EXPECT_TRUE(rig.keyboard.ReceivedPackets().empty());
    EXPECT_EQ(rig.folder.Read("data/UserDengColor_2.userd"), file);
}

TEST(KeyColoursTest, TheBrushPaintsWithTheColourPickedLast) {
    KeyColourRig rig;
    rig.SelectEffect(kUserModeEffect);
    rig.colours.SelectTool(kOwnColourTool);
    rig.colours.SetBrushColour(kBlue);
    rig.colours.SetBaseColour(kGreen);

    rig.colours.PaintKey(kKeyA);

    EXPECT_EQ(rig.view.outline.at(kKeyA), kGreen);
    EXPECT_EQ(rig.Entry(0, 0, 64), "0,255,0,0");  // its own colour, not following the base
}

TEST(KeyColoursTest, SendKeyColoursWritesEightBlocksOfEighteenKeys) {
    for (const SimModel model : {SimModel::Keyboard126, SimModel::Keyboard128}) {
        KeyColourRig rig(model);
        rig.lighting.SetCurrentProfile(1);
        rig.colours.LoadUserMode(1, false);
        rig.keyboard.ClearLog();

        EXPECT_EQ(rig.colours.SendKeyColours(1), CommandResult::Success);

        const auto commands = rig.SentCommands();
        ASSERT_EQ(commands.size(), 10u);
        EXPECT_EQ(commands.front(), Command::BeginTransfer);
        EXPECT_EQ(commands.back(), Command::EndTransfer);
        const auto writes = rig.ColourWrites();
        ASSERT_EQ(writes.size(), 8u);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(writes[static_cast<size_t>(i)].offset, 512 + 3 * 18 * i);
            EXPECT_EQ(writes[static_cast<size_t>(i)].length, 54);
        }
        // Esc (index 0) was read as the default red; index 13 belongs to no key.
        EXPECT_EQ(writes[0].data[0], 0xFF);
        EXPECT_EQ(writes[0].data[3 * 13], 0x00);
    }
}

TEST(KeyColoursTest, LoadUserModeTakesThePresentModeFromTheFile) {
    KeyColourRig rig;
    const auto file = rig.files.FileOf(0);
    WriteIniString(file, "PRESENTMODE", "mode", std::string("4"));
    WriteIniString(file, "Mode4", "tool", std::string("1"));
    WriteIniString(file, "Mode4", "jcolor", std::string("1,2,3"));
    WriteIniString(file, "Mode4", "64", std::string("9,8,7,0"));
    WriteIniString(file, "Mode4", "110", std::string("5,5,5,1"));
    WriteIniString(file, "Mode4", "125", std::string("6,6,6,0"));

    rig.colours.LoadUserMode(0, true);

    EXPECT_EQ(rig.colours.CurrentMode(), 4);
    EXPECT_EQ(rig.colours.Tool(), kBaseColourTool);
    EXPECT_EQ(rig.colours.BaseColour(), MakeColour(1, 2, 3));
    EXPECT_EQ(rig.colours.Table().Colour(0, 64), MakeColour(9, 8, 7));
    EXPECT_FALSE(rig.colours.FollowsBase(0, 0));  // A
    EXPECT_EQ(rig.colours.Table().Colour(0, kFnColourIndex), MakeColour(5, 5, 5));
    EXPECT_EQ(rig.colours.Table().Colour(0, kGKeyColourIndex), 0u);  // G keys are not read
    EXPECT_EQ(rig.ColourWrites().size(), 8u);
}

// The keyboard's own profile key (event 0x0402) reloads the modes from the user's files: what
// was painted and named stays; only a profile without a file gets the factory modes.
TEST(KeyColoursTest, TheKeyboardsProfileKeyKeepsThePaintedModes) {
    KeyColourRig rig;
    rig.folder.Write("bin/Skins/UserDengColor_3.userd", "[MODENAME]\n0=Factory\n");
    for (const int profile : {0, 1}) {
        const auto file = rig.files.FileOf(profile);
        WriteIniString(file, "MODENAME", "0", std::string("Mine"));
        WriteIniString(file, "Mode0", "50", std::string("1,2,3,0"));
    }
    const std::string painted = rig.folder.Read("data/UserDengColor_1.userd");
    rig.SelectEffect(20);
    ASSERT_TRUE(rig.lighting.OffersUserModes());
    rig.keyboard.ChangeProfileOnKeyboard(1);

    rig.colours.ResetUserModes([] { return true; }, [] {});

    EXPECT_EQ(rig.folder.Read("data/UserDengColor_1.userd"), painted);
    EXPECT_EQ(rig.files.ReadModeName(0, 0), "Mine");
    for (const int profile : {0, 1}) {
        EXPECT_EQ(rig.colours.Table().Colour(profile, 50), MakeColour(1, 2, 3)) << profile;
    }
    EXPECT_EQ(rig.files.ReadModeName(2, 0), "Factory");
    EXPECT_EQ(rig.view.modeNames.front(), "Mine");
    EXPECT_EQ(rig.lighting.CurrentProfile(), 1);
}

TEST(KeyColoursTest, ClearAndShowCoverEveryKeyButton) {
    KeyColourRig rig;
    rig.colours.LoadUserMode(0, false);
    rig.colours.ShowKeyColours();
    EXPECT_EQ(rig.view.outline.size(), static_cast<size_t>(kKeyButtonCount));
    rig.colours.ClearKeyColours();
    EXPECT_TRUE(rig.view.outline.empty());
}

// The template the build puts beside the programs.
TEST(KeyColoursTest, ShippedTemplateHoldsTenNamedModesForEveryKey) {
    const std::filesystem::path shipped = ZARVIN_USER_MODE_TEMPLATE;
    ASSERT_TRUE(std::filesystem::exists(shipped));
    KeyColourRig rig;
    std::filesystem::copy_file(shipped, rig.files.TemplateFile());
    rig.files.RestoreFromTemplate(1);

    std::vector<std::string> names;
    for (int mode = 0; mode < kUserModeCount; ++mode) {
        names.push_back(rig.files.ReadModeName(1, mode));
        EXPECT_NE(names.back(), "0");
        const auto keys = ReadIniKeys(rig.files.FileOf(1), "Mode" + std::to_string(mode));
        for (const KeyButton& button : KeyButtons()) {
            EXPECT_NE(std::find(keys.begin(), keys.end(), std::to_string(button.colourIndex)),
                      keys.end())
                << "mode " << mode << " lacks " << button.legend;
        }
    }
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 10u);

    // Loading one gives its colours, not the defaults: mode 6 has Esc red and F1 cyan.
    rig.lighting.SetCurrentProfile(1);
    rig.colours.SelectUserMode(6);
    EXPECT_EQ(rig.colours.Table().Colour(1, 0), kRed);
    EXPECT_EQ(rig.colours.Table().Colour(1, 1), MakeColour(0, 200, 255));
    EXPECT_EQ(rig.files.ReadPresentMode(1), 6);
}

TEST(KeyColoursTest, UserModeCommandSendsTheModeOfTheChosenProfile) {
    test::TempFolder folder;
    std::filesystem::create_directories(folder / "bin/Skins");
    std::filesystem::copy_file(ZARVIN_USER_MODE_TEMPLATE, folder / "bin/Skins/UserDengColor_3.userd");
    const AppContext context(
        AppRoots{folder / "bin/zarvinctl", folder / "data", folder / "config", folder / "run"});
    sim::SimKeyboard keyboard;
    cli::KeyboardConnection connection(keyboard, kQuickTiming);
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    keyboard.ClearLog();
    std::ostringstream out;
    std::ostringstream err;

    EXPECT_EQ(cli::RunUserMode(connection, context, 2, 3, out, err), cli::kExitOk) << err.str();

    EXPECT_EQ(out.str(), "profile 3: user mode 3 (Rainbow wave) sent\n");
    EXPECT_EQ(ReadIniString(context.userDataFolder / "UserDengColor_2.userd", "PRESENTMODE",
                            "mode", ""),
              "3");
    int writes = 0;
    for (const Packet& packet : keyboard.ReceivedPackets()) {
        if (packet[PacketByte::Command] == Command::WriteKeyColours) {
            EXPECT_EQ(packet[5] | packet[6] << 8, 1024 + 54 * writes++);
        }
    }
    EXPECT_EQ(writes, 8);
}

// A mode that cannot be stored in the profile's file is not sent: the keyboard, the table and
// the combo keep the mode that is stored, and the command line says why with status 1.
TEST(KeyColoursTest, AUserModeThatCannotBeStoredIsNotSent) {
    KeyColourRig rig;
    rig.lighting.SetCurrentProfile(1);
    WriteIniString(rig.files.FileOf(1), "Mode0", "50", std::string("1,2,3,0"));
    rig.colours.LoadUserMode(1, false);
    // A folder in the file's place cannot be written, even by root.
    std::filesystem::remove(rig.files.FileOf(1));
    std::filesystem::create_directories(rig.files.FileOf(1));
    rig.keyboard.ClearLog();

    EXPECT_FALSE(rig.colours.SelectUserMode(3));
    EXPECT_EQ(rig.colours.CurrentMode(), 0);
    EXPECT_TRUE(rig.ColourWrites().empty());
    EXPECT_EQ(rig.colours.Table().Colour(1, 50), MakeColour(1, 2, 3));

    test::TempFolder folder;
    std::filesystem::create_directories(folder / "bin/Skins");
    std::filesystem::copy_file(ZARVIN_USER_MODE_TEMPLATE, folder / "bin/Skins/UserDengColor_3.userd");
    const AppContext context(
        AppRoots{folder / "bin/zarvinctl", folder / "data", folder / "config", folder / "run"});
    std::filesystem::create_directories(context.userDataFolder / "UserDengColor_2.userd");
    sim::SimKeyboard keyboard;
    cli::KeyboardConnection connection(keyboard, kQuickTiming);
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    keyboard.ClearLog();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunUserMode(connection, context, 2, 3, out, err), cli::kExitFailed);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "cannot keep user mode 3 in " +
                             (context.userDataFolder / "UserDengColor_2.userd").string() +
                             ": it is a folder, not a file; nothing was sent to the keyboard\n");
    for (const Packet& packet : keyboard.ReceivedPackets()) {
        EXPECT_NE(packet[PacketByte::Command], Command::WriteKeyColours);
    }
}

TEST(KeyColoursTest, UserModeArgumentOutsideTheRangeIsAUsageError) {
    for (const char* mode : {"10", "-1", "x", "3a"}) {
        const auto parsed = cli::ParseCommandLine({"usermode", mode});
        EXPECT_NE(parsed.error.find("numbered 0 to 9"), std::string::npos) << mode;
    }
    const auto parsed = cli::ParseCommandLine({"--profile", "1", "usermode", "9"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.userMode, 9);
}

}  // namespace
}  // namespace zarvin
