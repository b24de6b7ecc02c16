#pragma once

// The busy indicator's thread: the main window posts it BusyMessage::Show before an apply and
// BusyMessage::Hide after it. It lives as long as the window, for every apply.

#include <thread>

#include "device/DeviceThreadTiming.h"
#include "device/ThreadMessageQueue.h"
#include "device/WindowMessages.h"

namespace zarvin {

class MainWindowLink;

class BusyIndicator {
public:
    BusyIndicator(MainWindowLink& window, DeviceThreadTiming timing = {});
    ~BusyIndicator();
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

    // False when the thread cannot be created: applies then run without the indicator.
    bool Start();
    void Post(BusyMessage message);
    // Drops the messages not taken yet and hides a shown indicator at once. Joins.
    void Stop();

private:
    void BusyIndicatorThread();

    MainWindowLink& window_;
    const DeviceThreadTiming timing_;
    ThreadMessageQueue<BusyMessage> queue_;
    std::thread thread_;
};

}  // namespace zarvin
