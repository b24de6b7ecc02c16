#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <sstream>

#include "cli/BlockedStopSignals.h"
#include "cli/CliOptions.h"
#include "cli/CommandHelp.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/LanguageMessages.h"
#include "cli/MonitorPrinter.h"
#include "cli/Trace.h"
#include "device/DeviceImage.h"
#include "device/DeviceMonitor.h"
#include "model/KeyMapCodec.h"
#include "model/LightingEffects.h"
#include "model/LittleEndian.h"
#include "model/MacroRecord.h"
#include "platform/AccessGuidance.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/LanguageChoice.h"
#include "store/LanguageTables.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"
#include "store/RegistryFile.h"
#include "store/Settings.h"
#include "support/QuickTiming.h"
#include "support/ScopedLocaleVariables.h"
#include "support/SocketNodeSource.h"
#include "support/TempFolder.h"
#include "support/ZarvinctlContext.h"

namespace zarvin::cli {
namespace {

// The language file of the sources beside the "program", and per-user folders in `folder`.
using namespace std::chrono_literals;

TEST(CommandLine, UnderstandsCommandsAndOptions) {
    struct Case {
        std::vector<std::string> args;
        std::string command;
        bool simulate;
        sim::SimModel model;
        bool trace;
    };
    const Case cases[] = {
        {{"info"}, "info", false, sim::SimModel::Keyboard126, false},
        {{"--simulate", "info"}, "info", true, sim::SimModel::Keyboard126, false},
        {{"info", "--simulate=128", "--trace"}, "info", true, sim::SimModel::Keyboard128, true},
        {{"--simulate=320f:5000", "list"}, "list", true, sim::SimModel::Keyboard128, false},
        {{"describe", "--", "--odd-name"}, "describe", false, sim::SimModel::Keyboard126, false},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.args);
        EXPECT_EQ(parsed.error, "") << c.args.front();
        EXPECT_EQ(parsed.options.command, c.command);
        EXPECT_EQ(parsed.options.simulate, c.simulate);
        EXPECT_EQ(parsed.options.model, c.model);
        EXPECT_EQ(parsed.options.trace, c.trace);
    }
}

TEST(CommandLine, RejectsWhatItDoesNotKnow) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"info", "extra"},
        {"describe"},
        {"--simulate=129", "info"},
        {"--simulate=", "info"},
        {"--verbose", "info"},
        {"--fault", "lose@3", "info"},
        {"--simulate", "--fault", "drop@3", "info"},
        {"--simulate", "info", "--fault"},
        {"--simulate", "--fault=lose@3", "sim-reset"},
    };
    for (const auto& args : cases) {
        EXPECT_NE(ParseCommandLine(args).error, "") << (args.empty() ? "" : args.front());
    }
}

TEST(CommandLine, FaultsOfTheStandInAddUpInTheOrderGiven) {
    const ParsedCommandLine parsed =
        ParseCommandLine({"--fault", "lose@3,delay=5@1", "--simulate", "keys", "--fault=unplug@9"});
    ASSERT_EQ(parsed.error, "");
    const std::vector<sim::SimFault> expected = {
        {sim::SimFaultKind::Lose, 3},
        {sim::SimFaultKind::Delay, 1, std::chrono::milliseconds(5)},
        {sim::SimFaultKind::Unplug, 9}};
    EXPECT_EQ(parsed.options.faults, expected);
}

TEST(CommandLine, HelpAndVersionNeedNoCommand) {
    EXPECT_TRUE(ParseCommandLine({"--help"}).options.help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).options.version);
    EXPECT_EQ(ParseCommandLine({"--help"}).error, "");
}

// Profiles are typed 1 to 3 as the window shows them and kept as the keyboard's 0 to 2.
TEST(CommandLine, ProfileTakesAnOptionalNumberFrom1To3) {
    const ParsedCommandLine show = ParseCommandLine({"profile"});
    EXPECT_EQ(show.error, "");
    EXPECT_FALSE(show.options.newProfile);
    for (const int number : {1, 2, 3}) {
        const ParsedCommandLine set = ParseCommandLine({"profile", std::to_string(number)});
        EXPECT_EQ(set.error, "");
        EXPECT_EQ(set.options.newProfile, number - 1);
    }
    for (const std::string bad : {"0", "4", "-1", "x", "1x", " 1", "+1", "", "99999999999"}) {
        const ParsedCommandLine parsed = ParseCommandLine({"profile", bad});
        EXPECT_EQ(parsed.error, "'" + bad + "' is not a profile; the profiles are numbered 1 to 3")
            << bad;
    }
    EXPECT_EQ(ParseCommandLine({"profile", "1", "2"}).error,
              "'profile' takes at most one argument");
}

TEST(CommandLine, HelpNamesOneCommand) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"help", "remap"}, {"remap", "--help"}, {"--help", "remap", "F1"}}) {
        const ParsedCommandLine parsed = ParseCommandLine(args);
        EXPECT_EQ(parsed.error, "");
        EXPECT_TRUE(parsed.options.help);
        EXPECT_EQ(parsed.options.helpCommand, "remap");
    }
    EXPECT_TRUE(ParseCommandLine({"help"}).options.help);
    EXPECT_EQ(ParseCommandLine({"help"}).options.helpCommand, "");
    EXPECT_EQ(ParseCommandLine({"help", "frob"}).error, "unknown command 'frob'");
    EXPECT_EQ(ParseCommandLine({"help", "keys", "info"}).error, "'help' takes at most one argument");
}

// Every command the parser takes has a help entry with its usage, text and an example, and
// every help entry is a command.
TEST(CommandHelp, EveryCommandHasUsageTextAndExample) {
    for (const CommandHelp& help : AllCommandHelp()) {
        const std::string name = help.name;
        const ParsedCommandLine parsed = ParseCommandLine({name, "--help"});
        EXPECT_EQ(parsed.error, "") << name;
        const std::string text = FormatCommandHelp(help);
        EXPECT_EQ(text.rfind("Usage: zarvinctl [OPTIONS] " + name, 0), 0u) << text;
        EXPECT_NE(text.find("\nExample:\n  "), std::string::npos) << text;
        EXPECT_NE(UsageText().find("\n  " + name), std::string::npos) << name;
    }
    EXPECT_EQ(FindCommandHelp("frob"), nullptr);
    EXPECT_EQ(FormatCommandHelp(*FindCommandHelp("profile")).substr(0, 41),
              "Usage: zarvinctl [OPTIONS] profile [N]\n\nW");
}

TEST(CommandLine, UnderstandsKeysAndTargets) {
    struct Case {
        std::vector<std::string> args;
        std::optional<int> profile;
        KeyCode key;
        AssignmentType type;
        int32_t value;
        std::string macroName;
    };
    const Case cases[] = {
        {{"remap", "CapsLock", "LeftCtrl"}, {}, 0x03A, AssignmentType::Key, 0x01D, ""},
        {{"remap", "--profile", "3", "caps_lock", "MUTE"}, 2, 0x03A, AssignmentType::Media, 7, ""},
        {{"remap", "f1", "WheelUp", "--profile=2"}, 1, 0x03B, AssignmentType::Key, 0x161, ""},
        {{"remap", "F1", "Disabled"}, {}, 0x03B, AssignmentType::Disabled, 0, ""},
        {{"remap", "F1", "macro:My Copy"}, {}, 0x03B, AssignmentType::PlayMacro, 0, "My Copy"},
        {{"remap", "F1", "function:11"}, {}, 0x03B, AssignmentType::Function, 10, ""},
        {{"reset", "g1"}, {}, 0x200, AssignmentType::Default, 0, ""},
        {{"keys", "--profile", "1"}, 0, 0, AssignmentType::Default, 0, ""},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.args);
        const std::string name = c.args[0] + " " + c.args[1];
        ASSERT_EQ(parsed.error, "") << name;
        EXPECT_EQ(parsed.options.profile, c.profile) << name;
        EXPECT_EQ(parsed.options.key, c.key) << name;
        EXPECT_EQ(parsed.options.target.type, c.type) << name;
        EXPECT_EQ(parsed.options.target.value, c.value) << name;
        EXPECT_EQ(parsed.options.target.macroName, c.macroName) << name;
    }
}

TEST(CommandLine, RejectsUnknownKeysWithCloseMatches) {
    struct Case {
        std::vector<std::string> args;
        std::string error;  // how the error starts
    };
    const Case cases[] = {
        {{"remap", "CapsLok", "LeftCtrl"}, "unknown key 'CapsLok'; did you mean CapsLock"},
        {{"remap", "CapsLock", "LeftCtlr"}, "unknown target 'LeftCtlr'; did you mean LeftCtrl"},
        {{"reset", "Qwertzuiop"}, "unknown key 'Qwertzuiop'; keys are named as in the key table"},
        {{"remap", "F1", "Power"}, "'Power' cannot be given to a key"},
        {{"remap", "F1", "function:12"}, "'function:12' is not a keyboard function"},
        {{"remap", "F1", "macro:"}, "'macro:' needs the macro's name"},
        {{"keys", "--profile", "4"}, "'4' is not a profile"},
        {{"keys", "--profile", "0"}, "'0' is not a profile"},
        {{"keys", "--profile"}, "'--profile' needs a profile number"},
        {{"info", "--profile", "1"}, "'--profile' goes with keys, remap, reset"},
        {{"remap", "F1"}, "'remap' takes two arguments"},
    };
    for (const Case& c : cases) {
        const std::string error = ParseCommandLine(c.args).error;
        EXPECT_EQ(error.substr(0, c.error.size()), c.error) << error;
    }
}

TEST(ProfileCommand, SetsThenShowsTheActiveProfile) {
    sim::SimKeyboard keyboard(sim::SimModel::Keyboard128);
    KeyboardConnection connection(keyboard);
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunProfile(connection, 2, out, err), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "");
    ASSERT_EQ(RunProfile(connection, std::nullopt, out, err), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "3\n");
}

TEST(ProfileCommand, GivesTheKeyboardsReasonForFailing) {
    sim::SimKeyboard keyboard;
    KeyboardConnection connection(keyboard, test_support::kQuickTiming);
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    std::ostringstream out;
    std::ostringstream err;
    keyboard.RefusePacket(2, 0xFE);
    EXPECT_EQ(RunProfile(connection, 1, out, err), kExitFailed);
    EXPECT_EQ(err.str(),
              "cannot make profile 2 active: the keyboard refused the request (status 0xfe)\n");

    err.str("");
    keyboard.StaySilentFor(4);
    EXPECT_EQ(RunProfile(connection, std::nullopt, out, err), kExitFailed);
    EXPECT_EQ(err.str(), "cannot read the active profile: the keyboard did not answer\n");
    EXPECT_EQ(out.str(), "");
}

TEST(Trace, OneLineOfLowerCaseHexPerReport) {
    const uint8_t report[] = {0x04, 0x01, 0x00, 0xAB};
    EXPECT_EQ(FormatTraceLine(true, report), "> 04 01 00 ab");
    EXPECT_EQ(FormatTraceLine(false, report), "< 04 01 00 ab");
}

TEST(InfoCommand, ShowsTheStandInKeyboard) {
    sim::SimKeyboard keyboard(sim::SimModel::Keyboard128);
    keyboard.ChangeProfileOnKeyboard(2);
    KeyboardConnection connection(keyboard);
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    EXPECT_EQ(connection.Link().Geometry().blockLength, 512);

    test::TempFolder folder;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunInfo(connection, test::ZarvinctlContextIn(folder), "(stand-in)", out, err), kExitOk) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("keyboard: 320f:5000, 128 keys (stand-in)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("active profile: 3 (of 1 to 3)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("macro capacity: 12800 bytes\n"), std::string::npos) << text;
    EXPECT_NE(text.find("effects: 1 Wave, 2 Stream, 3 Spiral, 4 Colour cycle, 5 Breathing, "),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(", 18 Vortex, 20 Custom key colours\n"), std::string::npos) << text;
}

TEST(InfoCommand, SpeaksTheCommandLinesLanguage) {
    sim::SimKeyboard keyboard(sim::SimModel::Keyboard126);
    KeyboardConnection connection(keyboard);
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    test::TempFolder folder;
    std::ostringstream out;
    std::ostringstream err;
    SetCommandLineLanguage(*LanguageIndexOfName("de"));
    const int status = RunInfo(connection, test::ZarvinctlContextIn(folder), "(stand-in)", out, err);
    SetCommandLineLanguage(kEnglishLanguageIndex);
    ASSERT_EQ(status, kExitOk) << err.str();
    EXPECT_NE(out.str().find("\nEffekte: 1 Welle, 2 Str\u00f6mung, "), std::string::npos) << out.str();
    EXPECT_EQ(out.str().rfind("Tastatur: 0c45:5004, 126 Tasten (simuliert)\n", 0), 0u) << out.str();
}

TEST(CommandLine, TakesLanguagesByNameOrLocale) {
    const struct {
        std::vector<std::string> args;
        std::optional<int> language;     // --language
        std::optional<int> newLanguage;  // the language command's argument
    } cases[] = {
        {{"--language", "de", "info"}, 1, {}},
        {{"info", "--language=pt_BR"}, 4, {}},
        {{"--language", "zh-HK", "keys"}, 6, {}},
        {{"--language=EN_us", "keys"}, 0, {}},
        {{"language", "ru"}, {}, 8},
        {{"language", "ja_JP.UTF-8"}, {}, 7},
        {{"language"}, {}, {}},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.args);
        EXPECT_EQ(parsed.error, "") << c.args.front();
        EXPECT_EQ(parsed.options.language, c.language) << c.args.front();
        EXPECT_EQ(parsed.options.newLanguage, c.newLanguage) << c.args.front();
    }
    // A language without texts is an error, not English.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--language", "it", "info"}, {"language", "xx"}, {"info", "--language"},
             {"language", "de", "fr"}}) {
        EXPECT_NE(ParseCommandLine(args).error, "") << args.back();
    }
}

// The first run takes the language from LANG and keeps it; a choice then stays whatever LANG
// says, for the command line and the window alike.
TEST(LanguageCommand, FollowsLangOnTheFirstRunThenKeepsTheChoice) {
    const test::ScopedLocaleVariables locale;
    ::setenv("LANG", "ja_JP.UTF-8", 1);
    test::TempFolder folder;
    const AppContext context = test::ZarvinctlContextIn(folder);
    const auto run = [&](std::optional<int> chosen) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunLanguage(context, chosen, out, err), kExitOk) << err.str();
        return out.str();
    };
    EXPECT_NE(run({}).find("* ja     日本語\n"), std::string::npos) << run({});
    EXPECT_EQ(run(LanguageIndexOfName("de")), "Language kept: Deutsch (de).\n");
    ::setenv("LANG", "fr_FR.UTF-8", 1);
    const std::string listed = run({});
    EXPECT_NE(listed.find("* de     Deutsch\n"), std::string::npos) << listed;
    EXPECT_NE(listed.find("  en     English\n"), std::string::npos) << listed;
    EXPECT_EQ(Settings(RegistryFile(RegistryFilePath(context.configFolder))).GetLanguageId(),
              0x0407u);
}

TEST(InfoCommand, SaysWhenTheKeyboardDoesNotAnswer) {
    sim::SimKeyboard keyboard;
    KeyboardConnection connection(keyboard, test_support::kQuickTiming);
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    keyboard.StaySilentFor(4);
    test::TempFolder folder;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunInfo(connection, test::ZarvinctlContextIn(folder), "", out, err), kExitFailed);
    EXPECT_EQ(err.str(), "cannot read the device information: the keyboard did not answer\n");
    EXPECT_EQ(out.str(), "");
}

// Offers one keyboard node that this user may not open.
class LockedNodeSource : public test_support::SocketNodeSource {
public:
    HidError OpenNode(const std::string&, bool read, bool write, UniqueFd&, HidNodeInfo&) override {
        return (read || write) ? HidError::PermissionDenied : HidError::None;
    }
};

TEST(Connect, ExplainsWhyTheKeyboardCannotBeReached) {
    LockedNodeSource locked;
    locked.AddNode(HidNodeInfo{"/dev/hidraw5", 0x0C45, 0x5004, 0, 1, {}});
    KeyboardConnection denied(locked);
    std::string error;
    EXPECT_FALSE(denied.Connect(error));
    EXPECT_NE(error.find("no read/write access to /dev/hidraw5"), std::string::npos) << error;
    EXPECT_NE(error.find("udev rule"), std::string::npos) << error;

    test_support::SocketNodeSource empty;
    KeyboardConnection nothing(empty);
    EXPECT_FALSE(nothing.Connect(error));
    EXPECT_NE(error.find("no supported keyboard found"), std::string::npos) << error;
}

TEST(MonitorCommand, ExplainsARefusedKeyboardAsInfoDoes) {
    LockedNodeSource locked;
    locked.AddNode(HidNodeInfo{"/dev/hidraw5", 0x0C45, 0x5004, 0, 1, {}});
    HidDevice device(locked);
    CommandLink link(device);
    DeviceImage image;
    std::ostringstream out;
    std::ostringstream err;
    MonitorPrinter printer(out, err, link, image);
    std::atomic<bool> autoShowDone{true};
    DeviceMonitor monitor(link, image, printer, printer, autoShowDone,
                          DeviceThreadTiming{.startDelay = 1ms, .rescan = 5ms});
    ASSERT_TRUE(monitor.Start());
    const bool told = printer.WaitForLines(1, 5s);
    monitor.Stop();
    ASSERT_TRUE(told);

    const std::string text = out.str();
    EXPECT_NE(text.find("message for the user: MAIN_NO_ACCESS_PROMPT\n"
                        "No read/write access to /dev/hidraw5.\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(InstalledUdevRuleFile().string()), std::string::npos) << text;
    EXPECT_NE(text.find("sudo udevadm trigger --subsystem-match=hidraw"), std::string::npos)
        << text;
}

// A stop signal ends the loop of `zarvinctl sim --uhid`, which then exits with its own status.
[[noreturn]] void ReceiveStopSignalThenExit(int signal) {
    {
        const BlockedStopSignals stop;
        ::kill(::getpid(), signal);
        pollfd ready{stop.Descriptor(), POLLIN, 0};
        if (::poll(&ready, 1, 5000) != 1) {
            std::_Exit(2);
        }
    }
    std::_Exit(0);
}

TEST(BlockedStopSignals, AStopSignalThatCameIsTakenNotDelivered) {
    for (const int signal : {SIGTERM, SIGINT}) {
        EXPECT_EXIT(ReceiveStopSignalThenExit(signal), ::testing::ExitedWithCode(0), "")
            << strsignal(signal);
    }
}

TEST(ListCommand, ShowsBothInterfacesOfTheStandIn) {
    sim::SimKeyboard keyboard;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunList(keyboard, out, err), kExitOk);
    const std::string text = out.str();
    EXPECT_NE(text.find("command interface (usage page 0xFF1C usage 0x0092)"), std::string::npos)
        << text;
    EXPECT_NE(text.find("event interface (usage page 0x000C usage 0x0001)"), std::string::npos)
        << text;

    keyboard.Unplug();
    std::ostringstream none;
    EXPECT_EQ(RunList(keyboard, none, err), kExitFailed);
}

TEST(DescribeCommand, ReadsANodeOfTheSourceOrReportsAMissingFile) {
    sim::SimKeyboard keyboard;
    std::vector<HidNodeInfo> nodes;
    ASSERT_TRUE(keyboard.EnumerateNodes(nodes));
    std::ostringstream out;
    std::ostringstream err;
    bool sawCommandInterface = false;
    for (const HidNodeInfo& node : nodes) {
        out.str("");
        ASSERT_EQ(RunDescribe(keyboard, node.node, out, err), kExitOk) << err.str();
        sawCommandInterface |=
            out.str().rfind(
                "collection 1: usage page 0xFF1C usage 0x0092 input 64 output 64 feature 0\n", 0) ==
            0;
    }
    EXPECT_TRUE(sawCommandInterface);
    EXPECT_EQ(RunDescribe(keyboard, "/nonexistent/descriptor.bin", out, err), kExitFailed);
    EXPECT_NE(err.str(), "");
}

// The stand-in keyboard connected for the key commands, the language file of the sources beside
// the "program" and a temporary per-user folder.
struct KeyCommandRig {
    explicit KeyCommandRig(sim::SimModel model = sim::SimModel::Keyboard126)
        : keyboard(model),
          connection(keyboard),
          context(test::ZarvinctlContextIn(folder)) {
        std::string error;
        connected = connection.Connect(error);
    }

    std::string Keys(std::optional<int> profile = {}) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunKeys(connection, context, profile, false, out, err), kExitOk) << err.str();
        return out.str();
    }

    bool KeyboardWasWritten() const {
        for (const Packet& packet : keyboard.ReceivedPackets()) {
            const uint8_t command = packet[PacketByte::Command];
            if (command == Command::BeginTransfer || command == Command::WriteKeyMap ||
                command == Command::WriteMacroArea) {
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
};

TEST(KeyCommands, RemapThenKeysShowsTheAssignmentAndResetUndoesIt) {
    KeyCommandRig rig;
    ASSERT_TRUE(rig.connected);
    std::ostringstream out;
    std::ostringstream err;
    const RemapTarget leftCtrl{.type = AssignmentType::Key, .value = 0x01D, .macroName = {}};
    ASSERT_EQ(RunRemap(rig.connection, rig.context, {}, 0x03A, leftCtrl, out, err), kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "profile 1: Caps Lock \u2192 Key (Left Ctrl)\n");
    EXPECT_EQ(rig.Keys(), "profile 1 (active)\n  Caps Lock \u2192 Key (Left Ctrl)\nmacros: none\n");
    EXPECT_EQ(rig.Keys(1), "profile 2\n  no reassigned keys\nmacros: none\n");

    out.str("");
    ASSERT_EQ(RunRemap(rig.connection, rig.context, {}, 0x03A, RemapTarget{}, out, err), kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "profile 1: Caps Lock has its own function again\n");
    EXPECT_EQ(rig.Keys(), "profile 1 (active)\n  no reassigned keys\nmacros: none\n");
}

TEST(KeyCommands, AMacroTheKeyboardLacksIsAUsageErrorAndWritesNothing) {
    KeyCommandRig rig;
    ASSERT_TRUE(rig.connected);
    std::ostringstream out;
    std::ostringstream err;
    const RemapTarget macro{.type = AssignmentType::PlayMacro, .value = 0, .macroName = "Nope"};
    EXPECT_EQ(RunRemap(rig.connection, rig.context, 2, 0x03A, macro, out, err), kExitUsage);
    EXPECT_EQ(err.str(), "the keyboard has no macro called 'Nope' (it has no macros)\n");
    EXPECT_FALSE(rig.KeyboardWasWritten());
}

MacroRecord CopyMacro() {
    MacroRecord macro;
    macro.SetName(u"Copy");
    macro.SetId(1);
    macro.SetCycles(2);
    macro.SetActionCount(2);
    macro.SetAction(0, {.delay = 50, .key = 0x01D, .state = MacroAction::kPress});
    macro.SetAction(1, {.delay = 0, .key = 0x01D, .state = MacroAction::kRelease});
    return macro;
}

// A backup made elsewhere goes onto one keyboard; that keyboard's backup shows it and restores
// it onto the other model.
TEST(KeyCommands, BackupShowAndRestoreCarryKeysAndMacros) {
    KeyCommandRig first(sim::SimModel::Keyboard126);
    KeyCommandRig second(sim::SimModel::Keyboard128);
    ASSERT_TRUE(first.connected && second.connected);
    {
        std::recursive_mutex lock;
        WorkingStore store(lock);
        ASSERT_TRUE(store.SetMacros({CopyMacro()}));
        ASSERT_TRUE(store.SetAssignment(KeyRecordNumber(0, 0x03A),
                                        {.type = 4, .gId = 0, .value = 1}));  // PlayMacro Copy
        ASSERT_TRUE(store.SetAssignment(KeyRecordNumber(2, 0x03B),
                                        {.type = 1, .gId = 0, .value = 0}));  // F1 disabled
        ASSERT_EQ(store.SaveProfileFile(first.folder / "made.fwc"), FileResult::Success);
    }
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunRestore(first.connection, first.context, first.folder / "made.fwc", out, err),
              kExitOk)
        << err.str();
    ASSERT_EQ(RunBackup(first.connection, first.context, first.folder / "back.fwc", out, err),
              kExitOk)
        << err.str();

    out.str("");
    ASSERT_EQ(RunShow(first.context, first.folder / "back.fwc", out, err), kExitOk) << err.str();
    EXPECT_EQ(out.str(),
              "profile 1\n"
              "  Caps Lock \u2192 Macro (Copy)\n"
              "profile 2\n"
              "  no reassigned keys\n"
              "profile 3\n"
              "  F1 \u2192 disabled\n"
              "macros\n"
              "  macro 1, \"Copy\": 2 cycles, 2 actions\n"
              "    \u2193 Left Ctrl, 50 ms\n"
              "      \u2191 Left Ctrl, 0 ms\n");

    ASSERT_EQ(RunRestore(second.connection, second.context, first.folder / "back.fwc", out, err),
              kExitOk)
        << err.str();
    for (const int profile : {0, 1, 2}) {
        EXPECT_EQ(second.Keys(profile), first.Keys(profile)) << profile;
    }
}

TEST(KeyCommands, RestoreOfADamagedFileWritesNothing) {
    KeyCommandRig rig;
    ASSERT_TRUE(rig.connected);
    std::recursive_mutex lock;
    WorkingStore blank(lock);
    const std::string valid = blank.ProfileFileBytes();
    std::string badChecksum = valid;
    ++badChecksum[31];
    struct Case {
        std::string name;
        std::string bytes;
        std::string error;
    };
    const Case cases[] = {
        {"checksum.fwc", badChecksum, "is not a keyboard backup file, or it is damaged."},
        {"short.fwc", valid.substr(0, kProfileImageBytes - 1), "is not a backup file"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(
            RunRestore(rig.connection, rig.context, rig.folder.Write(c.name, c.bytes), out, err),
            kExitFailed);
        EXPECT_NE(err.str().find(c.error), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("nothing was written to the keyboard"), std::string::npos);
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunRestore(rig.connection, rig.context, rig.folder / "missing.fwc", out, err),
              kExitFailed);
    EXPECT_FALSE(rig.KeyboardWasWritten());
    EXPECT_FALSE(std::filesystem::exists(rig.context.userDataFolder / "$Profile0"));
}

// The packets (1 = the first one) that start a read of the default key matrix.
std::vector<int> LayoutReadStarts(const sim::SimKeyboard& keyboard) {
    std::vector<int> starts;
    const std::vector<Packet> packets = keyboard.ReceivedPackets();
    for (size_t i = 0; i < packets.size(); ++i) {
        if (packets[i][PacketByte::Command] == Command::ReadDefaultKeyMap &&
            LoadLe16(packets[i], PacketByte::Offset) == 0) {
            starts.push_back(static_cast<int>(i) + 1);
        }
    }
    return starts;
}

// Commands that write key maps fail, with status 1 and nothing written, when the keyboard never
// lets its key layout be read: each try to read it is refused, however many the command makes.
TEST(KeyCommands, NoKeyMapIsWrittenWhenTheLayoutCannotBeRead) {
    const RemapTarget leftCtrl{.type = AssignmentType::Key, .value = 0x01D, .macroName = {}};
    struct Case {
        const char* name;
        std::function<int(KeyCommandRig&, std::ostream&, std::ostream&)> run;
    };
    const Case cases[] = {
        {"remap",
         [&](KeyCommandRig& rig, std::ostream& out, std::ostream& err) {
             return RunRemap(rig.connection, rig.context, {}, 0x03A, leftCtrl, out, err);
         }},
        {"remap --profile 3",
         [&](KeyCommandRig& rig, std::ostream& out, std::ostream& err) {
             return RunRemap(rig.connection, rig.context, 2, 0x03A, leftCtrl, out, err);
         }},
        {"reset",
         [&](KeyCommandRig& rig, std::ostream& out, std::ostream& err) {
             return RunRemap(rig.connection, rig.context, {}, 0x03A, RemapTarget{}, out, err);
         }},
        {"restore",
         [&](KeyCommandRig& rig, std::ostream& out, std::ostream& err) {
             std::recursive_mutex lock;
             WorkingStore store(lock);
             EXPECT_TRUE(store.SetAssignment(KeyRecordNumber(0, 0x03B),
                                             {.type = 1, .gId = 0, .value = 0}));
             EXPECT_EQ(store.SaveProfileFile(rig.folder / "made.fwc"), FileResult::Success);
             return RunRestore(rig.connection, rig.context, rig.folder / "made.fwc", out, err);
         }},
    };
    for (const Case& c : cases) {
        std::vector<int> refused;
        for (int attempt = 0; attempt < 5; ++attempt) {
            KeyCommandRig rig;
            ASSERT_TRUE(rig.connected);
            for (const int packet : refused) {
                rig.keyboard.RefusePacket(packet, kStatusRefusedFE);
            }
            std::ostringstream out;
            std::ostringstream err;
            const int status = c.run(rig, out, err);
            const std::vector<int> starts = LayoutReadStarts(rig.keyboard);
            if (starts == refused) {
                EXPECT_EQ(status, kExitFailed) << c.name;
                EXPECT_NE(err.str().find("nothing was written to the keyboard"), std::string::npos)
                    << c.name << ": " << err.str();
                EXPECT_FALSE(rig.KeyboardWasWritten()) << c.name;
                EXPECT_EQ(out.str(), "") << c.name;
                break;
            }
            refused = starts;
        }
        EXPECT_FALSE(refused.empty()) << c.name;
    }
}

// `remap --profile 3` while profile 1 is active writes profile 3's key map alone, and keys the
// user did not touch keep the keyboard's bytes, even those no assignment can express.
TEST(KeyCommands, RemapOfAnotherProfileWritesThatProfileAlone) {
    KeyCommandRig rig;
    ASSERT_TRUE(rig.connected);
    const size_t length = sim::InfoOf(rig.keyboard.Model()).keyMapLength;
    std::vector<uint8_t> expected;
    size_t capsLock = 0;
    rig.keyboard.WithFirmware([&](sim::SimFirmware& firmware) {
        std::vector<uint8_t>& keyMaps = firmware.Memory().keyMaps;
        const std::span<const uint8_t> matrix = firmware.DefaultKeyMatrix();
        // A consumer usage the media table lacks on every profile's Q, Power on its W.
        for (size_t i = 0; 3 * i + 2 < length; ++i) {
            const KeyCode code = EntryKeyCode({matrix[3 * i], matrix[3 * i + 1], matrix[3 * i + 2]});
            for (size_t profile = 0; profile < 3; ++profile) {
                uint8_t* entry = &keyMaps[length * profile + 3 * i];
                if (code == 0x010) {
                    entry[0] = 0x03, entry[1] = 0x34, entry[2] = 0x12;
                } else if (code == 0x011) {
                    entry[0] = 0x04, entry[1] = 0x81, entry[2] = 0x00;
                }
            }
            if (code == 0x03A) {
                capsLock = i;
            }
        }
        expected = keyMaps;
    });
    const size_t changed = length * 2 + 3 * capsLock;
    expected[changed] = 0x02, expected[changed + 1] = 0x01, expected[changed + 2] = 0x01;

    std::ostringstream out;
    std::ostringstream err;
    const RemapTarget leftCtrl{.type = AssignmentType::Key, .value = 0x01D, .macroName = {}};
    ASSERT_EQ(RunRemap(rig.connection, rig.context, 2, 0x03A, leftCtrl, out, err), kExitOk)
        << err.str();
    rig.keyboard.WithFirmware(
        [&](sim::SimFirmware& firmware) { EXPECT_EQ(firmware.Memory().keyMaps, expected); });
    for (const Packet& packet : rig.keyboard.ReceivedPackets()) {
        if (packet[PacketByte::Command] == Command::WriteKeyMap) {
            EXPECT_EQ(LoadLe16(packet, PacketByte::Offset) / length, 2u);
        }
    }
}

}  // namespace
}  // namespace zarvin::cli
