#include "device/EventListener.h"

#include <optional>
#include <system_error>

#include "device/MainWindowLink.h"
#include "device/NodeChangeWait.h"
#include "device/WindowMessages.h"
#include "keyboard/KeyboardIds.h"

namespace zarvin {

EventListener::EventListener(HidNodeSource& source, MainWindowLink& window,
                             DeviceThreadTiming timing)
    : window_(window), timing_(timing), device_(source), trayNotices_(window, timing) {}

EventListener::~EventListener() {
    Stop();
}

bool EventListener::Start() {
    if (!trayNotices_.Start()) {
        return false;
    }
    try {
        thread_ = std::thread([this] {
            ListenerThread();
            finished_ = true;
        });
    } catch (const std::system_error&) {
        trayNotices_.Stop();
        return false;
    }
    return true;
}

void EventListener::Stop() {
    {
        const std::lock_guard lock(deviceLock_);
        stop_.Raise();
        // Ends a read in progress; the thread sees the raised stop before it opens again.
        device_.Close();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    trayNotices_.Stop();
}

void EventListener::ListenerThread() {
    // Watching from before the first look on, so that a node coming meanwhile is not missed.
    NodeChangeWait wait(device_.Source(), stop_);
    while (!stop_.Raised()) {
        if (!device_.RefreshPaths()) {
            return;
        }
        // Watching, the listener looks again after a while only where no node event may come:
        // a keyboard that is there but could not be opened (access or a failed open can change
        // without one), and once after reading ended.
        bool lookAgainSoon = false;
        while (const auto path = device_.NextPath()) {
            if (!MatchKeyboardPath(*path)) {
                continue;
            }
            if (OpenEventInterface(*path)) {
                ReadEvents();
                lookAgainSoon = true;
                break;
            }
            if (stop_.Raised()) {
                break;
            }
            lookAgainSoon = lookAgainSoon || device_.LastError() != HidError::None;
        }
        device_.FreePaths();
        const auto timeout = lookAgainSoon ? std::optional(timing_.rescan) : std::nullopt;
        if (wait.Wait(nullptr, timeout, timing_.rescan) == NodeChangeWait::End::Stopped) {
            return;
        }
    }
}

bool EventListener::OpenEventInterface(const std::string& path) {
    const std::lock_guard lock(deviceLock_);
    if (stop_.Raised() || !device_.Open(path, true, false)) {
        return false;
    }
    if (device_.IsSupportedKeyboard() && device_.Caps().usagePage == kEventUsagePage &&
        device_.Caps().usage == kEventUsage) {
        listening_ = true;
        return true;
    }
    device_.Close();
    return false;
}

void EventListener::ReadEvents() {
    std::vector<uint8_t> report;
    {
        const std::lock_guard lock(deviceLock_);
        report.resize(device_.Caps().inputReportByteLength);
    }
    // Read outside the lock: Stop closes the device to end it.
    while (device_.Read(report.data(), report.size(), nullptr, -1)) {
        Dispatch(EventCodeOf(report));
    }
    // The keyboard went away, or Stop closed the device.
    const std::lock_guard lock(deviceLock_);
    listening_ = false;
    device_.Close();
}

uint16_t EventListener::EventCodeOf(const std::vector<uint8_t>& report) {
    const std::lock_guard lock(deviceLock_);
    if (!device_.IsOpen()) {
        return 0;
    }
    device_.ParseInputReport(report.data(), report.size());
    const std::vector<HidReportItem>& items = device_.InputItems();
    if (items.empty() || items.front().usageList.empty()) {
        return 0;
    }
    return items.front().usageList.front();
}

void EventListener::Dispatch(uint16_t code) {
    switch (code) {
        case KeyboardEvent::LightingChanged:
            window_.StartTimer(WindowTimer::LightingChanged, 0);
            break;
        case KeyboardEvent::ProfileChanged:
            window_.StartTimer(WindowTimer::ProfileChanged, 0);
            break;
        case KeyboardEvent::TrayConnection:
            trayNotices_.Post(TrayMode::Connection);
            break;
        case KeyboardEvent::TrayNotice:
            trayNotices_.Post(TrayMode::Notice);
            break;
        default:
            // 0x1801-0x1804 are the keyboard's own and ask nothing of us; others are not ours.
            break;
    }
}

}  // namespace zarvin
