#include "cli/CliOptions.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "device/CommandProtocol.h"

namespace zarvin::cli {
namespace {

struct CommandShape {
    const char* name;
    size_t minArguments;
    size_t maxArguments;
};

constexpr std::array kCommands{
    CommandShape{"list", 0, 0},
    CommandShape{"info", 0, 0},
    CommandShape{"describe", 1, 1},
    CommandShape{"profile", 0, 1},
    CommandShape{"monitor", 0, 0},
    CommandShape{"sim-reset", 0, 0},
};

std::string ArityText(const CommandShape& shape) {
    if (shape.maxArguments == 0) {
        return "no argument";
    }
    if (shape.minArguments == 0) {
        return "at most one argument";
    }
    return "one argument";
}

// A profile number, 0 to 2, in decimal digits only.
std::optional<int> ParseProfileNumber(const std::string& text) {
    int profile = -1;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, profile);
    if (text.empty() || error != std::errc() || stop != end || profile < 0 ||
        profile >= kProfileCount) {
        return std::nullopt;
    }
    return profile;
}

}  // namespace

const char* const kUsage =
    "Usage: zarvinctl [--simulate[=MODEL]] [--trace] COMMAND [ARGUMENT]\n"
    "\n"
    "Commands:\n"
    "  list             supported keyboards and their interfaces\n"
    "  info             model, firmware version, active profile, macro capacity, effects\n"
    "  describe PATH    the parsed report descriptor of a hidraw node, or of a file that\n"
    "                   holds descriptor bytes (raw, or hex text)\n"
    "  profile [N]      print the active profile (0 to 2), or make profile N active\n"
    "  monitor          print the keyboard's arrivals, departures and notices as they\n"
    "                   happen, with a time stamp, until Ctrl+C. With --simulate, lines\n"
    "                   typed (or piped) work the stand-in keyboard: p switches its\n"
    "                   profile, l its lighting, u unplugs or plugs it in, t sends the\n"
    "                   tray notices, q quits\n"
    "  sim-reset        restore the stand-in keyboard's factory state (both models, or the\n"
    "                   one named with --simulate=MODEL)\n"
    "\n"
    "Options:\n"
    "  --simulate[=MODEL]  use the stand-in keyboard instead of a real one; MODEL is 126\n"
    "                      (0c45:5004, the default) or 128 (320f:5000). Its memory is kept\n"
    "                      between runs until sim-reset.\n"
    "  --trace             print every report sent (>) and received (<) on standard error\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 done, 1 the keyboard or a file failed, 2 the command line was wrong.\n";

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    CliOptions& options = parsed.options;
    bool optionsEnded = false;
    std::vector<std::string> words;
    for (const std::string& arg : args) {
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
        } else if (arg == "--simulate") {
            options.simulate = true;
        } else if (arg.rfind("--simulate=", 0) == 0) {
            const std::string name = arg.substr(std::string("--simulate=").size());
            const auto model = sim::ParseSimModel(name);
            if (!model) {
                parsed.error = "unknown keyboard model '" + name + "' (use 126 or 128)";
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
    if (options.help || options.version) {
        return parsed;
    }
    if (words.empty()) {
        parsed.error = "no command given";
        return parsed;
    }
    options.command = words.front();
    options.arguments.assign(words.begin() + 1, words.end());
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
            parsed.error = "'" + options.arguments.front() +
                           "' is not a profile; the profiles are numbered 0 to 2";
        }
    }
    return parsed;
}

}  // namespace zarvin::cli
