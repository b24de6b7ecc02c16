#pragma once

// While it lives, SIGINT and SIGTERM are not delivered but make its descriptor readable, so a
// poll loop can end on them and the program can finish its work and exit with its own status.

#include <signal.h>

#include "platform/UniqueFd.h"

namespace zarvin::cli {

class BlockedStopSignals {
public:
    BlockedStopSignals();
    // Takes every stop signal that came meanwhile before unblocking them, so that a signal that
    // ended the loop does not kill the process once it is delivered.
    ~BlockedStopSignals();
    BlockedStopSignals(const BlockedStopSignals&) = delete;
    BlockedStopSignals& operator=(const BlockedStopSignals&) = delete;

    // -1 when no signalfd could be made.
    int Descriptor() const { return fd_.Get(); }

private:
    sigset_t signals_{};
    sigset_t previous_{};
    UniqueFd fd_;
};

}  // namespace zarvin::cli
