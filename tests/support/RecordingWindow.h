#pragma once

// A main window for tests of the device threads: records every call as one line of text
// ("send TR PROF", "post SP OPEN", "timer 1053 0", "kill 1050", "hide", "tray 0 141",
// "busy on"), keeps the tray icon as the window would, and lets a test wait for a record
// instead of sleeping. Safe to call from any thread.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/MainWindowLink.h"
#include "device/WindowMessages.h"

namespace zarvin::test_support {

class RecordingWindow : public MainWindowLink {
public:
    using Clock = std::chrono::steady_clock;

    // Runs on the sending thread before a sent message is recorded, as the window's handler
    // would, to look at what the sender had done by then.
    void OnSend(std::function<void(WindowMessage message)> handler) {
        const std::lock_guard lock(mutex_);
        onSend_ = std::move(handler);
    }

    void SendMessage(WindowMessage message) override {
        std::function<void(WindowMessage)> handler;
        {
            const std::lock_guard lock(mutex_);
            handler = onSend_;
        }
        if (handler) {
            handler(message);
        }
        Record("send " + Letters(message));
    }
    void PostMessage(WindowMessage message) override { Record("post " + Letters(message)); }
    void StartTimer(WindowTimer timer, int milliseconds) override {
        Record("timer " + std::to_string(static_cast<int>(timer)) + ' ' +
               std::to_string(milliseconds));
    }
    void KillTimer(WindowTimer timer) override {
        Record("kill " + std::to_string(static_cast<int>(timer)));
    }
    void HideWindow() override { Record("hide"); }
    void SetTrayIconState(TrayMode mode, TrayIcon icon) override {
        const std::lock_guard lock(mutex_);
        if (mode == TrayMode::Notice) {
            trayIcon_ = TrayIcon::Notice;
        } else if (icon != TrayIcon::Remembered) {
            trayIcon_ = rememberedIcon_ = icon;
        } else {
            trayIcon_ = rememberedIcon_;
        }
        RecordLocked("tray " + std::to_string(static_cast<int>(mode)) + ' ' +
                     std::to_string(static_cast<int>(icon)));
    }
    void ShowBusyIndicator(bool shown) override { Record(shown ? "busy on" : "busy off"); }

    std::vector<std::string> Records() const {
        const std::lock_guard lock(mutex_);
        return records_;
    }
    void ClearRecords() {
        const std::lock_guard lock(mutex_);
        records_.clear();
    }
    TrayIcon TrayIconShown() const {
        const std::lock_guard lock(mutex_);
        return trayIcon_;
    }

    // Waits until `record` has been made `count` times; false after `timeout`.
    bool WaitFor(const std::string& record, size_t count = 1,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] {
            return static_cast<size_t>(std::count(records_.begin(), records_.end(), record)) >=
                   count;
        });
    }
    // Waits until at least `count` records have been made; false after `timeout`.
    bool WaitForRecords(size_t count,
                        std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return records_.size() >= count; });
    }

private:
    // A message as the two letters and the tag the window messages were known by.
    static std::string Letters(WindowMessage message) {
        switch (message) {
            case WindowMessage::CloseEditors:
                return "GS 0";
            case WindowMessage::Reload:
                return "TR PROF";
            case WindowMessage::Open:
                return "SP OPEN";
            case WindowMessage::Kill:
                return "MK KILL";
            case WindowMessage::Initialised:
                return "MN INIT";
            case WindowMessage::Language:
                return "PA LANG";
        }
        return "?";
    }

    void Record(std::string record) {
        const std::lock_guard lock(mutex_);
        RecordLocked(std::move(record));
    }
    void RecordLocked(std::string record) {
        records_.push_back(std::move(record));
        changed_.notify_all();
    }

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> records_;
    std::function<void(WindowMessage)> onSend_;
    TrayIcon trayIcon_ = TrayIcon::Disconnected;
    TrayIcon rememberedIcon_ = TrayIcon::Disconnected;
};

}  // namespace zarvin::test_support
