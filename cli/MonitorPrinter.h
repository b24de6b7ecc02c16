#pragma once

// The window of `zarvinctl monitor`: prints what the device threads tell the main window, one
// line each with a time stamp, for the connection changes and the keyboard's notices. Lines
// come from the monitor and listener threads; each is written whole. As JSON each line is one
// object: {"time", "event": "connected"|"gone"|"notice"|"message", ...}.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/JsonOutput.h"
#include "device/MainWindowLink.h"
#include "device/UserMessages.h"

namespace zarvin {
class CommandLink;
class DeviceImage;
}  // namespace zarvin

namespace zarvin::cli {

class MonitorPrinter : public MainWindowLink, public UserMessages {
public:
    // `link` and `image` are the monitor's: the connection line names the keyboard from them,
    // and the profile notice asks the keyboard for its active profile.
    MonitorPrinter(std::ostream& out, std::ostream& err, CommandLink& link,
                   const DeviceImage& image, OutputForm form = OutputForm::Text);

    void SendMessage(WindowMessage message) override;
    void PostMessage(WindowMessage message) override;
    void StartTimer(WindowTimer timer, int milliseconds) override;
    void KillTimer(WindowTimer timer) override;
    void HideWindow() override;
    void SetTrayIconState(TrayMode mode, TrayIcon icon) override;
    void ShowBusyIndicator(bool shown) override;

    void ShowMessage(std::string_view textKey) override;
    // The argument follows the key on lines of its own: for the refused node it is the whole
    // guidance (the node, the rule and the commands that apply it).
    void ShowFormattedMessage(std::string_view textKey, std::string_view argument) override;

    // A line for standard error (a trace line, a hint), kept whole among the others.
    void PrintError(const std::string& line);
    // A hint for a person at a terminal; left out of JSON output.
    void PrintHint(const std::string& line);

    size_t LinesPrinted() const;
    // Waits until `count` lines have been printed; false after `timeout`.
    bool WaitForLines(size_t count, std::chrono::milliseconds timeout) const;

private:
    // `text` for the text form; `event` (to which the time is added first) for JSON.
    void Print(const std::string& text, const JsonValue& event);

    std::ostream& out_;
    std::ostream& err_;
    CommandLink& link_;
    const DeviceImage& image_;
    const OutputForm form_;
    mutable std::mutex mutex_;
    mutable std::condition_variable printed_;
    size_t lines_ = 0;
};

// "12:03:04.512": the local time of day with milliseconds.
std::string TimeStamp(std::chrono::system_clock::time_point when);

}  // namespace zarvin::cli
