#include "cli/MonitorPrinter.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/DeviceInfo.h"
#include "device/HidDevice.h"
#include "device/WindowMessages.h"

namespace zarvin::cli {

std::string TimeStamp(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()) % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(milliseconds.count()));
    return text;
}

MonitorPrinter::MonitorPrinter(std::ostream& out, std::ostream& err, CommandLink& link,
                               const DeviceImage& image, OutputForm form)
    : out_(out), err_(err), link_(link), image_(image), form_(form) {}

void MonitorPrinter::SendMessage(WindowMessage message) {
    if (message == WindowMessage::Reload) {
        // Sent from the monitor thread, which owns the command interface's description.
        const HidDevice& device = link_.Device();
        char vendor[8];
        char product[8];
        std::snprintf(vendor, sizeof vendor, "%04x", device.Attributes().vendorId);
        std::snprintf(product, sizeof product, "%04x", device.Attributes().productId);
        const int keys = image_.Model().keyCount;
        Print(std::string("keyboard connected: ") + vendor + ':' + product + " (" +
                  std::to_string(keys) + " keys) on " + device.DevicePath(),
              {{"event", "connected"},
               {"vendor", vendor},
               {"product", product},
               {"keys", keys},
               {"path", device.DevicePath()}});
    } else if (message == WindowMessage::CloseEditors) {
        Print("keyboard gone", {{"event", "gone"}});
    }
}

// The first connection's Open opens the window, which the monitor has none of.
void MonitorPrinter::PostMessage(WindowMessage) {}

void MonitorPrinter::StartTimer(WindowTimer timer, int) {
    if (timer == WindowTimer::LightingChanged) {
        Print("notice 0x0401: lighting changed on the keyboard",
              {{"event", "notice"}, {"code", 0x0401}, {"text", "lighting changed on the keyboard"}});
    } else if (timer == WindowTimer::ProfileChanged) {
        DeviceInfo info;
        const bool read = ReadDeviceInfo(link_, info.bytes) == CommandResult::Success;
        JsonValue event{{"event", "notice"},
                        {"code", 0x0402},
                        {"text", "active profile changed on the keyboard"}};
        if (read) {
            event.update(ProfileJson(info.ActiveProfile()));
        }
        Print("notice 0x0402: active profile changed on the keyboard" +
                  (read ? " (now " + std::to_string(info.ActiveProfile() + 1) + ")" : std::string()),
              event);
    }
}

void MonitorPrinter::KillTimer(WindowTimer) {}

// The window hides when the keyboard goes; "keyboard gone" says that already.
void MonitorPrinter::HideWindow() {}

void MonitorPrinter::SetTrayIconState(TrayMode mode, TrayIcon icon) {
    // The connection icons come with the connection lines; only the notices are news.
    if (mode == TrayMode::Notice) {
        Print("notice 0x1811: the tray shows the notice icon",
              {{"event", "notice"}, {"code", 0x1811}, {"text", "the tray shows the notice icon"}});
    } else if (icon == TrayIcon::Remembered) {
        Print("notice 0x1810: the tray shows the connection icon again",
              {{"event", "notice"},
               {"code", 0x1810},
               {"text", "the tray shows the connection icon again"}});
    }
}

void MonitorPrinter::ShowBusyIndicator(bool) {}

void MonitorPrinter::ShowMessage(std::string_view textKey) {
    Print("message for the user: " + std::string(textKey),
          {{"event", "message"}, {"text", std::string(textKey)}});
}

void MonitorPrinter::ShowFormattedMessage(std::string_view textKey, std::string_view argument) {
    Print("message for the user: " + std::string(textKey) + '\n' + std::string(argument),
          {{"event", "message"}, {"text", std::string(textKey)}, {"detail", std::string(argument)}});
}

void MonitorPrinter::PrintError(const std::string& line) {
    const std::lock_guard lock(mutex_);
    err_ << line << std::endl;
}

void MonitorPrinter::PrintHint(const std::string& line) {
    if (form_ == OutputForm::Text) {
        PrintError(line);
    }
}

size_t MonitorPrinter::LinesPrinted() const {
    const std::lock_guard lock(mutex_);
    return lines_;
}

bool MonitorPrinter::WaitForLines(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return printed_.wait_for(lock, timeout, [&] { return lines_ >= count; });
}

void MonitorPrinter::Print(const std::string& text, const JsonValue& event) {
    const std::string stamp = TimeStamp(std::chrono::system_clock::now());
    {
        const std::lock_guard lock(mutex_);
        if (form_ == OutputForm::Json) {
            JsonValue line{{"time", stamp}};
            line.update(event);
            PrintJson(out_, line);
            out_.flush();
        } else {
            out_ << stamp << ' ' << text << std::endl;
        }
        ++lines_;
    }
    printed_.notify_all();
}

}  // namespace zarvin::cli
