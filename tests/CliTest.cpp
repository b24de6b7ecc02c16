#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/Trace.h"
#include "sim/SimKeyboard.h"
#include "support/SocketNodeSource.h"

namespace zarvin::cli {
namespace {

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
    };
    for (const auto& args : cases) {
        EXPECT_NE(ParseCommandLine(args).error, "") << (args.empty() ? "" : args.front());
    }
}

TEST(CommandLine, HelpAndVersionNeedNoCommand) {
    EXPECT_TRUE(ParseCommandLine({"--help"}).options.help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).options.version);
    EXPECT_EQ(ParseCommandLine({"--help"}).error, "");
}

TEST(CommandLine, ProfileTakesAnOptionalNumberFrom0To2) {
    const ParsedCommandLine show = ParseCommandLine({"profile"});
    EXPECT_EQ(show.error, "");
    EXPECT_FALSE(show.options.newProfile);
    for (const int profile : {0, 1, 2}) {
        const ParsedCommandLine set = ParseCommandLine({"profile", std::to_string(profile)});
        EXPECT_EQ(set.error, "");
        EXPECT_EQ(set.options.newProfile, profile);
    }
    for (const std::string bad : {"3", "-1", "x", "1x", " 1", "+1", "", "99999999999"}) {
        const ParsedCommandLine parsed = ParseCommandLine({"profile", bad});
        EXPECT_EQ(parsed.error, "'" + bad + "' is not a profile; the profiles are numbered 0 to 2")
            << bad;
    }
    EXPECT_EQ(ParseCommandLine({"profile", "1", "2"}).error,
              "'profile' takes at most one argument");
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
    EXPECT_EQ(out.str(), "2\n");
}

TEST(ProfileCommand, GivesTheKeyboardsReasonForFailing) {
    sim::SimKeyboard keyboard;
    KeyboardConnection connection(keyboard,
                                  ExchangeTiming{.writeTimeout = std::chrono::milliseconds(50),
                                                 .readTimeout = std::chrono::milliseconds(10)});
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    std::ostringstream out;
    std::ostringstream err;
    keyboard.RefusePacket(2, 0xFE);
    EXPECT_EQ(RunProfile(connection, 1, out, err), kExitFailed);
    EXPECT_EQ(err.str(),
              "cannot make profile 1 active: the keyboard refused the request (status 0xfe)\n");

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

    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunInfo(connection, "(stand-in)", out, err), kExitOk) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("keyboard: 320f:5000, 128 keys (stand-in)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("active profile: 2 (of 0 to 2)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("macro capacity: 12800 bytes\n"), std::string::npos) << text;
    EXPECT_NE(text.find("effects: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 20\n"),
              std::string::npos)
        << text;
}

TEST(InfoCommand, SaysWhenTheKeyboardDoesNotAnswer) {
    sim::SimKeyboard keyboard;
    KeyboardConnection connection(keyboard,
                                  ExchangeTiming{.writeTimeout = std::chrono::milliseconds(50),
                                                 .readTimeout = std::chrono::milliseconds(10)});
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    keyboard.StaySilentFor(4);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunInfo(connection, "", out, err), kExitFailed);
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

}  // namespace
}  // namespace zarvin::cli
