#include "cli/CliOptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <string>
#include <string_view>

#include "cli/CliTextKeys.h"
#include "cli/ColourArguments.h"
#include "cli/CommandLineTexts.h"
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

// "'COMMAND' takes ..." for a command given too few or too many arguments.
std::string ArityError(const CommandShape& shape) {
    const std::string_view name = shape.name;
    if (shape.maxArguments == 0) {
        return CliFormat(cli_text::TAKES_NO_ARGUMENT, {name});
    }
    if (shape.maxArguments > 2) {
        return shape.minArguments == 0
                   ? CliFormat(cli_text::TAKES_AT_MOST_ARGUMENTS,
                               {name, std::to_string(shape.maxArguments)})
                   : CliFormat(cli_text::TAKES_AT_LEAST_ONE_ARGUMENT, {name});
    }
    if (shape.minArguments == 0) {
        return CliFormat(cli_text::TAKES_AT_MOST_ONE_ARGUMENT, {name});
    }
    return CliFormat(shape.maxArguments == 1 ? cli_text::TAKES_ONE_ARGUMENT
                                             : cli_text::TAKES_TWO_ARGUMENTS,
                     {name});
}

std::string UnknownModel(const std::string& name) {
    std::vector<std::string_view> models;
    for (const sim::SimModel model : sim::AllSimModels()) {
        models.push_back(sim::InfoOf(model).name);
    }
    return CliFormat(cli_text::UNKNOWN_MODEL, {name, OneOf(models)});
}

// "'OPTION' goes with COMMANDS only".
std::string GoesWithOnly(std::string_view option, std::span<const std::string_view> commands) {
    return CliFormat(cli_text::OPTION_GOES_WITH, {option, OneOf(commands)});
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
        std::string codes;
        for (const std::string_view code : LanguageCodes) {
            codes += (codes.empty() ? "" : " ") + std::string(code);
        }
        error = CliFormat(cli_text::NO_SUCH_LANGUAGE, {text, codes});
    }
    return index;
}

// The language of "--language NAME" or "--language=NAME" among the options, also when something
// before it is wrong, so that the error is worded in it; nothing when none is named or known.
std::optional<int> LanguageAmongOptions(std::vector<std::string>::const_iterator begin,
                                        std::vector<std::string>::const_iterator end) {
    constexpr std::string_view kJoined = "--language=";
    for (auto arg = begin; arg != end; ++arg) {
        if (*arg == "--language" && arg + 1 != end) {
            return LanguageIndexOfName(*(arg + 1));
        }
        if (arg->rfind(kJoined, 0) == 0) {
            return LanguageIndexOfName(arg->substr(kJoined.size()));
        }
    }
    return std::nullopt;
}

std::string NotAProfile(const std::string& text) {
    return CliFormat(cli_text::NOT_A_PROFILE, {text});
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
        error = CliText(cli_text::LIGHTING_TAKES);
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
        error = CliFormat(cli_text::NOT_A_USER_MODE, {text});
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
        error = CliText(cli_text::MACRO_TAKES);
        return false;
    }
    const size_t given = words.size() - 1;
    if ((request.action == "add" && given < 2) || (request.action != "add" && given != shape->words)) {
        error = CliFormat(cli_text::USAGE_ERROR, {shape->usage});
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
            error = CliFormat(cli_text::NOT_A_CYCLE_COUNT, {text});
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
        error = CliText(cli_text::SIM_NEEDS_UHID);
        return false;
    }
    if (options.arguments.empty()) {
        return true;
    }
    const auto model = sim::ParseSimModel(options.arguments.front());
    if (!model) {
        error = UnknownModel(options.arguments.front());
        return false;
    }
    options.model = *model;
    options.modelGiven = true;
    return true;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    CliOptions& options = parsed.options;
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    options.json = std::find(args.begin(), optionsEnd, "--json") != optionsEnd;
    options.language = LanguageAmongOptions(args.begin(), optionsEnd);
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
                parsed.error = CliText(cli_text::OPTION_NEEDS_MODE);
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
                parsed.error = CliText(cli_text::OPTION_NEEDS_PROFILE);
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
                parsed.error = CliText(cli_text::OPTION_NEEDS_FAULT);
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
                parsed.error = CliText(cli_text::OPTION_NEEDS_LANGUAGE);
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
                parsed.error = UnknownModel(name);
                return parsed;
            }
            options.simulate = true;
            options.model = *model;
            options.modelGiven = true;
        } else {
            parsed.error = CliFormat(cli_text::UNKNOWN_OPTION, {arg});
            return parsed;
        }
    }
    if (options.version) {
        return parsed;
    }
    if (!options.help && !words.empty() && words.front() == "help") {
        options.help = true;
        if (words.size() > 2) {
            parsed.error = CliFormat(cli_text::TAKES_AT_MOST_ONE_ARGUMENT, {"help"});
            return parsed;
        }
        words.erase(words.begin());
    }
    if (options.help) {
        // "COMMAND --help" and "help COMMAND" explain the command; its arguments do not count.
        if (!words.empty()) {
            options.helpCommand = words.front();
            if (FindCommandHelp(options.helpCommand) == nullptr) {
                parsed.error = CliFormat(cli_text::UNKNOWN_COMMAND, {options.helpCommand});
            }
        }
        return parsed;
    }
    if (words.empty()) {
        parsed.error = CliText(cli_text::NO_COMMAND);
        return parsed;
    }
    options.command = words.front();
    options.arguments.assign(words.begin() + 1, words.end());
    const bool forTheKeyboard = options.command != "sim-reset" && options.command != "sim";
    if (!options.faults.empty() && (!options.simulate || !forTheKeyboard)) {
        parsed.error = CliText(cli_text::FAULT_ONLY_SIMULATE);
        return parsed;
    }
    const auto shape = std::find_if(kCommands.begin(), kCommands.end(), [&](const CommandShape& c) {
        return options.command == c.name;
    });
    if (shape == kCommands.end()) {
        parsed.error = CliFormat(cli_text::UNKNOWN_COMMAND, {options.command});
    } else if (options.arguments.size() < shape->minArguments ||
               options.arguments.size() > shape->maxArguments) {
        parsed.error = ArityError(*shape);
    } else if (options.command == "profile" && !options.arguments.empty()) {
        options.newProfile = ParseProfileNumber(options.arguments.front());
        if (!options.newProfile) {
            parsed.error = NotAProfile(options.arguments.front());
        }
    } else if (options.profile && std::find(kProfileCommands.begin(), kProfileCommands.end(),
                                            options.command) == kProfileCommands.end()) {
        parsed.error = GoesWithOnly("--profile", kProfileCommands);
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
        parsed.error = GoesWithOnly("--all", std::array<std::string_view, 2>{"keys", "colours"});
    }
    if (parsed.error.empty() && options.colourMode && options.command != "colours") {
        parsed.error = GoesWithOnly("--mode", std::array<std::string_view, 1>{"colours"});
    }
    if (parsed.error.empty() && options.uhid && options.command != "sim") {
        parsed.error = GoesWithOnly("--uhid", std::array<std::string_view, 1>{"sim"});
    }
    if (parsed.error.empty() && options.json &&
        (options.command == "sim" || options.command == "udev-check")) {
        parsed.error = CliFormat(cli_text::JSON_NOT_WITH, {options.command});
    }
    return parsed;
}

}  // namespace zarvin::cli
