#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/KeyArguments.h"
#include "cli/LightingArguments.h"
#include "model/KeyCodes.h"
#include "sim/SimFaultList.h"
#include "sim/SimModel.h"

namespace zarvin::cli {

struct CliOptions {
    bool simulate = false;
    sim::SimModel model = sim::SimModel::Keyboard126;
    bool modelGiven = false;
    // --fault FAULTS, with --simulate: the stand-in's faults, in the order given.
    std::vector<sim::SimFault> faults;
    bool trace = false;
    // "--json": results as JSON, errors as {"error": ...}.
    bool json = false;
    // "--language NAME": the language of this run's texts, a language index.
    std::optional<int> language;
    // "language NAME": the language to keep for the window and the command line.
    std::optional<int> newLanguage;
    // "sim --uhid [MODEL]": the stand-in plugged in through /dev/uhid.
    bool uhid = false;
    // "--help" or "help": the usage text, or with `helpCommand` that command's help.
    bool help = false;
    std::string helpCommand;
    bool version = false;
    std::string command;
    std::vector<std::string> arguments;
    // "profile N": the profile to make active. Typed 1 to 3 as the window shows them, kept as
    // the keyboard's index 0 to 2.
    std::optional<int> newProfile;
    // "--profile N" of the commands that work on one profile, typed 1 to 3 and kept as 0 to 2;
    // without it the active one.
    std::optional<int> profile;
    // "--all": keys lists every key of the profile, not only the reassigned ones.
    bool all = false;
    // remap and reset: the key, understood; remap: what it becomes.
    KeyCode key = 0;
    RemapTarget target;
    // "lighting set": the fields to write.
    bool lightingSet = false;
    LightingSettings lighting;
    // "macro ...": understood and checked.
    MacroRequest macro;
    // "usermode MODE": the user mode, checked to be 0 to 9.
    int userMode = 0;
    // "--mode M" of "colours": a user mode, checked to be 0 to 9.
    std::optional<int> colourMode;
    // "colours KEY=RRGGBB..." or "colours --all RRGGBB": the keys to paint; none to print.
    std::vector<KeyColours::PaintedKey> keyColours;
};

struct ParsedCommandLine {
    CliOptions options;
    std::string error;  // empty when the command line was understood
};

// Global options may stand before or after the command; "--" ends them. `json` is set whenever
// "--json" stands among the options, also when something else is wrong, so that the error is
// given as JSON too.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace zarvin::cli
