#include "control/StartupArguments.h"

#include <algorithm>
#include <cctype>

namespace zarvin {

const std::string_view kStartupUsage =
    "Usage: zarvin [/Start] [/Kill] [--simulate[=MODEL] [--fault FAULTS]]\n"
    "The configurator for the Zarvin keyboards. It lives in the notification area; starting it\n"
    "again while it runs opens its window.\n"
    "  /Start, --start       stay in the notification area, even when the keyboard is first\n"
    "                        seen connected\n"
    "  /Kill, --kill         ask the running configurator to exit\n"
    "  --simulate[=MODEL]    run against the stand-in keyboard (MODEL: 126 or 128, default\n"
    "                        126), whose settings are kept in the user's data folder\n"
    "  --fault FAULTS        with --simulate: faults of the stand-in at chosen command\n"
    "                        packets, to reproduce a problem (see zarvinctl --help)\n"
    "  --help                show this help\n"
    "  --version             show the version\n";

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

constexpr std::string_view kSimulate = "--simulate";
constexpr std::string_view kFault = "--fault";

}  // namespace

StartupArguments ParseStartupArguments(const std::vector<std::string>& arguments) {
    StartupArguments parsed;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (EqualsIgnoringCase(argument, "/Kill") || argument == "--kill") {
            parsed.action = StartupAction::Kill;
        } else if (argument == "--help") {
            parsed.action = StartupAction::Help;
        } else if (argument == "--version") {
            parsed.action = StartupAction::Version;
        } else if (EqualsIgnoringCase(argument, "/Start") || argument == "--start") {
            parsed.start = true;
        } else if (argument == kSimulate) {
            parsed.simulate = true;
            parsed.simulateModel.clear();
        } else if (argument.starts_with(kSimulate) && argument[kSimulate.size()] == '=') {
            parsed.simulate = true;
            parsed.simulateModel = argument.substr(kSimulate.size() + 1);
        } else if (argument == kFault) {
            if (index + 1 < arguments.size()) {
                parsed.faultLists.push_back(arguments[++index]);
            } else {
                parsed.faultLists.emplace_back();  // judged, and refused, with the others
            }
        } else if (argument.starts_with(kFault) && argument[kFault.size()] == '=') {
            parsed.faultLists.push_back(argument.substr(kFault.size() + 1));
        } else if (argument.starts_with("--")) {
            parsed.warnings.push_back("ignoring the unknown option '" + argument + "'");
        }
        if (parsed.action != StartupAction::Run) {
            break;
        }
    }
    return parsed;
}

}  // namespace zarvin
