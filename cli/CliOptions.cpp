#include "cli/CliOptions.h"

#include <algorithm>
#include <array>

namespace zarvin::cli {
namespace {

struct CommandShape {
    const char* name;
    size_t arguments;
};

constexpr std::array kCommands{
    CommandShape{"list", 0},
    CommandShape{"info", 0},
    CommandShape{"describe", 1},
    CommandShape{"sim-reset", 0},
};

}  // namespace

const char* const kUsage =
    "Usage: zarvinctl [--simulate[=MODEL]] [--trace] COMMAND [ARGUMENT]\n"
    "\n"
    "Commands:\n"
    "  list             supported keyboards and their interfaces\n"
    "  info             model, firmware version, active profile, macro capacity, effects\n"
    "  describe PATH    the parsed report descriptor of a hidraw node, or of a file that\n"
    "                   holds descriptor bytes (raw, or hex text)\n"
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
    } else if (options.arguments.size() != shape->arguments) {
        parsed.error = "'" + options.command + "' takes " +
                       (shape->arguments == 0 ? std::string("no argument") : "one argument");
    }
    return parsed;
}

}  // namespace zarvin::cli
