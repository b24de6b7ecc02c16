#include "cli/CommandHelp.h"

#include <algorithm>
#include <array>

namespace zarvin::cli {
namespace {

// clang-format off
constexpr std::array kHelp{
    CommandHelp{"list", "",
        "Lists the supported keyboards attached and, per interface, its path and role\n"
        "(command interface, event interface) with its usage page and usage.\n",
        "zarvinctl list\nzarvinctl --json list"},
    CommandHelp{"info", "",
        "Prints the keyboard's ids and key count, the interface used, the firmware\n"
        "version, the active profile (1 to 3), the macro capacity in bytes and the\n"
        "lighting effects it offers.\n",
        "zarvinctl --simulate info"},
    CommandHelp{"describe", "PATH",
        "Prints the parsed report descriptor of a hidraw node (PATH as 'list' prints\n"
        "it, with or without its '#...' part) or of a file holding descriptor bytes,\n"
        "raw or as hex text.\n",
        "zarvinctl describe /dev/hidraw3"},
    CommandHelp{"profile", "[N]",
        "Without N, prints the active profile (1 to 3) alone on a line. With N, makes\n"
        "profile N (1 to 3) the active one, as the window's profile buttons do.\n",
        "zarvinctl profile\nzarvinctl profile 2"},
    CommandHelp{"monitor", "",
        "Prints the keyboard's arrivals, departures and notices as they happen, one\n"
        "line each with a time stamp, until Ctrl+C. With --simulate, lines typed (or\n"
        "piped) work the stand-in keyboard: p switches its profile, l its lighting,\n"
        "u unplugs or plugs it in, t sends the tray notices, q quits.\n",
        "printf 'p\\nq\\n' | zarvinctl --simulate monitor"},
    CommandHelp{"sim-reset", "",
        "Puts the stand-in keyboard back into its factory state: both models, or the\n"
        "one named with --simulate=MODEL.\n",
        "zarvinctl --simulate=128 sim-reset"},
    CommandHelp{"backup", "FILE",
        "Saves the key assignments of all three profiles and the macros in a backup\n"
        "file (.fwc), as the window's export does.\n",
        "zarvinctl backup ~/keyboard.fwc"},
    CommandHelp{"restore", "FILE",
        "Checks a backup file, then writes all its profiles and macros to the\n"
        "keyboard, as the window's import does. A file that is no backup, or a\n"
        "damaged one, is refused and nothing is written.\n",
        "zarvinctl restore ~/keyboard.fwc"},
    CommandHelp{"show", "FILE",
        "Prints a backup file: per profile the reassigned keys, then each macro with\n"
        "its cycles and actions. The keyboard is not needed.\n",
        "zarvinctl show ~/keyboard.fwc"},
    CommandHelp{"keys", "[--all]",
        "Prints the reassigned keys of one profile (--profile N, 1 to 3; by default\n"
        "the active one), or with --all every key the keyboard has with what it does,\n"
        "then the macros.\n",
        "zarvinctl --profile 2 keys\nzarvinctl keys --all"},
    CommandHelp{"remap", "KEY TARGET",
        "Gives KEY of one profile (--profile N, 1 to 3; by default the active one) a\n"
        "new function and writes it to the keyboard. Keys are named as in the key\n"
        "table, in any case. TARGET is another key, a mouse button or wheel step\n"
        "(MouseLeft, WheelUp), a multimedia key (Mute, VolumeUp), function:1 to\n"
        "function:11 (the keyboard's own functions), disabled, or macro:NAME (one of\n"
        "the keyboard's macros).\n",
        "zarvinctl remap CapsLock LeftCtrl\nzarvinctl --profile 3 remap F1 macro:Copy"},
    CommandHelp{"reset", "KEY",
        "Gives KEY of one profile (--profile N, 1 to 3; by default the active one)\n"
        "back its own function and writes it to the keyboard.\n",
        "zarvinctl reset CapsLock"},
    CommandHelp{"lighting", "[set FIELD=VALUE...]",
        "Without arguments, prints one profile's lighting (--profile N, 1 to 3; by\n"
        "default the active one): effect, brightness, speed, direction, colour,\n"
        "multicolour, option colour and report rate. With 'set', writes the fields\n"
        "given as the window's lighting panel does: effect=N (an effect the keyboard\n"
        "offers), brightness=0..5, speed=0..5, direction=A|B, colour=RRGGBB,\n"
        "multicolour=on|off, option=red|yellow|green|blue, rate=0..3.\n",
        "zarvinctl lighting\nzarvinctl lighting set effect=3 brightness=4 colour=ff8000"},
    CommandHelp{"macro", "list|show NAME|add NAME ACTION...|delete NAME|rename OLD NEW|cycles NAME N",
        "Lists the keyboard's macros, shows one in the ACTION form, or changes them\n"
        "as the window's macro page does, then writes them as its Apply does. An\n"
        "ACTION is KEY:down (a press), KEY:up (a release), KEY (a press and a\n"
        "release) or Nms (the time from the action before to the next one, at most\n"
        "40000, in steps of 10). A macro has at most 4000 actions and plays 1 to 255\n"
        "cycles; the keyboard holds 100 macros. A macro that keys play is not\n"
        "deleted. 'remap KEY macro:NAME' gives a key the macro.\n",
        "zarvinctl macro add Copy LeftCtrl:down C 50ms LeftCtrl:up\n"
        "zarvinctl remap F5 macro:Copy"},
    CommandHelp{"usermode", "MODE",
        "Loads user lighting mode MODE (0 to 9) of one profile (--profile N, 1 to 3;\n"
        "by default the active one) from its file and sends its key colours to the\n"
        "keyboard, as choosing a mode in the window's user-mode list does.\n",
        "zarvinctl usermode 3"},
    CommandHelp{"colours", "[--mode M] [KEY=RRGGBB...] | [--mode M] --all RRGGBB",
        "Without keys, prints the colour of every key in a user lighting mode (--mode M,\n"
        "0 to 9; by default the present one) of one profile (--profile N, 1 to 3; by\n"
        "default the active one), from its user-mode file, as KEY=RRGGBB lines. With\n"
        "KEY=RRGGBB words, or --all and one colour for every key, paints the keys as\n"
        "the window's own-colour brush does: --mode M first becomes the present mode,\n"
        "the file takes the colours and all key colours are sent. The keyboard shows\n"
        "them with effect 20 (lighting set effect=20). Fn is named Fn; the G keys\n"
        "share one colour.\n",
        "zarvinctl colours F1=ff0000 Esc=00ff00\n"
        "zarvinctl colours --mode 2 --all 202020\n"
        "zarvinctl colours > my-colours.txt"},
    CommandHelp{"udev-check", "DEVPATH",
        "For the udev rule: prints ZARVIN_INTERFACE=command, consumer or none for the\n"
        "hidraw node at /sys/DEVPATH, told from its report descriptor.\n",
        "zarvinctl udev-check /devices/pci0000:00/.../hidraw/hidraw3"},
    CommandHelp{"sim", "--uhid [MODEL]",
        "Plugs the stand-in keyboard in through /dev/uhid (needs root and the uhid\n"
        "module) so that the real hidraw path and the udev rule can be tried; MODEL\n"
        "is 126 (the default) or 128. Ctrl+C unplugs it.\n",
        "sudo zarvinctl sim --uhid 128"},
    CommandHelp{"targets", "[keys|targets|effects|macros]",
        "Lists every key name (KEY of remap and reset, and of colours) and every\n"
        "remap target with what it does: keys, mouse buttons and wheel steps,\n"
        "multimedia keys, function:1 to function:11, disabled and macro:NAME for the\n"
        "macros of the profile cache file. With a word, prints only those names, or\n"
        "the effect names that 'lighting set effect=NAME' takes, one a line. The\n"
        "keyboard is not opened.\n",
        "zarvinctl targets\nzarvinctl targets effects"},
    CommandHelp{"language", "[NAME]",
        "Lists the languages of the window and the command line, each with the name\n"
        "--language takes and its own name, the one in use marked with *. With NAME\n"
        "(de, fr, es, pt_BR, zh_CN, zh_TW, ja, ru, en, or a locale such as de_AT)\n"
        "keeps that language for both: the window shows it from its next start,\n"
        "or at once through its backup menu. The keyboard is not opened.\n",
        "zarvinctl language\nzarvinctl language de"},
    CommandHelp{"help", "[COMMAND]",
        "Prints the usage of every command, or of COMMAND: what it does, its\n"
        "arguments and an example. 'zarvinctl COMMAND --help' does the same.\n",
        "zarvinctl help remap"},
};
// clang-format on

}  // namespace

std::span<const CommandHelp> AllCommandHelp() { return kHelp; }

const CommandHelp* FindCommandHelp(std::string_view command) {
    const auto found = std::find_if(kHelp.begin(), kHelp.end(),
                                    [&](const CommandHelp& help) { return help.name == command; });
    return found == kHelp.end() ? nullptr : &*found;
}

std::string FormatCommandHelp(const CommandHelp& help) {
    std::string text = "Usage: zarvinctl [OPTIONS] " + std::string(help.name);
    if (*help.arguments != '\0') {
        text += ' ' + std::string(help.arguments);
    }
    text += "\n\n" + std::string(help.text) + "\nExample:\n";
    std::string_view examples = help.example;
    while (!examples.empty()) {
        const size_t end = std::min(examples.find('\n'), examples.size());
        text += "  " + std::string(examples.substr(0, end)) + '\n';
        examples.remove_prefix(std::min(end + 1, examples.size()));
    }
    return text + "\nThe options are in 'zarvinctl --help'.\n";
}

}  // namespace zarvin::cli
