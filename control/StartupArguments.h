#pragma once

// The program's command line. Windows forms "/Kill" and "/Start" in any letter case, with
// --kill and --start as their Linux spellings; --help, --version and --simulate[=MODEL] besides.
// Arguments count in order: the first of "/Kill", --help and --version decides what the program
// does and nothing after it is read, so "/Start /Kill" ends like "/Kill". Anything else is
// ignored; an unknown "--" option gets a warning.

#include <string>
#include <string_view>
#include <vector>

namespace zarvin {

enum class StartupAction {
    Run,      // become (or open) the running instance
    Kill,     // ask the running instance to exit, then end
    Help,     // print the usage, then end
    Version,  // print the version, then end
};

struct StartupArguments {
    StartupAction action = StartupAction::Run;
    bool start = false;  // "/Start": stay in the notification area until opened
    bool simulate = false;
    // What --simulate=MODEL named, for the stand-in to judge; empty for the default model.
    std::string simulateModel;
    // Each --fault FAULTS, for the stand-in to judge (sim/SimFaultList.h).
    std::vector<std::string> faultLists;
    // One line each, for standard error.
    std::vector<std::string> warnings;
};

StartupArguments ParseStartupArguments(const std::vector<std::string>& arguments);

extern const std::string_view kStartupUsage;

}  // namespace zarvin
