#pragma once

// The device monitor: finds the keyboard's command interface, keeps it open while the keyboard
// is attached, notices when it goes, sets the connected flag and the keyboard model, and tells
// the main window about every change. It runs on its own thread until stopped, or until the
// interfaces of the machine cannot be listed.

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "device/DeviceThreadTiming.h"
#include "device/StopSignal.h"

namespace zarvin {

class CommandLink;
class DeviceImage;
class HidDevice;
class MainWindowLink;
class UserMessages;

class DeviceMonitor {
public:
    // Works on the link's command interface. `autoShowDone` is set while the window may still
    // open by itself on the first connection; the monitor sets it once that is decided.
    DeviceMonitor(CommandLink& link, DeviceImage& image, UserMessages& messages,
                  MainWindowLink& window, std::atomic<bool>& autoShowDone,
                  DeviceThreadTiming timing = {});
    ~DeviceMonitor();
    DeviceMonitor(const DeviceMonitor&) = delete;
    DeviceMonitor& operator=(const DeviceMonitor&) = delete;

    // False when the thread cannot be created.
    bool Start();
    // Ends every wait at once and joins the thread. An exchange with the keyboard in progress
    // ends first, within the protocol's time-outs. The command interface is left as it is.
    void Stop();
    // The thread has ended: stopped, or the interfaces could not be listed.
    bool Finished() const { return finished_.load(); }

    // The connection handler: tells the window that the keyboard came (true) or went (false).
    // Runs on the monitor thread; a state equal to the last one reported does nothing.
    void OnConnectionChanged(bool connected);
    bool HandlingConnection() const { return handlerBusy_.load(); }

    // The device node of a supported keyboard that the last scan found but may not open for
    // lack of permission; empty when there was none or the keyboard is connected.
    std::string RefusedNode() const;

private:
    void MonitorThread();
    // Walks the path list and leaves the first supported keyboard's command interface open;
    // interfaces opened on the way that are not it are closed again.
    bool OpenCommandInterface();
    // Wakes the keyboard with one request, reporting nothing. False when listing failed.
    bool Probe();
    // Looks for the keyboard and connects it. False when listing failed. A look right after
    // nodes changed may not tell of a refused node yet: udev grants access a moment after the
    // kernel makes the node, so the refusal is told only if the next look still meets it.
    bool Scan(bool mayTellRefusal);
    // Tells the user once per refused node why the keyboard cannot be used.
    void ReportRefusal(const std::string& node, bool mayTell);
    // Whether the device just opened is a supported keyboard's command interface.
    static bool IsCommandInterface(const HidDevice& device);

    CommandLink& link_;
    DeviceImage& image_;
    UserMessages& messages_;
    MainWindowLink& window_;
    std::atomic<bool>& autoShowDone_;
    const DeviceThreadTiming timing_;

    bool lastReportedState_ = false;
    // Set by OpenCommandInterface during a scan; the node the user was last told about.
    std::string scanRefusedNode_;
    std::string toldRefusedNode_;
    // Set by OpenCommandInterface during a scan: a supported keyboard's node failed to open.
    bool scanMissedKeyboard_ = false;
    mutable std::mutex refusedMutex_;
    std::string refusedNode_;
    bool firstScanDone_ = false;
    std::atomic<bool> handlerBusy_{false};
    std::atomic<bool> finished_{false};
    StopSignal stop_;
    std::thread thread_;
};

}  // namespace zarvin
