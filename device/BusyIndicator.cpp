#include "device/BusyIndicator.h"

#include <system_error>

#include "device/MainWindowLink.h"
#include "device/WindowMessages.h"

namespace zarvin {

BusyIndicator::BusyIndicator(MainWindowLink& window, DeviceThreadTiming timing)
    : window_(window), timing_(timing) {}

BusyIndicator::~BusyIndicator() {
    Stop();
}

bool BusyIndicator::Start() {
    try {
        thread_ = std::thread([this] { BusyIndicatorThread(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void BusyIndicator::Post(BusyMessage message) {
    queue_.Post(message);
}

void BusyIndicator::Stop() {
    queue_.Stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void BusyIndicator::BusyIndicatorThread() {
    bool shown = false;
    while (const auto message = queue_.Take()) {
        if (*message == BusyMessage::Hide) {
            if (!queue_.WaitFor(timing_.busyHideDelay)) {
                break;
            }
            window_.KillTimer(WindowTimer::BusyFrame);
            window_.ShowBusyIndicator(false);
            shown = false;
        } else {
            window_.ShowBusyIndicator(true);
            window_.StartTimer(WindowTimer::BusyFrame, kBusyFrameIntervalMs);
            shown = true;
        }
    }
    // Stopped: the window is not left with a running animation.
    if (shown) {
        window_.KillTimer(WindowTimer::BusyFrame);
        window_.ShowBusyIndicator(false);
    }
}

}  // namespace zarvin
