// zarvinctl: the keyboard from the command line, on the same code as the window.

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>

#include "cli/CliOptions.h"
#include "cli/CliTextKeys.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLineTexts.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/LanguageMessages.h"
#include "cli/Trace.h"
#include "cli/UdevCheck.h"
#include "cli/WindowReload.h"
#include "device/HidrawNodeSource.h"
#include "sim/SimFirmware.h"
#include "sim/SimImageFile.h"
#include "sim/SimImageKeeper.h"
#include "sim/SimImageLock.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/LanguageTables.h"
#include "store/RegistryFile.h"
#include "store/Settings.h"

namespace {

using namespace zarvin;
using namespace zarvin::cli;

constexpr const char* kProgram = "zarvinctl";

// How long a run on the stand-in waits for another run to finish with its memory: as long as a
// program waits for a real keyboard's node.
constexpr std::chrono::seconds kStandInLockWait{10};

// How results and errors are printed, set once from the command line.
OutputForm gForm = OutputForm::Text;

// An error as a line with the program's name, or with --json as one {"error": ...} object that
// holds all its lines.
void PrintError(const std::string& message) {
    if (gForm == OutputForm::Json) {
        PrintJson(std::cerr, ErrorJson(message));
        return;
    }
    std::istringstream lines(message);
    for (std::string line; std::getline(lines, line);) {
        std::cerr << kProgram << ": " << line << '\n';
    }
}

int Fail(const std::string& message, int status) {
    PrintError(message);
    return status;
}

// Runs `command` and prints what it wrote to its error stream as errors.
template <typename Command>
int Run(Command command) {
    std::ostringstream err;
    const int status = command(err);
    std::string message = err.str();
    while (!message.empty() && message.back() == '\n') {
        message.pop_back();
    }
    if (!message.empty()) {
        PrintError(message);
    }
    return status;
}

int ResetStandIn(const AppContext& context, const CliOptions& options) {
    for (const sim::SimModel model : sim::AllSimModels()) {
        if (options.modelGiven && model != options.model) {
            continue;
        }
        // The factory memory is written over the file rather than the file removed: a window
        // on the stand-in, asked to reload, takes in a file but keeps its memory without one.
        const auto file = sim::ImageFilePath(context.userDataFolder, model);
        std::error_code unknown;
        if (std::filesystem::symlink_status(file, unknown).type() ==
            std::filesystem::file_type::not_found) {
            continue;
        }
        std::string error;
        // A run on the stand-in meanwhile would save its memory over the factory one.
        const sim::SimImageLock lock(file, kStandInLockWait, error);
        if (!lock.Held()) {
            return Fail(error, kExitFailed);
        }
        if (!sim::WriteImageFile(file, model, sim::FactoryMemory(model), error)) {
            return Fail(CliFormat(cli_text::CANNOT_RESET, {file.string(), error}), kExitFailed);
        }
    }
    if (gForm == OutputForm::Json) {
        PrintJson(std::cout, {{"reset", true}});
    } else {
        std::cout << CliText(cli_text::SIM_RESET_DONE) << '\n';
    }
    return kExitOk;
}

int RunCommand(const AppContext& context, const CliOptions& options, HidNodeSource& source,
               const std::string& label) {
    if (options.command == "show") {
        return Run([&](std::ostream& err) {
            return RunShow(context, options.arguments.front(), std::cout, err, gForm);
        });
    }
    if (options.command == "list") {
        return Run([&](std::ostream& err) { return RunList(source, std::cout, err, gForm); });
    }
    if (options.command == "describe") {
        return Run([&](std::ostream& err) {
            return RunDescribe(source, options.arguments.front(), std::cout, err, gForm);
        });
    }
    KeyboardConnection connection(source);
    if (options.trace) {
        connection.Device().SetReportObserver([](bool outgoing, std::span<const uint8_t> report) {
            std::cerr << FormatTraceLine(outgoing, report) << '\n';
        });
    }
    std::string error;
    if (!connection.Connect(error)) {
        return Fail(error, kExitFailed);
    }
    // The whole command is one unit: another program that locks the keyboard the same way (the
    // window, another zarvinctl) waits for it, and cannot change the keyboard between what
    // this command reads and what it writes.
    const std::lock_guard wholeCommand(connection.Link().Lock());
    if (options.command == "profile") {
        return Run([&](std::ostream& err) {
            return RunProfile(connection, options.newProfile, std::cout, err, gForm);
        });
    }
    if (options.command == "backup") {
        return Run([&](std::ostream& err) {
            return RunBackup(connection, context, options.arguments.front(), std::cout, err, gForm);
        });
    }
    if (options.command == "restore") {
        return Run([&](std::ostream& err) {
            return RunRestore(connection, context, options.arguments.front(), std::cout, err,
                              gForm);
        });
    }
    if (options.command == "keys") {
        return Run([&](std::ostream& err) {
            return RunKeys(connection, context, options.profile, options.all, std::cout, err,
                           gForm);
        });
    }
    if (options.command == "remap" || options.command == "reset") {
        return Run([&](std::ostream& err) {
            return RunRemap(connection, context, options.profile, options.key, options.target,
                            std::cout, err, gForm);
        });
    }
    if (options.command == "lighting") {
        return Run([&](std::ostream& err) {
            return options.lightingSet
                       ? RunLightingSet(connection, context, options.profile, options.lighting,
                                        std::cout, err, gForm)
                       : RunLighting(connection, context, options.profile, std::cout, err, gForm);
        });
    }
    if (options.command == "macro") {
        return Run([&](std::ostream& err) {
            return RunMacro(connection, context, options.macro, std::cout, err, gForm);
        });
    }
    if (options.command == "colours") {
        return Run([&](std::ostream& err) {
            return RunColours(connection, context, options.profile, options.colourMode,
                              options.keyColours, std::cout, err, gForm);
        });
    }
    if (options.command == "usermode") {
        return Run([&](std::ostream& err) {
            return RunUserMode(connection, context, options.profile, options.userMode, std::cout,
                               err, gForm);
        });
    }
    return Run([&](std::ostream& err) {
        return RunInfo(connection, context, label, std::cout, err, gForm);
    });
}

int RunOnStandIn(const AppContext& context, const CliOptions& options) {
    sim::SimKeyboard keyboard(options.model);
    const std::filesystem::path image = sim::ImageFilePath(context.userDataFolder, options.model);
    std::string error;
    // The monitor runs until it is stopped and changes nothing: it holds no lock.
    std::optional<sim::SimImageLock> lock;
    if (options.command != "monitor") {
        lock.emplace(image, kStandInLockWait, error);
        if (!lock->Held()) {
            return Fail(error, kExitFailed);
        }
    }
    sim::SimImageKeeper memory(keyboard, image);
    if (!memory.Load(error)) {
        return Fail(CliFormat(cli_text::STAND_IN_UNREADABLE, {error}), kExitFailed);
    }
    keyboard.ScheduleFaults(options.faults);
    const int status =
        options.command == "monitor"
            ? RunMonitor(keyboard, &keyboard, options.trace, std::cout, std::cerr, gForm)
            : RunCommand(context, options, keyboard, "(stand-in)");
    // A command that changed nothing leaves the file alone.
    if (!memory.SaveIfChanged(error)) {
        return Fail(error, kExitFailed);
    }
    return status;
}

// The language of this run's texts: English with --json, so that scripts read the same words
// whatever the owner's language; else --language; else the language the window uses. udev runs
// the helper with no user behind it: its texts are English and no per-user folder is looked at.
int TextLanguage(const CliOptions& options, const AppContext& context) {
    if (options.json || options.command == "udev-check") {
        return kEnglishLanguageIndex;
    }
    return options.language.value_or(
        Settings(RegistryFile(RegistryFilePath(context.configFolder))).GetLanguageIndex());
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParsedCommandLine parsed = ParseCommandLine(args);
    const AppContext context(SystemRoots());
    SetCommandLineLanguage(TextLanguage(parsed.options, context));
    if (!parsed.error.empty() && CommandLineLanguage() != kEnglishLanguageIndex) {
        // The first reading found the language; this one words the error in it.
        parsed = ParseCommandLine(args);
    }
    const CliOptions& options = parsed.options;
    gForm = options.json ? OutputForm::Json : OutputForm::Text;
    if (!parsed.error.empty()) {
        if (gForm == OutputForm::Json) {
            return Fail(parsed.error, kExitUsage);
        }
        std::cerr << kProgram << ": " << parsed.error << '\n' << CliText(cli_text::TRY_HELP) << '\n';
        return kExitUsage;
    }
    if (options.help) {
        const CommandHelp* help = FindCommandHelp(options.helpCommand);
        std::cout << (help != nullptr ? FormatCommandHelp(*help) : UsageText());
        return kExitOk;
    }
    if (options.version) {
        std::cout << kProgram << ' ' << ZARVIN_VERSION << '\n';
        return kExitOk;
    }
    if (options.command == "udev-check") {
        return Run([&](std::ostream& err) {
            return RunUdevCheck("/sys", options.arguments.front(), std::cout, err);
        });
    }
    if (options.command == "language") {
        return Run([&](std::ostream& err) {
            return RunLanguage(context, options.newLanguage, std::cout, err, gForm);
        });
    }
    if (options.command == "targets") {
        return Run([&](std::ostream& err) {
            return RunTargets(context, options.arguments.empty() ? "" : options.arguments.front(),
                              std::cout, err, gForm);
        });
    }
    if (options.command == "sim") {
        return Run([&](std::ostream& err) {
            return RunUhidKeyboard(context, options.model, std::cout, err);
        });
    }
    int status = kExitOk;
    if (options.command == "sim-reset") {
        status = ResetStandIn(context, options);
    } else if (options.simulate) {
        status = RunOnStandIn(context, options);
    } else {
        HidrawNodeSource hidraw;
        status = options.command == "monitor"
                     ? RunMonitor(hidraw, nullptr, options.trace, std::cout, std::cerr, gForm)
                     : RunCommand(context, options, hidraw, "");
    }
    if (status == kExitOk && ChangesKeyboard(options)) {
        Run([&](std::ostream& err) {
            AskWindowToReload(context.runtimeFolder, err);
            return status;
        });
    }
    return status;
}
