#pragma once

// The commands of zarvinctl. Each writes its result to `out` and its errors (one line, without
// the program name) to `err`, and returns the exit status. With OutputForm::Json the result is
// one JSON object on one line (JsonOutput.h); errors stay lines for the caller to wrap.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/JsonOutput.h"
#include "cli/KeyArguments.h"
#include "cli/LightingArguments.h"
#include "control/KeyColours.h"
#include "device/HidNodeSource.h"
#include "model/KeyCodes.h"
#include "model/MacroRecord.h"

namespace zarvin {
class AppContext;
}

namespace zarvin::sim {
class SimKeyboard;
enum class SimModel;
}

namespace zarvin::cli {

class KeyboardConnection;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The number a profile is shown with, as in the window: 1 to 3 for the keyboard's 0 to 2.
inline int ShownProfile(int index) { return index + 1; }

int RunList(HidNodeSource& source, std::ostream& out, std::ostream& err,
            OutputForm form = OutputForm::Text);

// `label` is added to the keyboard line, for example "(stand-in)". Effect names come from the
// language file in context.programFolder.
int RunInfo(KeyboardConnection& connection, const AppContext& context, const std::string& label,
            std::ostream& out, std::ostream& err, OutputForm form = OutputForm::Text);

// Without `newProfile`, prints the active profile alone on a line (1 to 3); with it, makes that
// profile (an index, 0 to 2) active and prints nothing. As JSON both print the profile active
// afterwards.
int RunProfile(KeyboardConnection& connection, std::optional<int> newProfile, std::ostream& out,
               std::ostream& err, OutputForm form = OutputForm::Text);

// Prints the keyboard's arrivals, departures and notices, one line each with a time stamp,
// until SIGINT or SIGTERM. With `standIn`, lines read from standard input, when it is a
// terminal or a pipe, work the stand-in keyboard's controls (StandInControls); 'q' or the end
// of the input also ends. Hints and trace lines go to `err` as they come.
int RunMonitor(HidNodeSource& source, sim::SimKeyboard* standIn, bool trace, std::ostream& out,
               std::ostream& err, OutputForm form = OutputForm::Text);

// PATH names a node of `source` (with or without its "#..." part) or a descriptor file.
int RunDescribe(HidNodeSource& source, const std::string& path, std::ostream& out,
                std::ostream& err, OutputForm form = OutputForm::Text);

// The key and macro commands. Texts come from the language file in context.programFolder; the
// profile cache file in context.userDataFolder follows the keyboard, as it does for the window.

// Writes the keyboard's key maps and macros to FILE in the backup file form.
int RunBackup(KeyboardConnection& connection, const AppContext& context,
              const std::filesystem::path& file, std::ostream& out, std::ostream& err,
              OutputForm form = OutputForm::Text);

// Checks FILE, loads it, saves it as the cache file and writes all profiles and the macros to
// the keyboard. A file that is no backup or is damaged is an error, and nothing is written.
int RunRestore(KeyboardConnection& connection, const AppContext& context,
               const std::filesystem::path& file, std::ostream& out, std::ostream& err,
               OutputForm form = OutputForm::Text);

// Prints a backup file: per profile its reassigned keys, then its macros.
int RunShow(const AppContext& context, const std::filesystem::path& file, std::ostream& out,
            std::ostream& err, OutputForm form = OutputForm::Text);

// Prints the keyboard's reassigned keys of `profile` (by default the active one), or with
// `allKeys` every key of its key matrix, then its macros.
int RunKeys(KeyboardConnection& connection, const AppContext& context, std::optional<int> profile,
            bool allKeys, std::ostream& out, std::ostream& err,
            OutputForm form = OutputForm::Text);

// Gives `key` of `profile` (by default the active one) the assignment `target` (Default
// for reset) and writes it to the keyboard. A key this keyboard lacks, or a macro name it does
// not hold, is a usage error.
int RunRemap(KeyboardConnection& connection, const AppContext& context, std::optional<int> profile,
             KeyCode key, const RemapTarget& target, std::ostream& out, std::ostream& err,
             OutputForm form = OutputForm::Text);

// Prints the lighting record of `profile` (by default the active one) in words.
int RunLighting(KeyboardConnection& connection, const AppContext& context,
                std::optional<int> profile, std::ostream& out, std::ostream& err,
                OutputForm form = OutputForm::Text);

// Writes the given lighting fields of `profile` (by default the active one) as the window's
// panel does, then prints what was written. An effect the keyboard does not offer is a usage
// error and nothing is written.
int RunLightingSet(KeyboardConnection& connection, const AppContext& context,
                   std::optional<int> profile, const LightingSettings& settings, std::ostream& out,
                   std::ostream& err, OutputForm form = OutputForm::Text);

// Loads user mode `mode` (0 to 9) of `profile` (by default the active one) from its file, as the
// window's user-mode combo does, and sends its key colours. A profile without a file gets the
// factory modes first.
int RunUserMode(KeyboardConnection& connection, const AppContext& context,
                std::optional<int> profile, int mode, std::ostream& out, std::ostream& err,
                OutputForm form = OutputForm::Text);

// Without keys, prints the colours of every key in user mode `mode` (by default the present one)
// of `profile` (by default the active one) from its user-mode file. With keys, paints them as the
// window's own-colour brush does (mode, when given, first becomes the present one): the file
// takes them and all colours of the mode are sent to the keyboard.
int RunColours(KeyboardConnection& connection, const AppContext& context,
               std::optional<int> profile, std::optional<int> mode,
               const std::vector<KeyColours::PaintedKey>& keys, std::ostream& out,
               std::ostream& err, OutputForm form = OutputForm::Text);

// "macro ACTION ...": what to do with which macro, checked by the command line.
struct MacroRequest {
    std::string action;  // list, show, add, delete, rename or cycles
    std::string name;
    std::string newName;  // rename
    int cycles = 1;       // cycles: 1 to 255
    std::vector<MacroAction> actions;  // add
};

// Reads the keyboard's macros, then lists or shows them, or changes them as the macro page does
// and applies the change as the key editor's and the main window's Apply do. A name the keyboard
// lacks, a name taken, a 101st macro, or deleting a macro that keys play is a usage error and
// nothing is written.
int RunMacro(KeyboardConnection& connection, const AppContext& context,
             const MacroRequest& request, std::ostream& out, std::ostream& err,
             OutputForm form = OutputForm::Text);

// Lists the names the command line takes, without opening the keyboard: `kind` empty, every key
// name and every remap target with what it does; "keys", "targets", "effects" or "macros" (the
// profile cache file's), the names alone, one a line.
int RunTargets(const AppContext& context, const std::string& kind, std::ostream& out,
               std::ostream& err, OutputForm form = OutputForm::Text);

// Lists the shipped languages with the one in use marked (the one kept in the settings, which
// the window uses too), or keeps `chosen` (a language index) there first. The keyboard is not
// opened.
int RunLanguage(const AppContext& context, std::optional<int> chosen, std::ostream& out,
                std::ostream& err, OutputForm form = OutputForm::Text);

// Plugs the stand-in keyboard `model` in through /dev/uhid, with the memory kept between runs,
// and answers its requests until SIGINT or SIGTERM unplug it.
int RunUhidKeyboard(const AppContext& context, sim::SimModel model, std::ostream& out,
                    std::ostream& err);

}  // namespace zarvin::cli
