#include "cli/BlockedStopSignals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <ctime>

namespace zarvin::cli {

BlockedStopSignals::BlockedStopSignals() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    sigprocmask(SIG_BLOCK, &signals_, &previous_);
    fd_.Reset(::signalfd(-1, &signals_, SFD_CLOEXEC | SFD_NONBLOCK));
}

BlockedStopSignals::~BlockedStopSignals() {
    // A pending signal is taken from the process or the thread, whichever holds it; sigtimedwait
    // with no wait takes both kinds, one per call.
    const timespec noWait{};
    while (::sigtimedwait(&signals_, nullptr, &noWait) > 0) {
    }
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace zarvin::cli
