#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "control/StartupArguments.h"

namespace zarvin {
namespace {

struct ArgumentCase {
    std::vector<std::string> arguments;
    StartupAction action;
    bool start;
    bool simulate;
    std::string model;
    size_t warnings;
};

void PrintTo(const ArgumentCase& c, std::ostream* out) {
    for (const std::string& argument : c.arguments) {
        *out << '"' << argument << "\" ";
    }
}

class StartupArgumentTable : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(StartupArgumentTable, AreReadInOrder) {
    const ArgumentCase& c = GetParam();
    const StartupArguments parsed = ParseStartupArguments(c.arguments);
    EXPECT_EQ(parsed.action, c.action);
    EXPECT_EQ(parsed.start, c.start);
    EXPECT_EQ(parsed.simulate, c.simulate);
    EXPECT_EQ(parsed.simulateModel, c.model);
    EXPECT_EQ(parsed.warnings.size(), c.warnings);
}

const std::string kDefault;
constexpr auto kRun = StartupAction::Run;
constexpr auto kKill = StartupAction::Kill;

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupArgumentTable,
    ::testing::Values(
        ArgumentCase{{}, kRun, false, false, kDefault, 0},
        ArgumentCase{{"/Kill"}, kKill, false, false, kDefault, 0},
        ArgumentCase{{"/kILL"}, kKill, false, false, kDefault, 0},
        ArgumentCase{{"--kill"}, kKill, false, false, kDefault, 0},
        ArgumentCase{{"/START"}, kRun, true, false, kDefault, 0},
        ArgumentCase{{"--start"}, kRun, true, false, kDefault, 0},
        // The flag is set first, then the kill ends the process.
        ArgumentCase{{"/Start", "/Kill"}, kKill, true, false, kDefault, 0},
        // Nothing after the kill is read.
        ArgumentCase{{"/Kill", "/Start", "--bogus"}, kKill, false, false, kDefault, 0},
        ArgumentCase{{"--help", "/Kill"}, StartupAction::Help, false, false, kDefault, 0},
        ArgumentCase{{"/Start", "--version"}, StartupAction::Version, true, false, kDefault, 0},
        ArgumentCase{{"--simulate"}, kRun, false, true, kDefault, 0},
        ArgumentCase{{"--simulate=128", "/start"}, kRun, true, true, "128", 0},
        ArgumentCase{{"--simulate=320f:5000"}, kRun, false, true, "320f:5000", 0},
        ArgumentCase{{"--simulate=128", "--simulate"}, kRun, false, true, kDefault, 0},
        ArgumentCase{{"--simulate="}, kRun, false, true, kDefault, 0},
        // The Windows program ignores what it does not know; Linux options get a warning.
        ArgumentCase{{"/Stop", "start", "-x", "", "/Kil"}, kRun, false, false, kDefault, 0},
        ArgumentCase{{"--Kill", "--verbose", "--"}, kRun, false, false, kDefault, 3},
        ArgumentCase{{"--simulated"}, kRun, false, false, kDefault, 1}));

TEST(StartupArguments, FaultsAreKeptForTheStandInToJudge) {
    const StartupArguments parsed = ParseStartupArguments(
        {"--fault", "lose@3", "--simulate", "--fault=unplug@9,delay=5@1", "--fault"});
    EXPECT_TRUE(parsed.simulate);
    EXPECT_EQ(parsed.faultLists,
              (std::vector<std::string>{"lose@3", "unplug@9,delay=5@1", ""}));
    EXPECT_TRUE(parsed.warnings.empty());
}

TEST(StartupArguments, AWarningNamesTheUnknownOption) {
    const StartupArguments parsed = ParseStartupArguments({"--frobnicate"});
    ASSERT_EQ(parsed.warnings.size(), 1u);
    EXPECT_NE(parsed.warnings[0].find("'--frobnicate'"), std::string::npos);
}

}  // namespace
}  // namespace zarvin
