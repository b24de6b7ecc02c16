#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/UniqueFd.h"

namespace zarvin {

// Ends a thread's waits at once when raised, from any thread. Raised once, for good.
class StopSignal {
public:
    StopSignal();

    void Raise();
    bool Raised() const;

    // Waits `duration` or until raised; true when the whole time passed unraised.
    bool WaitFor(std::chrono::milliseconds duration);

    // Readable (POLLIN) from the raise on, for a thread that polls descriptors while it waits.
    // -1 when the system gave no descriptor: such a thread waits with WaitFor instead.
    int Descriptor() const { return event_.Get(); }

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool raised_ = false;
    UniqueFd event_;
};

}  // namespace zarvin
