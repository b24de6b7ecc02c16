#include "device/DeviceMonitor.h"

#include <array>
#include <optional>
#include <system_error>

#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/HidDevice.h"
#include "device/NodeChangeWait.h"
#include "device/MainWindowLink.h"
#include "device/UserMessages.h"
#include "device/WindowMessages.h"
#include "keyboard/KeyboardIds.h"
#include "platform/AccessGuidance.h"

namespace zarvin {

namespace {
// Its text is a format; the argument says how to get access.
constexpr std::string_view kNoAccessPrompt = "MAIN_NO_ACCESS_PROMPT";
}  // namespace

DeviceMonitor::DeviceMonitor(CommandLink& link, DeviceImage& image, UserMessages& messages,
                             MainWindowLink& window, std::atomic<bool>& autoShowDone,
                             DeviceThreadTiming timing)
    : link_(link),
      image_(image),
      messages_(messages),
      window_(window),
      autoShowDone_(autoShowDone),
      timing_(timing) {}

DeviceMonitor::~DeviceMonitor() {
    Stop();
}

bool DeviceMonitor::Start() {
    try {
        thread_ = std::thread([this] {
            MonitorThread();
            finished_ = true;
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void DeviceMonitor::Stop() {
    stop_.Raise();
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool DeviceMonitor::IsCommandInterface(const HidDevice& device) {
    return device.IsSupportedKeyboard() && device.Caps().usagePage == kCommandUsagePage &&
           device.Caps().usage == kCommandUsage;
}

void DeviceMonitor::MonitorThread() {
    if (autoShowDone_ && !stop_.WaitFor(timing_.startDelay)) {
        return;
    }
    HidDevice& device = link_.Device();
    // Watching from before the first look on, so that a node coming meanwhile is not missed.
    NodeChangeWait wait(device.Source(), stop_);
    if (!Probe()) {
        return;
    }
    auto woken = NodeChangeWait::End::TimedOut;
    while (!stop_.Raised()) {
        // Watching, the monitor looks again after a while only where no node event may come:
        // a keyboard that is there but could not be opened (access or a failed open can change
        // without one), and once after a disconnection.
        bool lookAgainSoon = false;
        if (link_.Connected()) {
            // A node that hung up has gone, though its name may stay a moment longer.
            if (woken == NodeChangeWait::End::HungUp || !device.IsPresent(device.DevicePath())) {
                link_.SetConnected(false);
                // Nothing more comes from a node that went; its descriptor goes too.
                device.Close();
                OnConnectionChanged(false);
                lookAgainSoon = true;
            }
        } else if (!Scan(woken != NodeChangeWait::End::NodesChanged)) {
            return;
        } else {
            lookAgainSoon = !link_.Connected() && scanMissedKeyboard_;
        }
        const bool connected = link_.Connected();
        woken = wait.Wait(connected ? &device : nullptr,
                          lookAgainSoon ? std::optional(timing_.rescan) : std::nullopt,
                          connected ? timing_.presencePoll : timing_.rescan);
        if (woken == NodeChangeWait::End::Stopped) {
            return;
        }
    }
}

bool DeviceMonitor::OpenCommandInterface() {
    HidDevice& device = link_.Device();
    while (const auto path = device.NextPath()) {
        if (stop_.Raised()) {
            return false;
        }
        if (!MatchKeyboardPath(*path)) {
            continue;
        }
        if (!device.Open(*path, true, true)) {
            scanMissedKeyboard_ = true;
            if (device.LastError() == HidError::PermissionDenied && scanRefusedNode_.empty()) {
                scanRefusedNode_ = path->substr(0, path->find('#'));
            }
            continue;
        }
        if (IsCommandInterface(device)) {
            return true;
        }
        device.Close();
    }
    return false;
}

bool DeviceMonitor::Probe() {
    HidDevice& device = link_.Device();
    if (!device.RefreshPaths()) {
        return false;
    }
    if (OpenCommandInterface()) {
        link_.SetConnected(true);
        std::array<uint8_t, kDeviceInfoSize> ignored{};
        ReadDeviceInfo(link_, ignored);
        device.Close();
    }
    device.FreePaths();
    link_.SetConnected(false);
    return true;
}

bool DeviceMonitor::Scan(bool mayTellRefusal) {
    HidDevice& device = link_.Device();
    if (!device.RefreshPaths()) {
        return false;
    }
    scanRefusedNode_.clear();
    scanMissedKeyboard_ = false;
    const bool found = OpenCommandInterface();
    // A look cut short by the stop may not have reached the refused node: it knows nothing new.
    if (!stop_.Raised()) {
        ReportRefusal(found ? std::string() : scanRefusedNode_, mayTellRefusal);
    }
    // The model before the flag, so a command never runs with the last keyboard's. Only
    // keyboards of known ids open, so the model is always found.
    if (found &&
        image_.SetModelFromIds(device.Attributes().vendorId, device.Attributes().productId)) {
        link_.SetGeometry(image_.Model().Geometry());
        link_.SetConnected(true);
        OnConnectionChanged(true);
    }
    if (!firstScanDone_ && !stop_.Raised()) {
        firstScanDone_ = true;
        OnConnectionChanged(link_.Connected());
        if (!link_.Connected()) {
            autoShowDone_ = true;
        }
    }
    device.FreePaths();
    return true;
}

void DeviceMonitor::ReportRefusal(const std::string& node, bool mayTell) {
    {
        const std::lock_guard lock(refusedMutex_);
        refusedNode_ = node;
    }
    if (!mayTell && !node.empty()) {
        return;  // told by the look that follows, if it is still refused then
    }
    if (!node.empty() && node != toldRefusedNode_) {
        messages_.ShowFormattedMessage(kNoAccessPrompt, AccessGuidance(node));
    }
    toldRefusedNode_ = node;
}

std::string DeviceMonitor::RefusedNode() const {
    const std::lock_guard lock(refusedMutex_);
    return refusedNode_;
}

void DeviceMonitor::OnConnectionChanged(bool connected) {
    handlerBusy_ = true;
    if (connected == lastReportedState_) {
        handlerBusy_ = false;
        return;
    }
    if (connected) {
        image_.LoadConnectionData(link_, messages_);
        window_.SendMessage(WindowMessage::Reload);
        window_.SetTrayIconState(TrayMode::Connection, TrayIcon::Connected);
    } else {
        image_.ForgetActiveProfile();
        window_.SendMessage(WindowMessage::CloseEditors);
        window_.HideWindow();
        window_.SetTrayIconState(TrayMode::Connection, TrayIcon::Disconnected);
    }
    lastReportedState_ = connected;
    if (!autoShowDone_) {
        if (connected) {
            window_.PostMessage(WindowMessage::Open);
        }
        autoShowDone_ = true;
    }
    handlerBusy_ = false;
}

}  // namespace zarvin
