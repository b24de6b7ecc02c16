// zarvinctl colours: key colours painted from the shell, read back from the user-mode file and
// found in the stand-in keyboard's memory.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "device/CommandProtocol.h"
#include "model/KeyboardLayout.h"
#include "platform/WholeFile.h"
#include "sim/SimFirmware.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/IniFile.h"
#include "support/TempFolder.h"

namespace zarvin::cli {
namespace {

constexpr int kF1 = 0x03B;
constexpr int kEsc = 0x001;

const KeyButton& ButtonOf(KeyCode code) {
    for (const KeyButton& button : KeyButtons()) {
        if (button.kind == KeyButtonKind::Key && button.keyCode == code) {
            return button;
        }
    }
    throw std::logic_error("no such button");
}

TEST(ColoursCommandLine, TakesKeysWithColoursOrOneColourForAll) {
    const ParsedCommandLine keys =
        ParseCommandLine({"--profile", "2", "colours", "F1=ff0000", "esc=#00FF00", "fn=0000ff"});
    ASSERT_EQ(keys.error, "");
    ASSERT_EQ(keys.options.keyColours.size(), 3u);
    EXPECT_EQ(keys.options.keyColours[0].controlId, ButtonOf(kF1).controlId);
    EXPECT_EQ(keys.options.keyColours[0].colour, MakeColour(255, 0, 0));
    EXPECT_EQ(keys.options.keyColours[1].controlId, ButtonOf(kEsc).controlId);
    EXPECT_EQ(keys.options.keyColours[1].colour, MakeColour(0, 255, 0));
    EXPECT_EQ(keys.options.keyColours[2].controlId, kFnControlId);

    const ParsedCommandLine all = ParseCommandLine({"colours", "--mode", "4", "--all", "102030"});
    ASSERT_EQ(all.error, "");
    EXPECT_EQ(all.options.colourMode, 4);
    EXPECT_EQ(all.options.keyColours.size(), KeyButtons().size());

    const ParsedCommandLine print = ParseCommandLine({"colours", "--mode=9"});
    ASSERT_EQ(print.error, "");
    EXPECT_TRUE(print.options.keyColours.empty());
}

TEST(ColoursCommandLine, BadKeysAndColoursAreRefusedBeforeTheKeyboardIsOpened) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"colours", "Nope=ff0000"}, "unknown key 'Nope'"},
        {{"colours", "F1=red"}, "'red' is not a colour; a colour is six hexadecimal digits RRGGBB (for F1)"},
        {{"colours", "F1=ff00001"}, "'ff00001' is not a colour"},
        {{"colours", "F1"}, "'F1': give a key and its colour as KEY=RRGGBB"},
        {{"colours", "MouseLeft=ff0000"}, "'MouseLeft' has no light of its own on the keyboard"},
        {{"colours", "--all"}, "usage: zarvinctl colours --all RRGGBB"},
        {{"colours", "--all", "ff0000", "F1=ff0000"}, "usage: zarvinctl colours --all RRGGBB"},
        {{"colours", "--all", "#ff00"}, "'#ff00' is not a colour"},
        {{"colours", "--mode", "10"}, "'10' is not a user mode; the user modes are numbered 0 to 9"},
        {{"colours", "--mode"}, "'--mode' needs a user mode, 0 to 9"},
        {{"--mode", "1", "keys"}, "'--mode' goes with colours only"},
    };
    for (const auto& [args, error] : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(args);
        EXPECT_EQ(parsed.error.substr(0, error.size()), error) << args.back();
        EXPECT_TRUE(parsed.options.keyColours.empty()) << args.back();
    }
}

// The stand-in keyboard, the shipped user-mode template beside the "program" and a per-user
// folder of its own.
struct ColoursRig {
    ColoursRig()
        : connection(keyboard),
          context(AppRoots{folder / "bin/zarvinctl", folder / "data", folder / "config",
                           folder / "run"}) {
        std::filesystem::create_directories(folder / "bin/Skins");
        std::filesystem::copy_file(ZARVIN_USER_MODE_TEMPLATE,
                                   folder / "bin/Skins/UserDengColor_3.userd");
        std::string error;
        connected = connection.Connect(error);
    }

    int Colours(const std::vector<std::string>& args, OutputForm form = OutputForm::Text) {
        std::vector<std::string> words{"colours"};
        words.insert(words.end(), args.begin(), args.end());
        const ParsedCommandLine parsed = ParseCommandLine(words);
        EXPECT_EQ(parsed.error, "");
        out.str("");
        err.str("");
        return RunColours(connection, context, parsed.options.profile, parsed.options.colourMode,
                          parsed.options.keyColours, out, err, form);
    }

    // The colour the keyboard holds for a colour index of a profile.
    std::vector<uint8_t> KeyboardColour(int profile, int colourIndex) {
        std::vector<uint8_t> rgb;
        keyboard.WithFirmware([&](sim::SimFirmware& firmware) {
            const auto& area = firmware.Memory().keyColours;
            const size_t at = kKeyColourProfileStride * static_cast<size_t>(profile) +
                              3 * static_cast<size_t>(colourIndex);
            rgb.assign(area.begin() + static_cast<long>(at), area.begin() + static_cast<long>(at) + 3);
        });
        return rgb;
    }

    std::string FileEntry(int profile, const std::string& section, const std::string& key) {
        return ReadIniString(context.userDataFolder /
                                 ("UserDengColor_" + std::to_string(profile) + ".userd"),
                             section, key, "");
    }

    test::TempFolder folder;
    sim::SimKeyboard keyboard;
    KeyboardConnection connection;
    AppContext context;
    bool connected = false;
    std::ostringstream out;
    std::ostringstream err;
};

TEST(ColoursCommand, KeysSetAreInTheFileOnTheKeyboardAndReadBack) {
    ColoursRig rig;
    ASSERT_TRUE(rig.connected);
    ASSERT_EQ(rig.Colours({"--profile", "2", "F1=ff8000", "Esc=00ff00"}), kExitOk) << rig.err.str();
    EXPECT_EQ(rig.out.str(), "profile 2, user mode 0 (All white): 2 key colours sent\n");

    const int f1 = ButtonOf(kF1).colourIndex;
    const int esc = ButtonOf(kEsc).colourIndex;
    EXPECT_EQ(rig.FileEntry(1, "Mode0", std::to_string(f1)), "255,128,0,0");
    EXPECT_EQ(rig.FileEntry(1, "Mode0", std::to_string(esc)), "0,255,0,0");
    EXPECT_EQ(rig.KeyboardColour(1, f1), (std::vector<uint8_t>{0xFF, 0x80, 0x00}));
    EXPECT_EQ(rig.KeyboardColour(1, esc), (std::vector<uint8_t>{0x00, 0xFF, 0x00}));
    // The other keys are sent as the mode has them: All white.
    EXPECT_EQ(rig.KeyboardColour(1, ButtonOf(0x01E).colourIndex),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF}));

    ASSERT_EQ(rig.Colours({"--profile", "2"}), kExitOk) << rig.err.str();
    const std::string text = rig.out.str();
    EXPECT_EQ(text.substr(0, text.find('\n')), "profile 2, user mode 0 (All white)");
    EXPECT_NE(text.find("\n  F1=ff8000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n  Esc=00ff00\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n  A=ffffff\n"), std::string::npos) << text;

    ASSERT_EQ(rig.Colours({"--profile", "2"}, OutputForm::Json), kExitOk);
    const nlohmann::json read = nlohmann::json::parse(rig.out.str());
    EXPECT_EQ(read["profile"], 2);
    EXPECT_EQ(read["mode"], 0);
    ASSERT_EQ(read["keys"].size(), KeyButtons().size());
    bool foundF1 = false;
    for (const nlohmann::json& key : read["keys"]) {
        if (key["key"].value("code", 0) == kF1) {
            foundF1 = true;
            EXPECT_EQ(key["colour"], "ff8000");
            EXPECT_EQ(key["followsBase"], false);
        }
    }
    EXPECT_TRUE(foundF1);
}

TEST(ColoursCommand, AllKeysOfAnotherModeMakeItThePresentOne) {
    ColoursRig rig;
    ASSERT_TRUE(rig.connected);
    ASSERT_EQ(rig.Colours({"--mode", "4", "--all", "102030"}, OutputForm::Json), kExitOk)
        << rig.err.str();
    const nlohmann::json sent = nlohmann::json::parse(rig.out.str());
    EXPECT_EQ(sent["profile"], 1);
    EXPECT_EQ(sent["mode"], 4);
    EXPECT_EQ(sent["keys"].size(), KeyButtons().size());

    EXPECT_EQ(rig.FileEntry(0, "PRESENTMODE", "mode"), "4");
    for (const KeyButton& button : KeyButtons()) {
        EXPECT_EQ(rig.FileEntry(0, "Mode4", std::to_string(button.colourIndex)), "16,32,48,0")
            << button.legend;
        EXPECT_EQ(rig.KeyboardColour(0, button.colourIndex),
                  (std::vector<uint8_t>{0x10, 0x20, 0x30}))
            << button.legend;
    }
    // Printing another mode leaves the present one as it is.
    ASSERT_EQ(rig.Colours({"--mode", "0"}), kExitOk);
    EXPECT_EQ(rig.FileEntry(0, "PRESENTMODE", "mode"), "4");
}

TEST(ColoursCommand, ColoursTheFileCannotKeepAreNotSent) {
    ColoursRig rig;
    ASSERT_TRUE(rig.connected);
    // A folder in the file's place cannot be written, even by root.
    const std::filesystem::path file = rig.context.userDataFolder / "UserDengColor_0.userd";
    std::filesystem::create_directories(file);
    rig.keyboard.ClearLog();

    EXPECT_EQ(rig.Colours({"F1=ff0000"}), kExitFailed);
    EXPECT_EQ(rig.out.str(), "");
    EXPECT_EQ(rig.err.str(), "cannot keep the key colours in " + file.string() +
                                 ": it is a folder, not a file; nothing was sent to the keyboard\n");
    for (const Packet& packet : rig.keyboard.ReceivedPackets()) {
        EXPECT_NE(packet[PacketByte::Command], Command::WriteKeyColours);
    }
}

// A file past the size of any settings file is never read as the defaults nor replaced: each
// command says so and leaves it, and nothing is sent.
TEST(ColoursCommand, AFileTooLargeToBeASettingsFileIsNamedAndLeftAsItIs) {
    ColoursRig rig;
    ASSERT_TRUE(rig.connected);
    const std::filesystem::path file = rig.context.userDataFolder / "UserDengColor_0.userd";
    std::filesystem::create_directories(file.parent_path());
    const std::string written = "[PRESENTMODE]\nmode=4\n";
    { std::ofstream(file) << written; }
    std::filesystem::resize_file(file, kMaxSettingsFileBytes + 1);
    rig.keyboard.ClearLog();
    const std::string tooLarge =
        "it is larger than " + std::to_string(kMaxSettingsFileBytes) + " bytes";

    EXPECT_EQ(rig.Colours({}), kExitFailed);
    EXPECT_EQ(rig.out.str(), "");
    EXPECT_EQ(rig.err.str(), "cannot read the user modes in " + file.string() + ": " + tooLarge +
                                 "; the file is left as it is\n");
    EXPECT_EQ(rig.Colours({"F1=ff0000"}), kExitFailed);
    EXPECT_EQ(rig.err.str(), "cannot keep the key colours in " + file.string() + ": " + tooLarge +
                                 "; nothing was sent to the keyboard\n");

    EXPECT_EQ(std::filesystem::file_size(file), kMaxSettingsFileBytes + 1);
    std::string start(written.size(), '\0');
    std::ifstream(file).read(start.data(), static_cast<std::streamsize>(start.size()));
    EXPECT_EQ(start, written);
    for (const Packet& packet : rig.keyboard.ReceivedPackets()) {
        EXPECT_NE(packet[PacketByte::Command], Command::WriteKeyColours);
    }
}

}  // namespace
}  // namespace zarvin::cli
