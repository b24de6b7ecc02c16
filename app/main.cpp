// zarvin: the configurator's window, reached through its notification-area icon. One runs per
// user; starting it again opens the running one's window, "/Kill" ends it.

#include <QApplication>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DaemonLauncher.h"
#include "app/DesktopColourScheme.h"
#include "app/MessageBoxes.h"
#include "app/QuitSignals.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "app/ZarvinDlg.h"
#include "control/ConfiguratorCore.h"
#include "control/StartupArguments.h"
#include "device/HidrawNodeSource.h"
#include "device/WindowMessages.h"
#include "platform/InstanceChannel.h"
#include "sim/SimImageFile.h"
#include "sim/SimImageKeeper.h"
#include "sim/SimKeyboard.h"
#include "skin/ColourSchemeLook.h"
#include "store/AppContext.h"
#include "store/ColourScheme.h"

namespace {

using namespace zarvin;
namespace fs = std::filesystem;

constexpr const char* kProgram = "zarvin";
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// How long after a change of the stand-in's memory it is written (later changes go with it).
constexpr std::chrono::milliseconds kKeepMemoryDelay{200};

int Fail(const std::string& message, int status) {
    std::cerr << kProgram << ": " << message << '\n';
    return status;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Checked before Qt starts, which would otherwise end the process with an abort.
bool HasDisplay() {
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

// Claims the running instance's place in `listener`, or hands the start over to the instance
// that holds it. Returns the exit status when this process has nothing more to do.
std::optional<int> BecomeTheRunningInstance(const fs::path& socketPath,
                                            std::optional<InstanceListener>& listener) {
    // Twice: an instance that is ending may leave the place free between our claim and our
    // request, or end without answering.
    SendResult sent = SendResult::NoInstance;
    std::string error;
    for (int attempt = 0; attempt < 2; ++attempt) {
        listener = InstanceListener::Claim(socketPath, error);
        if (listener) {
            return std::nullopt;
        }
        if (!error.empty()) {
            std::cerr << kProgram << ": " << error
                      << "; going on without the check for another running " << kProgram << '\n';
            return std::nullopt;
        }
        sent = SendInstanceRequest(socketPath, InstanceRequest::Open, &error);
        if (sent == SendResult::Handled) {
            return 0;
        }
    }
    if (sent == SendResult::Failed) {
        return Fail(error, kExitFailed);
    }
    // The place is held but nobody answers in it: run as the instance without the channel.
    return std::nullopt;
}

// The stored choice, or the desktop's preference when the choice is to follow it.
ColourScheme SchemeAtStart(const Settings& settings) {
    std::string problem;
    const ColourSchemeChoice choice = StoredColourSchemeChoice(settings, problem);
    if (!problem.empty()) {
        std::cerr << kProgram << ": " << problem << '\n';
    }
    const std::optional<uint32_t> desktop =
        choice == ColourSchemeChoice::Desktop
            ? ReadDesktopColourScheme(QDBusConnection::sessionBus(), kDesktopAnswerTime)
            : std::nullopt;
    return ChooseColourScheme(choice, desktop);
}

// `standInModel`: run against the stand-in keyboard playing that model, with `faults`.
int RunWindow(int argc, char** argv, AppContext& context, bool startHidden,
              std::optional<sim::SimModel> standInModel, const std::vector<sim::SimFault>& faults,
              std::optional<InstanceListener>& listener) {
    QApplication::setDesktopFileName(kProgram);
    QApplication application(argc, argv);
    QApplication::setApplicationName(kProgram);
    QApplication::setApplicationVersion(ZARVIN_VERSION);
    QApplication::setWindowIcon(CTrayIcon::IconOf(TrayIcon::Disconnected));
    // The window lives hidden behind the tray icon: closing the last visible window (a message
    // box, the window itself) does not end the program; only the exit path does.
    QApplication::setQuitOnLastWindowClosed(false);

    HidrawNodeSource hidraw;
    std::unique_ptr<sim::SimKeyboard> standIn;
    std::unique_ptr<sim::SimImageKeeper> standInMemory;
    std::string error;
    if (standInModel) {
        standIn = std::make_unique<sim::SimKeyboard>(*standInModel);
        standInMemory = std::make_unique<sim::SimImageKeeper>(
            *standIn, sim::ImageFilePath(context.userDataFolder, *standInModel));
        if (!standInMemory->Load(error)) {
            return Fail(error + " (run 'zarvinctl sim-reset' to start again from the factory state)",
                        kExitFailed);
        }
        standIn->ScheduleFaults(faults);
    }
    HidNodeSource& nodes = standIn ? static_cast<HidNodeSource&>(*standIn) : hidraw;
    // The stand-in's memory goes to its file soon after each change, so zarvinctl --simulate
    // beside the window works on the same keyboard.
    const auto keepFailed = [](const std::string& failure) { Fail(failure, kExitFailed); };
    if (standInMemory && !standInMemory->StartKeeping(kKeepMemoryDelay, keepFailed)) {
        Fail("cannot keep the stand-in keyboard's memory as it changes; it is kept at the end",
             kExitFailed);
    }

    MessageBoxes boxes;
    ConfiguratorCore core(context, nodes, boxes, boxes);
    boxes.SetTexts(core.Texts());
    UseColourScheme(SchemeAtStart(core.UserSettings()));
    CZarvinDlg window(core, nodes);
    if (startHidden) {
        context.autoShowDone = true;
    }
    const auto kill = [&window] { window.HandleMessage(WindowMessage::Kill); };
    const QuitSignals quitSignals(kill);
    std::optional<SingleInstance> instance;
    if (listener) {
        instance.emplace(*listener, [&](WindowMessage message) {
            // zarvinctl --simulate changed the stand-in's file: the window reloads from it.
            if (message == WindowMessage::Reload && standInMemory) {
                std::string failure;
                if (!standInMemory->Load(failure)) {
                    Fail(failure, kExitFailed);
                }
            }
            window.HandleMessage(message);
        });
    }
    LaunchDaemon(context.daemonPath);

    const int status = window.Run();
    // A start from now on finds no instance instead of one that will not answer.
    instance.reset();
    listener.reset();
    if (standInMemory && !standInMemory->StopKeeping(error)) {
        return Fail(error, kExitFailed);
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const StartupArguments arguments =
        ParseStartupArguments(std::vector<std::string>(argv + 1, argv + argc));
    for (const std::string& warning : arguments.warnings) {
        std::cerr << kProgram << ": " << warning << '\n';
    }
    sim::SimModel model = sim::SimModel::Keyboard126;
    if (!arguments.simulateModel.empty()) {
        const std::optional<sim::SimModel> named = sim::ParseSimModel(arguments.simulateModel);
        if (!named) {
            return Fail("'" + arguments.simulateModel +
                            "' is not a keyboard the stand-in can play; --simulate takes " +
                            sim::SimModelNames("or") + "\nTry 'zarvin --help'.",
                        kExitUsage);
        }
        model = *named;
    }
    std::vector<sim::SimFault> faults;
    for (const std::string& list : arguments.faultLists) {
        std::string error;
        const auto parsed = sim::ParseSimFaults(list, error);
        if (!parsed || !arguments.simulate) {
            return Fail((parsed ? "--fault works only with --simulate" : error) +
                            "\nTry 'zarvin --help'.",
                        kExitUsage);
        }
        faults.insert(faults.end(), parsed->begin(), parsed->end());
    }
    switch (arguments.action) {
        case StartupAction::Help:
            std::cout << kStartupUsage;
            return 0;
        case StartupAction::Version:
            std::cout << kProgram << ' ' << ZARVIN_VERSION << '\n';
            return 0;
        case StartupAction::Kill:
        case StartupAction::Run:
            break;
    }

    AppContext context(SystemRoots());
    const fs::path socketPath = InstanceSocketPath(context.runtimeFolder);
    if (arguments.action == StartupAction::Kill) {
        // Ends with 0 whether or not an instance was there to ask.
        std::string error;
        if (SendInstanceRequest(socketPath, InstanceRequest::Kill, &error) == SendResult::Failed) {
            std::cerr << kProgram << ": " << error << '\n';
        }
        return 0;
    }

    std::optional<InstanceListener> listener;
    if (const std::optional<int> status = BecomeTheRunningInstance(socketPath, listener)) {
        return *status;
    }
    if (!HasDisplay()) {
        return Fail(
            "there is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
            "set); start it in a desktop session, or use zarvinctl from a terminal",
            kExitFailed);
    }
    return RunWindow(argc, argv, context, arguments.start,
                     arguments.simulate ? std::optional(model) : std::nullopt, faults, listener);
}
