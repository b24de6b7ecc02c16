#include "app/QuitSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace zarvin {

namespace {

constexpr std::array kSignals = {SIGINT, SIGTERM, SIGHUP};

// The write end of the pipe the handler writes to; -1 while no QuitSignals exists.
volatile sig_atomic_t signalWriteFd = -1;

extern "C" void OnQuitSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalWriteFd, &byte, 1);
    errno = savedErrno;
}

int MakeReadEnd() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return -1;
    }
    signalWriteFd = fds[1];
    return fds[0];
}

void SetHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent),
      readEnd_(MakeReadEnd()),
      onSignal_(std::move(onSignal)),
      notifier_(readEnd_.Get(), QSocketNotifier::Read) {
    if (!readEnd_.Valid()) {
        notifier_.setEnabled(false);
        return;
    }
    connect(&notifier_, &QSocketNotifier::activated, this, &QuitSignals::OnSignal);
    SetHandler(OnQuitSignal);
}

QuitSignals::~QuitSignals() {
    if (!readEnd_.Valid()) {
        return;
    }
    SetHandler(SIG_DFL);
    ::close(signalWriteFd);
    signalWriteFd = -1;
}

void QuitSignals::OnSignal() {
    char bytes[16];
    while (::read(readEnd_.Get(), bytes, sizeof bytes) > 0) {
    }
    onSignal_();
}

}  // namespace zarvin
