#pragma once

// What `zarvinctl help COMMAND` and `zarvinctl COMMAND --help` print: per command its usage
// line, what it does and takes, and an example.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zarvin::cli {

struct CommandHelp {
    const char* name;
    // The words after the command, as in "remap KEY TARGET".
    const char* arguments;
    // The language file's keys (cli/CliTextKeys.h) of its line in the usage text and of what
    // it does and what its arguments take.
    std::string_view summaryKey;
    std::string_view textKey;
    // One or more example lines, without the prompt.
    const char* example;
};

// Every command, in the order of the usage text.
std::span<const CommandHelp> AllCommandHelp();

// The entry of `command`; nothing for a word that is no command.
const CommandHelp* FindCommandHelp(std::string_view command);

// The whole help text of one command, in the command line's language.
std::string FormatCommandHelp(const CommandHelp& help);

// What "zarvinctl --help" prints: every command and option, in the command line's language.
std::string UsageText();

}  // namespace zarvin::cli
