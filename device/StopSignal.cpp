#include "device/StopSignal.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace zarvin {

StopSignal::StopSignal() : event_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void StopSignal::Raise() {
    {
        const std::lock_guard lock(mutex_);
        raised_ = true;
    }
    wake_.notify_all();
    if (event_.Valid()) {
        // Never read: the descriptor stays readable, as the signal stays raised.
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(event_.Get(), &one, sizeof one);
    }
}

bool StopSignal::Raised() const {
    const std::lock_guard lock(mutex_);
    return raised_;
}

bool StopSignal::WaitFor(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !wake_.wait_for(lock, duration, [this] { return raised_; });
}

}  // namespace zarvin
