#include "device/NodeChangeWait.h"

#include <poll.h>

#include <array>
#include <cerrno>

#include "device/HidDevice.h"

namespace zarvin {

namespace {

using Clock = std::chrono::steady_clock;

// After a failed poll (no memory for it) the thread looks again after this pause instead.
constexpr std::chrono::milliseconds kPauseAfterFailure{1000};

}  // namespace

NodeChangeWait::NodeChangeWait(HidNodeSource& source, StopSignal& stop) : stop_(stop) {
    if (stop_.Descriptor() >= 0) {
        watch_ = source.WatchNodes();
    }
}

NodeChangeWait::End NodeChangeWait::Wait(HidDevice* device,
                                         std::optional<std::chrono::milliseconds> timeout,
                                         std::chrono::milliseconds pollInterval) {
    if (!watch_) {
        return stop_.WaitFor(pollInterval) ? End::TimedOut : End::Stopped;
    }
    const std::array<int, 2> others = {stop_.Descriptor(), watch_->Descriptor()};
    const auto deadline = Clock::now() + timeout.value_or(std::chrono::milliseconds{0});
    for (;;) {
        int wait = -1;
        if (timeout) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            wait = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
        }
        HidError ended = HidError::Stopped;
        if (device != nullptr) {
            ended = device->WaitForHangUp(others, wait);
        }
        if (ended == HidError::Stopped && !stop_.Raised()) {
            // Nothing open (or closed meanwhile): only the stop and the watch are left.
            device = nullptr;
            std::array<pollfd, 2> fds = {pollfd{others[0], POLLIN, 0},
                                         pollfd{others[1], POLLIN, 0}};
            const int ready = ::poll(fds.data(), fds.size(), wait);
            ended = ready > 0        ? HidError::None
                    : ready == 0     ? HidError::TimedOut
                    : errno == EINTR ? HidError::None
                                     : HidError::Io;
        }
        if (stop_.Raised()) {
            return End::Stopped;
        }
        switch (ended) {
            case HidError::Gone:
                return End::HungUp;
            case HidError::TimedOut:
                return End::TimedOut;
            case HidError::None:
                if (watch_->TakeChanges()) {
                    return End::NodesChanged;
                }
                break;  // nothing of ours: wait on until the time-out
            default:
                return stop_.WaitFor(kPauseAfterFailure) ? End::TimedOut : End::Stopped;
        }
    }
}

}  // namespace zarvin
