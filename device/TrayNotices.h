#pragma once

// The tray-icon changes that the keyboard's notices 0x1810 and 0x1811 ask for. They run on one
// worker thread, one after another in the order the notices came, each holding the tray for a
// moment before the next may change it.

#include <thread>

#include "device/DeviceThreadTiming.h"
#include "device/ThreadMessageQueue.h"
#include "device/WindowMessages.h"

namespace zarvin {

class MainWindowLink;

class TrayNotices {
public:
    TrayNotices(MainWindowLink& window, DeviceThreadTiming timing);
    ~TrayNotices();
    TrayNotices(const TrayNotices&) = delete;
    TrayNotices& operator=(const TrayNotices&) = delete;

    // False when the worker cannot be created; notices then change nothing.
    bool Start();
    // `mode` is TrayMode::Connection (notice 0x1810) or TrayMode::Notice (0x1811).
    void Post(TrayMode mode);
    // Drops the notices not shown yet and joins the worker.
    void Stop();

private:
    void Run();

    MainWindowLink& window_;
    const DeviceThreadTiming timing_;
    ThreadMessageQueue<TrayMode> queue_;
    std::thread worker_;
};

}  // namespace zarvin
