#pragma once

// The event listener: opens the keyboard's consumer-control interface and turns the notices the
// keyboard sends there on its own into timers and tray changes on the main window. It runs on
// its own thread until stopped, or until the interfaces of the machine cannot be listed.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "device/DeviceThreadTiming.h"
#include "device/HidDevice.h"
#include "device/StopSignal.h"
#include "device/TrayNotices.h"

namespace zarvin {

class HidNodeSource;
class MainWindowLink;

// The keyboard's notices: the first usage of a consumer-control report.
namespace KeyboardEvent {
inline constexpr uint16_t LightingChanged = 0x0401;
inline constexpr uint16_t ProfileChanged = 0x0402;
inline constexpr uint16_t TrayConnection = 0x1810;  // the tray shows its connection icon again
inline constexpr uint16_t TrayNotice = 0x1811;      // the tray shows the notice icon
}  // namespace KeyboardEvent

class EventListener {
public:
    EventListener(HidNodeSource& source, MainWindowLink& window, DeviceThreadTiming timing = {});
    ~EventListener();
    EventListener(const EventListener&) = delete;
    EventListener& operator=(const EventListener&) = delete;

    // False when a thread cannot be created.
    bool Start();
    // Ends the wait for the next report or the next scan at once and joins the threads.
    void Stop();
    // The thread has ended: stopped, or the interfaces could not be listed.
    bool Finished() const { return finished_.load(); }
    // The keyboard's event interface is open: notices sent from now on are seen.
    bool Listening() const { return listening_.load(); }

private:
    void ListenerThread();
    // Opens the event interface at `path`; false when it is not one or the listener stops.
    bool OpenEventInterface(const std::string& path);
    // Takes reports until the device fails or is closed by Stop.
    void ReadEvents();
    // The event code of the report just read, 0 when it has none.
    uint16_t EventCodeOf(const std::vector<uint8_t>& report);
    void Dispatch(uint16_t code);

    MainWindowLink& window_;
    const DeviceThreadTiming timing_;
    // Guards opening, parsing and closing against Stop, which closes the device to end a read.
    std::mutex deviceLock_;
    HidDevice device_;
    TrayNotices trayNotices_;
    std::atomic<bool> listening_{false};
    std::atomic<bool> finished_{false};
    StopSignal stop_;
    std::thread thread_;
};

}  // namespace zarvin
