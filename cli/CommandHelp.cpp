#include "cli/CommandHelp.h"

#include <algorithm>
#include <array>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/TextWrap.h"

namespace zarvin::cli {
namespace {

// Lines of the usage and help texts.
constexpr size_t kWidth = 78;
// Where the usage text's descriptions of the commands and options start.
constexpr size_t kCommandColumn = 19;
constexpr size_t kOptionColumn = 22;

// clang-format off
constexpr std::array kHelp{
    CommandHelp{"list", "", cli_text::SUMMARY_LIST, cli_text::HELP_LIST,
        "zarvinctl list\nzarvinctl --json list"},
    CommandHelp{"info", "", cli_text::SUMMARY_INFO, cli_text::HELP_INFO,
        "zarvinctl --simulate info"},
    CommandHelp{"describe", "PATH", cli_text::SUMMARY_DESCRIBE, cli_text::HELP_DESCRIBE,
        "zarvinctl describe /dev/hidraw3"},
    CommandHelp{"profile", "[N]", cli_text::SUMMARY_PROFILE, cli_text::HELP_PROFILE,
        "zarvinctl profile\nzarvinctl profile 2"},
    CommandHelp{"monitor", "", cli_text::SUMMARY_MONITOR, cli_text::HELP_MONITOR,
        "printf 'p\\nq\\n' | zarvinctl --simulate monitor"},
    CommandHelp{"sim-reset", "", cli_text::SUMMARY_SIM_RESET, cli_text::HELP_SIM_RESET,
        "zarvinctl --simulate=128 sim-reset"},
    CommandHelp{"backup", "FILE", cli_text::SUMMARY_BACKUP, cli_text::HELP_BACKUP,
        "zarvinctl backup ~/keyboard.fwc"},
    CommandHelp{"restore", "FILE", cli_text::SUMMARY_RESTORE, cli_text::HELP_RESTORE,
        "zarvinctl restore ~/keyboard.fwc"},
    CommandHelp{"show", "FILE", cli_text::SUMMARY_SHOW, cli_text::HELP_SHOW,
        "zarvinctl show ~/keyboard.fwc"},
    CommandHelp{"keys", "[--all]", cli_text::SUMMARY_KEYS, cli_text::HELP_KEYS,
        "zarvinctl --profile 2 keys\nzarvinctl keys --all"},
    CommandHelp{"remap", "KEY TARGET", cli_text::SUMMARY_REMAP, cli_text::HELP_REMAP,
        "zarvinctl remap CapsLock LeftCtrl\nzarvinctl --profile 3 remap F1 macro:Copy"},
    CommandHelp{"reset", "KEY", cli_text::SUMMARY_RESET, cli_text::HELP_RESET,
        "zarvinctl reset CapsLock"},
    CommandHelp{"lighting", "[set FIELD=VALUE...]", cli_text::SUMMARY_LIGHTING, cli_text::HELP_LIGHTING,
        "zarvinctl lighting\nzarvinctl lighting set effect=3 brightness=4 colour=ff8000"},
    CommandHelp{"macro", "list|show NAME|add NAME ACTION...|delete NAME|rename OLD NEW|cycles NAME N", cli_text::SUMMARY_MACRO, cli_text::HELP_MACRO,
        "zarvinctl macro add Copy LeftCtrl:down C 50ms LeftCtrl:up\n"
        "zarvinctl remap F5 macro:Copy"},
    CommandHelp{"usermode", "MODE", cli_text::SUMMARY_USERMODE, cli_text::HELP_USERMODE,
        "zarvinctl usermode 3"},
    CommandHelp{"colours", "[--mode M] [KEY=RRGGBB...] | [--mode M] --all RRGGBB", cli_text::SUMMARY_COLOURS, cli_text::HELP_COLOURS,
        "zarvinctl colours F1=ff0000 Esc=00ff00\n"
        "zarvinctl colours --mode 2 --all 202020\n"
        "zarvinctl colours > my-colours.txt"},
    CommandHelp{"sim", "--uhid [MODEL]", cli_text::SUMMARY_SIM, cli_text::HELP_SIM,
        "sudo zarvinctl sim --uhid 128"},
    CommandHelp{"targets", "[keys|targets|effects|macros]", cli_text::SUMMARY_TARGETS, cli_text::HELP_TARGETS,
        "zarvinctl targets\nzarvinctl targets effects"},
    CommandHelp{"language", "[NAME]", cli_text::SUMMARY_LANGUAGE, cli_text::HELP_LANGUAGE,
        "zarvinctl language\nzarvinctl language de"},
    CommandHelp{"help", "[COMMAND]", cli_text::SUMMARY_HELP, cli_text::HELP_HELP,
        "zarvinctl help remap"},
    CommandHelp{"udev-check", "DEVPATH", cli_text::SUMMARY_UDEV_CHECK, cli_text::HELP_UDEV_CHECK,
        "zarvinctl udev-check /devices/pci0000:00/.../hidraw/hidraw3"},
};
// clang-format on

struct OptionHelp {
    const char* synopsis;
    std::string_view textKey;
};

// clang-format off
constexpr std::array kOptions{
    OptionHelp{"--simulate[=MODEL]", cli_text::OPTION_SIMULATE},
    OptionHelp{"--fault FAULTS", cli_text::OPTION_FAULT},
    OptionHelp{"--trace", cli_text::OPTION_TRACE},
    OptionHelp{"--json", cli_text::OPTION_JSON},
    OptionHelp{"--profile N", cli_text::OPTION_PROFILE},
    OptionHelp{"--mode M", cli_text::OPTION_MODE},
    OptionHelp{"--all", cli_text::OPTION_ALL},
    OptionHelp{"--uhid", cli_text::OPTION_UHID},
    OptionHelp{"--language NAME", cli_text::OPTION_LANGUAGE},
    OptionHelp{"--help", cli_text::OPTION_HELP},
    OptionHelp{"--version", cli_text::OPTION_VERSION},
};
// clang-format on

// A row of a two-column table: the synopsis, then the text from `column` on; a synopsis too
// wide for its column stands on a line of its own.
std::string TableRow(std::string_view synopsis, std::string_view text, size_t column) {
    const std::string indent(column, ' ');
    std::string first = "  " + std::string(synopsis);
    if (first.size() + 1 > column) {
        return first + '\n' + WrapText(text, kWidth, indent, indent);
    }
    first.resize(column, ' ');
    return WrapText(text, kWidth, first, indent);
}

}  // namespace

std::span<const CommandHelp> AllCommandHelp() { return kHelp; }

const CommandHelp* FindCommandHelp(std::string_view command) {
    const auto found = std::find_if(kHelp.begin(), kHelp.end(),
                                    [&](const CommandHelp& help) { return help.name == command; });
    return found == kHelp.end() ? nullptr : &*found;
}

std::string FormatCommandHelp(const CommandHelp& help) {
    std::string text = CliText(cli_text::USAGE) + " zarvinctl [OPTIONS] " + std::string(help.name);
    if (*help.arguments != '\0') {
        text += ' ' + std::string(help.arguments);
    }
    text += "\n\n" + WrapText(CliText(help.textKey), kWidth, "", "") + '\n' +
            CliText(cli_text::EXAMPLE) + '\n';
    std::string_view examples = help.example;
    while (!examples.empty()) {
        const size_t end = std::min(examples.find('\n'), examples.size());
        text += "  " + std::string(examples.substr(0, end)) + '\n';
        examples.remove_prefix(std::min(end + 1, examples.size()));
    }
    return text + '\n' + WrapText(CliText(cli_text::OPTIONS_HINT), kWidth, "", "");
}

std::string UsageText() {
    const std::string usage = CliText(cli_text::USAGE) + " zarvinctl ";
    std::string text = usage +
                       "[--simulate[=MODEL] [--fault FAULTS]] [--trace] [--json] [--language NAME]\n" +
                       std::string(DisplayWidth(usage), ' ') + "[--profile N] COMMAND [ARGUMENTS]\n\n" +
                       CliText(cli_text::COMMANDS) + '\n';
    for (const CommandHelp& help : kHelp) {
        const std::string synopsis =
            std::string(help.name) + (*help.arguments != '\0' ? " " + std::string(help.arguments) : "");
        text += TableRow(synopsis, CliText(help.summaryKey), kCommandColumn);
    }
    text += '\n' + WrapText(CliText(cli_text::KEYS_NOTE), kWidth, "", "") + '\n' +
            CliText(cli_text::OPTIONS) + '\n';
    for (const OptionHelp& option : kOptions) {
        text += TableRow(option.synopsis, CliText(option.textKey), kOptionColumn);
    }
    return text + '\n' + WrapText(CliText(cli_text::EXIT_STATUS), kWidth, "", "") + '\n' +
           WrapText(CliText(cli_text::RELOAD_NOTE), kWidth, "", "");
}

}  // namespace zarvin::cli
