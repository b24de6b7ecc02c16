// zarvinctl macro: the action words, the command line, and macros changed on the stand-in
// keyboard as the window's macro page and Apply change them.

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/LanguageMessages.h"
#include "cli/MacroActions.h"
#include "device/CommandProtocol.h"
#include "model/MacroRecord.h"
#include "model/Utf16Text.h"
#include "sim/SimFirmware.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/LanguageChoice.h"
#include "store/LanguageTables.h"
#include "store/ProfileStore.h"
#include "support/TempFolder.h"
#include "support/ZarvinctlContext.h"

namespace zarvin::cli {
namespace {

constexpr uint16_t kLeftCtrl = 0x01D;
constexpr uint16_t kC = 0x02E;
constexpr uint16_t kF5 = 0x03F;

std::vector<MacroAction> Parse(const std::vector<std::string>& words, std::string& error) {
    error.clear();
    return ParseMacroActions(words, error).value_or(std::vector<MacroAction>{});
}

TEST(MacroActions, ReadsPressesReleasesBothAndDelays) {
    const MacroAction ctrlDown{.delay = 0, .key = kLeftCtrl, .state = MacroAction::kPress};
    const MacroAction ctrlUp{.delay = 0, .key = kLeftCtrl, .state = MacroAction::kRelease};
    struct Case {
        std::vector<std::string> words;
        std::vector<MacroAction> actions;
    };
    const Case cases[] = {
        {{"LeftCtrl:down", "c:DOWN", "50ms", "C:up", "leftctrl:up"},
         {ctrlDown, {50, kC, MacroAction::kPress}, {0, kC, MacroAction::kRelease}, ctrlUp}},
        // A bare key is a press and a release; the delay follows the release.
        {{"C", "120ms", "LeftCtrl"}, {{0, kC, 0}, {120, kC, 1}, ctrlDown, ctrlUp}},
        // Delays are kept in steps of 10 ms, rounded down, as the macro page keeps them.
        {{"C:down", "59ms", "C:up", "40000MS"}, {{50, kC, 0}, {40000, kC, 1}}},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(Parse(c.words, error), c.actions) << c.words.front() << ": " << error;
    }
}

TEST(MacroActions, RefusesWhatTheMacroPageWouldNotHold) {
    struct Case {
        std::vector<std::string> words;
        std::string error;
    };
    const std::vector<std::string> tooMany(2001, "A");
    const Case cases[] = {
        {{"Nope:down"}, "unknown key 'Nope'"},
        {{"C:sideways"}, "'C:sideways': after the key comes :down or :up"},
        {{"50ms", "C"}, "'50ms' comes before any key"},
        {{"C", "40001ms"}, "'40001ms' is no delay; a delay is 0 to 40000 ms"},
        {{"C", "-50ms"}, "'-50ms' is no delay"},
        {{"C", "99999999999999999999999ms"}, "is no delay"},
        {{}, "a macro needs at least one action"},
        {tooMany, "a macro holds at most 4000 actions"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseMacroActions(c.words, error)) << error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(MacroActions, ShownFormReadsBackToTheSameActions) {
    const std::vector<MacroAction> actions{{10, kLeftCtrl, 0}, {0, 0x02F, 0}, {1230, 0x02F, 1},
                                           {0, kLeftCtrl, 1}, {0, 0x052, 0}, {0, 0x052, 1}};
    LanguageTextCache texts(std::filesystem::path(ZARVIN_SOURCE_LANGUAGE_FILE).parent_path());
    const std::string text = FormatMacroActions(actions, texts.Lookup());
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    std::string error;
    EXPECT_EQ(Parse(words, error), actions) << text << ": " << error;
}

TEST(MacroCommandLine, TakesEachActionWithItsArguments) {
    const ParsedCommandLine add =
        ParseCommandLine({"macro", "add", "My Copy", "LeftCtrl:down", "C", "LeftCtrl:up"});
    EXPECT_EQ(add.error, "");
    EXPECT_EQ(add.options.macro.action, "add");
    EXPECT_EQ(add.options.macro.name, "My Copy");
    EXPECT_EQ(add.options.macro.actions.size(), 4u);
    const ParsedCommandLine cycles = ParseCommandLine({"macro", "cycles", "Copy", "255"});
    EXPECT_EQ(cycles.error, "");
    EXPECT_EQ(cycles.options.macro.cycles, 255);

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"macro"}, "'macro' takes at least one argument"},
        {{"macro", "play", "Copy"}, "'macro' takes list, show, add, delete, rename or cycles"},
        {{"macro", "list", "Copy"}, "usage: zarvinctl macro list"},
        {{"macro", "add", "Copy"}, "usage: zarvinctl macro add NAME ACTION..."},
        {{"macro", "rename", "Copy"}, "usage: zarvinctl macro rename OLD NEW"},
        {{"macro", "cycles", "Copy", "0"}, "'0' is not a cycle count; a macro plays 1 to 255 cycles"},
        {{"macro", "cycles", "Copy", "256"}, "'256' is not a cycle count"},
        {{"macro", "add", "Copy", "C", "5x"}, "unknown key '5x'"},
    };
    for (const auto& [args, error] : refused) {
        EXPECT_EQ(ParseCommandLine(args).error.substr(0, error.size()), error) << args.back();
    }
}

// The stand-in keyboard with per-user folders of its own.
struct MacroRig {
    MacroRig()
        : connection(keyboard),
          context(test::ZarvinctlContextIn(folder)) {
        std::string error;
        connected = connection.Connect(error);
    }

    // Runs "macro ..." as the command line gives it.
    int Macro(const std::vector<std::string>& args, OutputForm form = OutputForm::Text) {
        std::vector<std::string> words{"macro"};
        words.insert(words.end(), args.begin(), args.end());
        const ParsedCommandLine parsed = ParseCommandLine(words);
        EXPECT_EQ(parsed.error, "");
        out.str("");
        err.str("");
        return RunMacro(connection, context, parsed.options.macro, out, err, form);
    }

    sim::SimMemory Memory() {
        sim::SimMemory memory;
        keyboard.WithFirmware([&](sim::SimFirmware& firmware) { memory = firmware.Memory(); });
        return memory;
    }

    bool KeyboardWasWritten() const {
        for (const Packet& packet : keyboard.ReceivedPackets()) {
            const uint8_t command = packet[PacketByte::Command];
            if (command == Command::WriteKeyMap || command == Command::WriteMacroArea) {
                return true;
            }
        }
        return false;
    }

    test::TempFolder folder;
    sim::SimKeyboard keyboard;
    KeyboardConnection connection;
    AppContext context;
    bool connected = false;
    std::ostringstream out;
    std::ostringstream err;
};

// The key-map position whose factory entry is `entry`.
size_t PositionOf(const std::vector<uint8_t>& keyMap, std::array<uint8_t, 3> entry) {
    for (size_t at = 0; at + 3 <= keyMap.size(); at += 3) {
        if (std::equal(entry.begin(), entry.end(), keyMap.begin() + static_cast<long>(at))) {
            return at / 3;
        }
    }
    ADD_FAILURE() << "no such entry";
    return 0;
}

TEST(MacroCommand, AMacroAddedFromTheShellIsPlayedByTheKeyRemappedToIt) {
    MacroRig rig;
    ASSERT_TRUE(rig.connected);
    const size_t f5 = PositionOf(rig.Memory().keyMaps, {0x02, 0x02, 0x3E});
    ASSERT_EQ(rig.Macro({"add", "Copy", "LeftCtrl:down", "C:down", "50ms", "C:up", "LeftCtrl:up"}),
              kExitOk)
        << rig.err.str();
    EXPECT_EQ(rig.out.str(), "Copy: 1 cycle\n  LeftCtrl:down C:down 50ms C:up LeftCtrl:up\n");
    std::ostringstream out;
    std::ostringstream err;
    const RemapTarget macro{.type = AssignmentType::PlayMacro, .value = 0, .macroName = "copy"};
    ASSERT_EQ(RunRemap(rig.connection, rig.context, {}, kF5, macro, out, err), kExitOk) << err.str();

    const sim::SimMemory memory = rig.Memory();
    // The macro area as the window's Apply writes it: header, one offset, then the block.
    const std::vector<uint8_t> area{
        0xAA, 0x55, 0x2E, 0x00, 0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,  // header
        0x12, 0x00,                                                            // offset 18
        0x04, 0x00, 0x01, 0x04,  // 4 actions, 1 cycle, a name of 4 units
        0x00, 0xA0, 0x01, 0x01,  // press, modifier entry, Left Ctrl's bit
        0x05, 0xA0, 0x02, 0x06,  // press after which 50 ms pass, key entry, usage of C
        0x00, 0x20, 0x02, 0x06,  // release of C
        0x00, 0x20, 0x01, 0x01,  // release of Left Ctrl
        'C', 0, 'o', 0, 'p', 0, 'y', 0};
    ASSERT_GE(memory.macroArea.size(), area.size());
    EXPECT_EQ(std::vector<uint8_t>(memory.macroArea.begin(),
                                   memory.macroArea.begin() + static_cast<long>(area.size())),
              area);
    // F5 of the active profile plays the macro at position 0 of the area.
    const std::vector<uint8_t> entry(memory.keyMaps.begin() + static_cast<long>(3 * f5),
                                     memory.keyMaps.begin() + static_cast<long>(3 * f5 + 3));
    EXPECT_EQ(entry, (std::vector<uint8_t>{0x05, 0x01, 0x00}));
}

TEST(MacroCommand, ShowsListsRenamesAndSetsCyclesThroughTheKeyboard) {
    MacroRig rig;
    ASSERT_TRUE(rig.connected);
    ASSERT_EQ(rig.Macro({"add", "Copy", "LeftCtrl:down", "C", "LeftCtrl:up"}), kExitOk);
    ASSERT_EQ(rig.Macro({"add", "Paste", "V"}), kExitOk);
    ASSERT_EQ(rig.Macro({"rename", "copy", "Copy all"}), kExitOk) << rig.err.str();
    ASSERT_EQ(rig.Macro({"cycles", "Copy all", "3"}), kExitOk) << rig.err.str();
    EXPECT_EQ(rig.out.str(), "Copy all: 3 cycles\n  LeftCtrl:down C:down C:up LeftCtrl:up\n");

    ASSERT_EQ(rig.Macro({"show", "Copy all"}, OutputForm::Json), kExitOk);
    const nlohmann::json shown = nlohmann::json::parse(rig.out.str());
    EXPECT_EQ(shown["id"], 1);
    EXPECT_EQ(shown["cycles"], 3);
    ASSERT_EQ(shown["actions"].size(), 4u);
    EXPECT_EQ(shown["actions"][1], nlohmann::json::parse(
                                       R"({"key": {"name": "C", "code": 46}, "state": "down",
                                           "delay": 0})"));
    ASSERT_EQ(rig.Macro({"list"}, OutputForm::Json), kExitOk);
    const nlohmann::json list = nlohmann::json::parse(rig.out.str());
    ASSERT_EQ(list["macros"].size(), 2u);
    EXPECT_EQ(list["macros"][1]["name"], "Paste");

    // In another language the words change, but the actions keep the form they are typed in.
    SetCommandLineLanguage(*LanguageIndexOfName("de"));
    EXPECT_EQ(rig.Macro({"show", "Copy all"}), kExitOk);
    SetCommandLineLanguage(kEnglishLanguageIndex);
    EXPECT_EQ(rig.out.str(),
              "Copy all: 3 Wiederholungen\n  LeftCtrl:down C:down C:up LeftCtrl:up\n");

    ASSERT_EQ(rig.Macro({"delete", "Paste"}), kExitOk);
    EXPECT_EQ(rig.out.str(), "The macro 'Paste' is deleted.\n");
    // The keyboard's area holds one macro now.
    EXPECT_EQ(rig.Memory().macroArea[4], 1);
}

TEST(MacroCommand, DeletingAMacroKeepsKeysOfEveryProfileOnTheirMacros) {
    MacroRig rig;
    ASSERT_TRUE(rig.connected);
    const std::vector<uint8_t> factory = rig.Memory().keyMaps;
    const size_t f5 = PositionOf(factory, {0x02, 0x02, 0x3E});
    const size_t blockLength = factory.size() / 3;
    ASSERT_EQ(rig.Macro({"add", "Copy", "C"}), kExitOk);
    ASSERT_EQ(rig.Macro({"add", "Paste", "V"}), kExitOk);
    std::ostringstream out;
    std::ostringstream err;
    // F5 of the second profile, which is not the active one, plays the macro at place 1.
    const RemapTarget paste{.type = AssignmentType::PlayMacro, .value = 0, .macroName = "Paste"};
    ASSERT_EQ(RunRemap(rig.connection, rig.context, 1, kF5, paste, out, err), kExitOk) << err.str();
    ASSERT_EQ(rig.Memory().keyMaps[blockLength + 3 * f5 + 2], 1);

    ASSERT_EQ(rig.Macro({"delete", "Copy"}), kExitOk) << rig.err.str();
    // Paste moved to place 0 of the area; the second profile's key map follows it.
    const std::vector<uint8_t> keyMaps = rig.Memory().keyMaps;
    const std::vector<uint8_t> entry(keyMaps.begin() + static_cast<long>(blockLength + 3 * f5),
                                     keyMaps.begin() + static_cast<long>(blockLength + 3 * f5 + 3));
    EXPECT_EQ(entry, (std::vector<uint8_t>{0x05, 0x01, 0x00}));
}

TEST(MacroCommand, RefusalsSayWhyAndWriteNothing) {
    MacroRig rig;
    ASSERT_TRUE(rig.connected);
    ASSERT_EQ(rig.Macro({"add", "Copy", "C"}), kExitOk);
    ASSERT_EQ(rig.Macro({"add", "Paste", "V"}), kExitOk);
    std::ostringstream out;
    std::ostringstream err;
    const RemapTarget copy{.type = AssignmentType::PlayMacro, .value = 0, .macroName = "Copy"};
    ASSERT_EQ(RunRemap(rig.connection, rig.context, {}, kF5, copy, out, err), kExitOk);
    const sim::SimMemory before = rig.Memory();
    rig.keyboard.ClearLog();

    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"show", "Nope"}, "the keyboard has no macro called 'Nope' (its macros: Copy, Paste)\n"},
        {{"cycles", "Nope", "2"}, "the keyboard has no macro called 'Nope'"},
        {{"add", "COPY", "A"}, "the keyboard has a macro called 'COPY' already\n"},
        {{"rename", "Paste", "copy"}, "the keyboard has a macro called 'copy' already\n"},
        {{"rename", "Paste", std::string(250, 'n')}, "a macro name has 1 to 249 characters\n"},
        {{"delete", "Copy"},
         "keys play the macro 'Copy'; give them another function first (zarvinctl remap)\n"},
    };
    for (const auto& [args, error] : cases) {
        EXPECT_EQ(rig.Macro(args), kExitUsage) << args.front();
        EXPECT_EQ(rig.err.str().substr(0, error.size()), error);
    }
    EXPECT_FALSE(rig.KeyboardWasWritten());
    EXPECT_TRUE(rig.Memory() == before);
}

TEST(MacroCommand, TheHundredAndFirstMacroIsRefused) {
    MacroRig rig;
    ASSERT_TRUE(rig.connected);
    std::recursive_mutex lock;
    WorkingStore store(lock);
    std::vector<MacroRecord> macros(100);
    for (uint16_t id = 1; id <= 100; ++id) {
        macros[id - 1u].SetName(u"M" + Utf16OfUtf8(std::to_string(id)));
        macros[id - 1u].SetId(id);
        macros[id - 1u].SetCycles(1);
    }
    store.SetMacros(macros);
    ASSERT_EQ(store.SaveProfileFile(rig.folder / "full.fwc"), FileResult::Success);
    ASSERT_EQ(RunRestore(rig.connection, rig.context, rig.folder / "full.fwc", rig.out, rig.err),
              kExitOk)
        << rig.err.str();
    rig.keyboard.ClearLog();
    EXPECT_EQ(rig.Macro({"add", "One more", "A"}), kExitUsage);
    EXPECT_EQ(rig.err.str(), "the keyboard holds at most 100 macros\n");
    EXPECT_FALSE(rig.KeyboardWasWritten());
}

}  // namespace
}  // namespace zarvin::cli
