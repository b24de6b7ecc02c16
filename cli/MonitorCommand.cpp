#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "cli/Commands.h"
#include "cli/MonitorPrinter.h"
#include "cli/StandInControls.h"
#include "cli/Trace.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/DeviceMonitor.h"
#include "device/EventListener.h"
#include "device/HidDevice.h"
#include "keyboard/KeyboardModel.h"
#include "platform/UniqueFd.h"

namespace zarvin::cli {
namespace {

volatile std::sig_atomic_t gStopEvent = -1;

void OnStopSignal(int) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(gStopEvent, &one, sizeof one);
}

// While it lives, SIGINT and SIGTERM only make its descriptor readable.
class StopSignals {
public:
    StopSignals() : event_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        gStopEvent = event_.Get();
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~StopSignals() {
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
        gStopEvent = -1;
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    int Descriptor() const { return event_.Get(); }

private:
    UniqueFd event_;
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

// Controls are read from a person at a terminal or from a pipe, never from a file or device
// that happens to be standard input.
bool InputTakesControls() {
    struct stat status {};
    return ::fstat(STDIN_FILENO, &status) == 0 &&
           (::isatty(STDIN_FILENO) == 1 || S_ISFIFO(status.st_mode));
}

enum class InputResult { More, Quit };

// Hands each whole line that arrived to `controls`; the end of the input quits.
InputResult ReadControls(std::string& pending, StandInControls& controls) {
    char buffer[256];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0) {
        return (errno == EINTR || errno == EAGAIN) ? InputResult::More : InputResult::Quit;
    }
    const bool ended = count == 0;
    pending.append(buffer, static_cast<size_t>(count));
    if (ended && !pending.empty() && pending.back() != '\n') {
        pending += '\n';
    }
    for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (!controls.Handle(line)) {
            return InputResult::Quit;
        }
    }
    return ended ? InputResult::Quit : InputResult::More;
}

}  // namespace

int RunMonitor(HidNodeSource& source, sim::SimKeyboard* standIn, bool trace, std::ostream& out,
               std::ostream& err, OutputForm form) {
    const StopSignals stopSignals;
    HidDevice command(source);
    CommandLink link(command);
    DeviceImage image;
    MonitorPrinter printer(out, err, link, image, form);
    if (trace) {
        command.SetReportObserver([&](bool outgoing, std::span<const uint8_t> report) {
            printer.PrintError(FormatTraceLine(outgoing, report));
        });
    }
    // There is no window to open on the first connection, as when started with "/Start".
    std::atomic<bool> autoShowDone{true};
    EventListener listener(source, printer);
    DeviceMonitor monitor(link, image, printer, printer, autoShowDone);
    const auto fail = [&](const std::string& message) {
        if (form == OutputForm::Json) {
            PrintJson(err, ErrorJson(message));
        } else {
            err << message << '\n';
        }
    };
    if (!listener.Start() || !monitor.Start()) {
        fail("cannot start the threads that watch the keyboard");
        return kExitFailed;
    }
    printer.PrintHint("watching for a supported keyboard (" + SupportedIdsText("or") +
                      "); Ctrl+C ends");

    std::optional<StandInControls> controls;
    if (standIn != nullptr && InputTakesControls()) {
        controls.emplace(*standIn, printer, listener);
        printer.PrintHint(StandInControls::kHint);
        controls->WaitUntilAttached();
    }

    int status = kExitOk;
    std::string pending;
    for (;;) {
        pollfd fds[2] = {{stopSignals.Descriptor(), POLLIN, 0},
                         {controls ? STDIN_FILENO : -1, POLLIN, 0}};
        // Wakes now and then to notice threads that ended by themselves.
        const int ready = ::poll(fds, 2, 200);
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (fds[0].revents != 0) {
            break;
        }
        if (monitor.Finished() || listener.Finished()) {
            fail("cannot list the HID devices of this machine");
            status = kExitFailed;
            break;
        }
        if (fds[1].revents != 0 && ReadControls(pending, *controls) == InputResult::Quit) {
            break;
        }
    }
    listener.Stop();
    monitor.Stop();
    return status;
}

}  // namespace zarvin::cli
