#include "cli/CliOptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <string>
#include <string_view>

#include "cli/ColourArguments.h"
#include "cli/CommandHelp.h"
#include "cli/MacroActions.h"
#include "device/CommandProtocol.h"
#include "store/LanguageChoice.h"
#include "store/LanguageTables.h"

namespace zarvin::cli {
namespace {

struct CommandShape {
    const char* name;
    size_t minArguments;
    size_t maxArguments;
};

// clang-format off
constexpr std::array kCommands{
    CommandShape{"list", 0, 0},
    CommandShape{"info", 0, 0},
    CommandShape{"describe", 1, 1},
    CommandShape{"profile", 0, 1},
    CommandShape{"monitor", 0, 0},
    CommandShape{"sim-reset", 0, 0},
    CommandShape{"backup", 1, 1},
    CommandShape{"restore", 1, 1},
    CommandShape{"show", 1, 1},
    CommandShape{"keys", 0, 0},
    CommandShape{"remap", 2, 2},
    CommandShape{"reset", 1, 1},
    CommandShape{"lighting", 0, 9},
    CommandShape{"usermode", 1, 1},
    CommandShape{"udev-check", 1, 1},
    CommandShape{"sim", 0, 1},
    CommandShape{"help", 0, 1},
    CommandShape{"targets", 0, 1},
    CommandShape{"macro", 1, std::numeric_limits<size_t>::max()},
    CommandShape{"colours", 0, std::numeric_limits<size_t>::max()},
    CommandShape{"language", 0, 1},
};
// clang-format on

// The commands that work on one profile and take --profile.
constexpr std::array<std::string_view, 6> kProfileCommands{"keys",     "remap",    "reset",
                                                            "lighting", "usermode", "colours"};

std::string ArityText(const CommandShape& shape) {
    if (shape.maxArguments == 0) {
        return "no argument";
    }
    if (shape.maxArguments > 2) {
        return shape.minArguments == 0 ? "at most " + std::to_string(shape.maxArguments) + " arguments"
                                       : "at least one argument";
    }
    if (shape.minArguments == 0) {
        return "at most one argument";
    }
    return shape.maxArguments == 1 ? "one argument" : "two arguments";
}

// A profile as people number it, 1 to 3 in decimal digits only; gives its index, 0 to 2.
std::optional<int> ParseProfileNumber(const std::string& text) {
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end || number < 1 ||
        number > kProfileCount) {
        return std::nullopt;
    }
    return number - 1;
}

// A language by name; nothing, with `error` listing the names, when none has a file.
std::optional<int> ParseLanguageName(const std::string& text, std::string& error) {
    const std::optional<int> index = LanguageIndexOfName(text);
    if (!index) {
        error = "no texts in '" + text + "'; the languages are";
        for (const std::string_view code : LanguageCodes) {
            error += " " + std::string(code);
        }
    }
    return index;
}

std::string NotAProfile(const std::string& text) {
    return "'" + text + "' is not a profile; the profiles are numbered 1 to 3";
}

// The arguments of remap and reset. False, with `error` set, when a name is unknown.
bool ParseKeyArguments(CliOptions& options, std::string& error) {
    const auto key = ParseKeyName(options.arguments.front(), error);
    if (!key) {
        return false;
    }
    options.key = *key;
    if (options.command == "reset") {
        return true;
    }
    const auto target = ParseRemapTarget(options.arguments.back(), error);
    if (!target) {
        return false;
    }
    options.target = *target;
    return true;
}

// "lighting set FIELD=VALUE...". False, with `error` set, when a word is not understood.
bool ParseLightingArguments(CliOptions& options, std::string& error) {
    if (options.arguments.front() != "set") {
        error = "'lighting' takes no argument, or 'set' and FIELD=VALUE words";
        return false;
    }
    const auto settings = ParseLightingSettings(
        std::vector<std::string>(options.arguments.begin() + 1, options.arguments.end()), error);
    if (!settings) {
        return false;
    }
    options.lightingSet = true;
    options.lighting = *settings;
    return true;
}

// A user mode number, 0 to 9, in decimal digits only; nothing, with `error` saying so, for
// other text.
std::optional<int> ParseUserMode(const std::string& text, std::string& error) {
    int mode = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, mode);
    if (text.empty() || failure != std::errc() || stop != end || mode < 0 || mode > 9) {
        error = "'" + text + "' is not a user mode; the user modes are numbered 0 to 9";
        return std::nullopt;
    }
    return mode;
}

bool ParseUserModeArgument(CliOptions& options, std::string& error) {
    const auto mode = ParseUserMode(options.arguments.front(), error);
    options.userMode = mode.value_or(0);
    return mode.has_value();
}

// "colours [--mode M] [KEY=RRGGBB...]" and "colours [--mode M] --all RRGGBB".
bool ParseColoursArguments(CliOptions& options, std::string& error) {
    auto keys = ParseKeyColours(options.arguments, options.all, error);
    if (!keys) {
        return false;
    }
    options.keyColours = std::move(*keys);
    return true;
}

// "macro list|show NAME|add NAME ACTIONS...|delete NAME|rename OLD NEW|cycles NAME N".
bool ParseMacroArguments(CliOptions& options, std::string& error) {
    const std::vector<std::string>& words = options.arguments;
    MacroRequest& request = options.macro;
    request.action = words.front();
    struct Shape {
        const char* action;
        size_t words;  // after the action; 0 for add, which takes any number
        const char* usage;
    };
    constexpr std::array<Shape, 6> kShapes{{
        {"list", 0, "macro list"},
        {"show", 1, "macro show NAME"},
        {"add", 0, "macro add NAME ACTION..."},
        {"delete", 1, "macro delete NAME"},
        {"rename", 2, "macro rename OLD NEW"},
        {"cycles", 2, "macro cycles NAME N"},
    }};
    const auto shape = std::find_if(kShapes.begin(), kShapes.end(), [&](const Shape& s) {
        return request.action == s.action;
    });
    if (shape == kShapes.end()) {
        error = "'macro' takes list, show, add, delete, rename or cycles";
        return false;
    }
    const size_t given = words.size() - 1;
    if ((request.action == "add" && given < 2) || (request.action != "add" && given != shape->words)) {
        error = std::string("usage: zarvinctl ") + shape->usage;
        return false;
    }
    if (given >= 1) {
        request.name = words[1];
    }
    if (request.action == "rename") {
        request.newName = words[2];
    } else if (request.action == "cycles") {
        const std::string& text = words[2];
        const char* end = text.data() + text.size();
        const auto [stop, failure] = std::from_chars(text.data(), end, request.cycles);
        if (text.empty() || failure != std::errc() || stop != end || request.cycles < 1 ||
            request.cycles > 255) {
            error = "'" + text + "' is not a cycle count; a macro plays 1 to 255 cycles";
            return false;
        }
    } else if (request.action == "add") {
        auto actions = ParseMacroActions(std::vector<std::string>(words.begin() + 2, words.end()),
                                         error);
        if (!actions) {
            return false;
        }
        request.actions = std::move(*actions);
    }
    return true;
}

// "sim --uhid [MODEL]".
bool ParseSimArguments(CliOptions& options, std::string& error) {
    if (!options.uhid) {
        error = "'sim' needs --uhid (the stand-in keyboard through /dev/uhid)";
        return false;
    }
    if (options.arguments.empty()) {
        return true;
    }
    const auto model = sim::ParseSimModel(options.arguments.front());
    if (!model) {
        error = "unknown keyboard model '" + options.arguments.front() + "' (use " +
                sim::SimModelNames("or") + ")";
        return false;
    }
    options.model = *model;
    options.modelGiven = true;
    return true;
}

}  // namespace

const char* const kUsage =
    "Usage: zarvinctl [--simulate[=MODEL] [--fault FAULTS]] [--trace] [--json] [--language NAME]\n"
    "                 [--profile N] COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  list             supported keyboards and their interfaces\n"
    "  info             model, firmware version, active profile, macro capacity, effects\n"
    "  describe PATH    the parsed report descriptor of a hidraw node, or of a file that\n"
    "                   holds descriptor bytes (raw, or hex text)\n"
    "  profile [N]      print the active profile (1 to 3), or make profile N active\n"
    "  monitor          print the keyboard's arrivals, departures and notices as they\n"
    "                   happen, with a time stamp, until Ctrl+C. With --simulate, lines\n"
    "                   typed (or piped) work the stand-in keyboard: p switches its\n"
    "                   profile, l its lighting, u unplugs or plugs it in, t sends the\n"
    "                   tray notices, q quits\n"
    "  sim-reset        restore the stand-in keyboard's factory state (both models, or the\n"
    "                   one named with --simulate=MODEL)\n"
    "  backup FILE      save the keyboard's key assignments of all three profiles and its\n"
    "                   macros in a backup file (.fwc)\n"
    "  restore FILE     check a backup file, then write all its profiles and macros to the\n"
    "                   keyboard\n"
    "  show FILE        print a backup file: per profile the reassigned keys, then each\n"
    "                   macro with its cycles and actions\n"
    "  keys [--all]     print the keyboard's reassigned keys of one profile (with --all\n"
    "                   every key it has), then its macros\n"
    "  remap KEY TARGET give KEY of one profile a new function and write it to the keyboard.\n"
    "                   TARGET is another key, a mouse button or wheel step (MouseLeft,\n"
    "                   WheelUp), a multimedia key (Mute, VolumeUp), function:1 to\n"
    "                   function:11 (the keyboard's own functions), disabled, or macro:NAME\n"
    "                   (one of the keyboard's macros)\n"
    "  reset KEY        give KEY of one profile back its own function\n"
    "  lighting         print one profile's lighting: effect, brightness, speed,\n"
    "                   direction, colour, multicolour, option colour and report rate\n"
    "  lighting set FIELD=VALUE...\n"
    "                   write lighting fields of one profile as the window's panel does:\n"
    "                   effect=N (an effect the keyboard offers), brightness=0..5,\n"
    "                   speed=0..5, direction=A|B, colour=RRGGBB, multicolour=on|off,\n"
    "                   option=red|yellow|green|blue, rate=0..3\n"
    "  macro list|show NAME|add NAME ACTION...|delete NAME|rename OLD NEW|cycles NAME N\n"
    "                   the keyboard's macros, listed, shown or changed as the window's\n"
    "                   macro page does and applied; ACTIONs are KEY:down, KEY:up, KEY (a\n"
    "                   press and a release) and Nms (the time to the next action), for\n"
    "                   example: macro add Copy LeftCtrl:down C 50ms LeftCtrl:up\n"
    "  usermode MODE    load user lighting mode MODE (0 to 9) of one profile from its\n"
    "                   file and send its key colours to the keyboard\n"
    "  colours [--mode M] [KEY=RRGGBB...]  or  colours [--mode M] --all RRGGBB\n"
    "                   print the key colours of a profile's user lighting mode, or paint\n"
    "                   keys as the window's brush does: the user-mode file takes them and\n"
    "                   they are sent to the keyboard (effect 20 shows them)\n"
    "  sim --uhid [MODEL]\n"
    "                   plug the stand-in keyboard in through /dev/uhid (needs root and the\n"
    "                   uhid module) so that the real hidraw path and the udev rule can be\n"
    "                   tried; MODEL is 126 (the default) or 128. Ctrl+C unplugs it\n"
    "  targets [keys|targets|effects|macros]\n"
    "                   every key name and every remap target with what it does; with a\n"
    "                   word, only those names (macros: of the profile cache file), one a\n"
    "                   line. The keyboard is not opened\n"
    "  language [NAME]  list the languages of the window and the command line, the one in\n"
    "                   use marked; with NAME (de, pt_BR, zh_TW, ...) keep that one\n"
    "  help [COMMAND]   this text, or what COMMAND does, takes and an example\n"
    "                   (also 'zarvinctl COMMAND --help')\n"
    "  udev-check DEVPATH\n"
    "                   for the udev rule: print ZARVIN_INTERFACE=command, consumer or none\n"
    "                   for the hidraw node at /sys/DEVPATH, told from its report descriptor\n"
    "\n"
    "Keys are named as in the key table, in any case: CapsLock, LeftCtrl, F1, Num7, G1.\n"
    "\n"
    "Options:\n"
    "  --simulate[=MODEL]  use the stand-in keyboard instead of a real one; MODEL is 126\n"
    "                      (0c45:5004, the default) or 128 (320f:5000). Its memory is kept\n"
    "                      between runs until sim-reset.\n"
    "  --fault FAULTS      with --simulate: make the stand-in fail at chosen command packets\n"
    "                      (counted from 1), to reproduce a problem. FAULTS is one or more of\n"
    "                      silent@K (no reply to packet K and its three retries), lose@K\n"
    "                      (one reply lost), refuse-fe@K, refuse-ff@K (status 0xFE or 0xFF),\n"
    "                      fail-write@K (writes fail from packet K until the keyboard is\n"
    "                      opened again), unplug@K, delay=MS@K (every reply from packet K on\n"
    "                      held back MS ms), separated by commas\n"
    "  --trace             print every report sent (>) and received (<) on standard error\n"
    "  --json              print the result as one JSON object (monitor: one a line) and\n"
    "                      errors as {\"error\": ...} on standard error; the fields are in\n"
    "                      'man zarvinctl'\n"
    "  --profile N         the profile (1 to 3) that keys, remap, reset, lighting,\n"
    "                      usermode and colours work on; without it, the active profile\n"
    "  --mode M            with colours: the user mode (0 to 9); without it, the present one\n"
    "  --all               with keys: every key; with colours: every key one colour\n"
    "  --uhid              with sim: through /dev/uhid\n"
    "  --language NAME     names and messages in that language for this run (de, fr, es,\n"
    "                      pt_BR, zh_CN, zh_TW, ja, ru, en); without it, the language the\n"
    "                      window uses, first taken from LANG. --json output is English\n"
    "  --help              show this text; after a command, that command's help\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 done, 1 the keyboard or a file failed, 2 the command line was wrong\n"
    "(an unknown key name, a key or macro this keyboard does not have, or a lighting value\n"
    "out of range or an effect it does not offer, included).\n"
    "\n"
    "Commands that change the keyboard ask a running zarvin window to reload.\n"
    "Without access to the keyboard, see the udev rule in 'man zarvinctl'.\n";

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    CliOptions& options = parsed.options;
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    options.json = std::find(args.begin(), optionsEnd, "--json") != optionsEnd;
    bool optionsEnded = false;
    std::vector<std::string> words;
    for (size_t index = 0; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (optionsEnded || arg.size() < 2 || arg.rfind("--", 0) != 0) {
            words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--all") {
            options.all = true;
        } else if (arg == "--uhid") {
            options.uhid = true;
        } else if (arg == "--mode" || arg.rfind("--mode=", 0) == 0) {
            std::string number;
            if (arg != "--mode") {
                number = arg.substr(std::string("--mode=").size());
            } else if (index + 1 < args.size()) {
                number = args[++index];
            } else {
                parsed.error = "'--mode' needs a user mode, 0 to 9";
                return parsed;
            }
            options.colourMode = ParseUserMode(number, parsed.error);
            if (!options.colourMode) {
                return parsed;
            }
        } else if (arg == "--profile" || arg.rfind("--profile=", 0) == 0) {
            std::string number;
            if (arg != "--profile") {
                number = arg.substr(std::string("--profile=").size());
            } else if (index + 1 < args.size()) {
                number = args[++index];
            } else {
                parsed.error = "'--profile' needs a profile number, 1 to 3";
                return parsed;
            }
            options.profile = ParseProfileNumber(number);
            if (!options.profile) {
                parsed.error = NotAProfile(number);
                return parsed;
            }
        } else if (arg == "--fault" || arg.rfind("--fault=", 0) == 0) {
            std::string list;
            if (arg != "--fault") {
                list = arg.substr(std::string("--fault=").size());
            } else if (index + 1 < args.size()) {
                list = args[++index];
            } else {
                parsed.error = "'--fault' needs a fault, as in lose@3";
                return parsed;
            }
            std::string error;
            const auto faults = sim::ParseSimFaults(list, error);
            if (!faults) {
                parsed.error = error;
                return parsed;
            }
            options.faults.insert(options.faults.end(), faults->begin(), faults->end());
        } else if (arg == "--language" || arg.rfind("--language=", 0) == 0) {
            std::string name;
            if (arg != "--language") {
                name = arg.substr(std::string("--language=").size());
            } else if (index + 1 < args.size()) {
                name = args[++index];
            } else {
                parsed.error = "'--language' needs a language, such as de or pt_BR";
                return parsed;
            }
            options.language = ParseLanguageName(name, parsed.error);
            if (!options.language) {
                return parsed;
            }
        } else if (arg == "--simulate") {
            options.simulate = true;
        } else if (arg.rfind("--simulate=", 0) == 0) {
            const std::string name = arg.substr(std::string("--simulate=").size());
            const auto model = sim::ParseSimModel(name);
            if (!model) {
                parsed.error =
                    "unknown keyboard model '" + name + "' (use " + sim::SimModelNames("or") + ")";
                return parsed;
            }
            options.simulate = true;
            options.model = *model;
            options.modelGiven = true;
        } else {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
    }
    if (options.version) {
        return parsed;
    }
    if (!options.help && !words.empty() && words.front() == "help") {
        options.help = true;
        if (words.size() > 2) {
            parsed.error = "'help' takes at most one argument";
            return parsed;
        }
        words.erase(words.begin());
    }
    if (options.help) {
        // "COMMAND --help" and "help COMMAND" explain the command; its arguments do not count.
        if (!words.empty()) {
            options.helpCommand = words.front();
            if (FindCommandHelp(options.helpCommand) == nullptr) {
                parsed.error = "unknown command '" + options.helpCommand + "'";
            }
        }
        return parsed;
    }
    if (words.empty()) {
        parsed.error = "no command given";
        return parsed;
    }
    options.command = words.front();
    options.arguments.assign(words.begin() + 1, words.end());
    const bool forTheKeyboard = options.command != "sim-reset" && options.command != "sim";
    if (!options.faults.empty() && (!options.simulate || !forTheKeyboard)) {
        parsed.error = "'--fault' works only with --simulate and a command for the keyboard";
        return parsed;
    }
    const auto shape = std::find_if(kCommands.begin(), kCommands.end(), [&](const CommandShape& c) {
        return options.command == c.name;
    });
    if (shape == kCommands.end()) {
        parsed.error = "unknown command '" + options.command + "'";
    } else if (options.arguments.size() < shape->minArguments ||
               options.arguments.size() > shape->maxArguments) {
        parsed.error = "'" + options.command + "' takes " + ArityText(*shape);
    } else if (options.command == "profile" && !options.arguments.empty()) {
        options.newProfile = ParseProfileNumber(options.arguments.front());
        if (!options.newProfile) {
            parsed.error = NotAProfile(options.arguments.front());
        }
    } else if (options.profile && std::find(kProfileCommands.begin(), kProfileCommands.end(),
                                            options.command) == kProfileCommands.end()) {
        parsed.error =
            "'--profile' goes with keys, remap, reset, lighting, usermode and colours only";
    } else if (options.command == "remap" || options.command == "reset") {
        ParseKeyArguments(options, parsed.error);
    } else if (options.command == "lighting" && !options.arguments.empty()) {
        ParseLightingArguments(options, parsed.error);
    } else if (options.command == "usermode") {
        ParseUserModeArgument(options, parsed.error);
    } else if (options.command == "macro") {
        ParseMacroArguments(options, parsed.error);
    } else if (options.command == "colours") {
        ParseColoursArguments(options, parsed.error);
    } else if (options.command == "sim") {
        ParseSimArguments(options, parsed.error);
    } else if (options.command == "language" && !options.arguments.empty()) {
        options.newLanguage = ParseLanguageName(options.arguments.front(), parsed.error);
    }
    if (parsed.error.empty() && options.all && options.command != "keys" &&
        options.command != "colours") {
        parsed.error = "'--all' goes with keys and colours only";
    }
    if (parsed.error.empty() && options.colourMode && options.command != "colours") {
        parsed.error = "'--mode' goes with colours only";
    }
    if (parsed.error.empty() && options.uhid && options.command != "sim") {
        parsed.error = "'--uhid' goes with sim only";
    }
    if (parsed.error.empty() && options.json &&
        (options.command == "sim" || options.command == "udev-check")) {
        parsed.error = "'--json' does not go with " + options.command;
    }
    return parsed;
}

}  // namespace zarvin::cli
