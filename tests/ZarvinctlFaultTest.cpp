#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "support/TempFolder.h"
#include "support/ZarvinctlRun.h"

namespace zarvin {
namespace {

using test::ProgramRun;
using test::RunZarvinctl;

// The reports a traced run sent to the keyboard.
int SentReports(const std::string& trace) {
    std::istringstream lines(trace);
    int sent = 0;
    for (std::string line; std::getline(lines, line);) {
        sent += line.starts_with("> ") ? 1 : 0;
    }
    return sent;
}

// The way to reproduce a problem at one packet: the stand-in fails where it is told, and the
// command meets the fault as it would meet a real keyboard's. The last packet of a backup is one
// of its own reads, whatever the connection reads before it.
TEST(ZarvinctlFaults, TheStandInFailsAtTheChosenPacket) {
    const test::TempFolder home;
    std::filesystem::create_directories(home / "run");
    const ProgramRun traced = RunZarvinctl(home, "--simulate --trace backup '" +
                                                     (home / "traced.fwc").string() + "'");
    ASSERT_EQ(traced.status, 0) << traced.output;
    const std::string last = std::to_string(SentReports(traced.output));

    const std::filesystem::path backup = home.Write("old.fwc", "an earlier backup");
    const ProgramRun silent = RunZarvinctl(
        home, "--simulate --fault silent@" + last + " backup '" + backup.string() + "'");
    EXPECT_EQ(silent.status, 1) << silent.output;
    EXPECT_EQ(home.Read("old.fwc"), "an earlier backup");

    const ProgramRun lost = RunZarvinctl(
        home, "--simulate --fault lose@" + last + ",delay=1@1 backup '" + backup.string() + "'");
    EXPECT_EQ(lost.status, 0) << lost.output;
    EXPECT_EQ(home.Read("old.fwc"), home.Read("traced.fwc"));

    EXPECT_EQ(RunZarvinctl(home, "--simulate --fault drop@3 info").status, 2);
}

}  // namespace
}  // namespace zarvin
