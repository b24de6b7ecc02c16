#include "cli/StandInControls.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "cli/MonitorPrinter.h"
#include "device/DeviceInfo.h"
#include "device/EventListener.h"
#include "sim/SimKeyboard.h"

namespace zarvin::cli {
namespace {

using namespace std::chrono_literals;

// Long enough for the listener's next look for the keyboard after it was plugged in again.
constexpr auto kEffectTimeout = 3s;

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kEffectTimeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

}  // namespace

const char* const StandInControls::kHint =
    "stand-in keyboard: p + Enter switches its profile, l its lighting, u unplugs or plugs it "
    "in, t sends the tray notices 0x1811 and 0x1810, q quits";

StandInControls::StandInControls(sim::SimKeyboard& keyboard, MonitorPrinter& printer,
                                 const EventListener& listener)
    : keyboard_(keyboard), printer_(printer), listener_(listener) {}

void StandInControls::WaitUntilAttached() {
    printer_.WaitForLines(1, kEffectTimeout);
    WaitUntil([&] { return listener_.Listening(); });
}

bool StandInControls::Handle(std::string_view line) {
    const auto first = std::find_if(line.begin(), line.end(),
                                    [](char c) { return c != ' ' && c != '\t' && c != '\r'; });
    if (first == line.end()) {
        return true;
    }
    switch (*first) {
        case 'p':
            SwitchProfile();
            break;
        case 'l':
            SwitchLighting();
            break;
        case 'u':
            TogglePlug();
            break;
        case 't':
            SendTrayNotices();
            break;
        case 'q':
            return false;
        default:
            printer_.PrintError(std::string("unknown control '") + *first + "'; " + kHint);
            break;
    }
    return true;
}

bool StandInControls::ReadyForNotices() {
    if (!keyboard_.Plugged()) {
        printer_.PrintError("the stand-in keyboard is unplugged: u plugs it in");
        return false;
    }
    return WaitUntil([&] { return listener_.Listening(); });
}

void StandInControls::SwitchProfile() {
    if (!ReadyForNotices()) {
        return;
    }
    int next = 0;
    keyboard_.WithFirmware(
        [&](sim::SimFirmware& firmware) { next = (firmware.ActiveProfile() + 1) % kProfileCount; });
    const size_t before = printer_.LinesPrinted();
    keyboard_.ChangeProfileOnKeyboard(next);
    WaitForLinesAfter(before, 1);
}

void StandInControls::SwitchLighting() {
    if (!ReadyForNotices()) {
        return;
    }
    // The next effect the keyboard offers after the active profile's one.
    uint8_t next = 0;
    keyboard_.WithFirmware([&](sim::SimFirmware& firmware) {
        DeviceInfo info;
        info.bytes = firmware.Memory().deviceInfo;
        const std::vector<uint8_t> offered = info.Effects();
        const int profile = firmware.ActiveProfile();
        if (offered.empty() || profile < 0 || profile >= kProfileCount) {
            return;
        }
        const uint8_t current =
            firmware.Memory().lighting[static_cast<size_t>(profile) * sim::kLightingRecordSize];
        const auto at = std::find(offered.begin(), offered.end(), current);
        next = (at == offered.end() || at + 1 == offered.end()) ? offered.front() : *(at + 1);
    });
    if (next == 0) {
        printer_.PrintError("the stand-in keyboard offers no lighting effect to switch to");
        return;
    }
    const size_t before = printer_.LinesPrinted();
    keyboard_.ChangeLightingOnKeyboard(next);
    WaitForLinesAfter(before, 1);
}

void StandInControls::TogglePlug() {
    const size_t before = printer_.LinesPrinted();
    if (keyboard_.Plugged()) {
        keyboard_.Unplug();
        WaitForLinesAfter(before, 1);
        WaitUntil([&] { return !listener_.Listening(); });
    } else {
        keyboard_.Plug();
        WaitForLinesAfter(before, 1);
        WaitUntil([&] { return listener_.Listening(); });
    }
}

void StandInControls::SendTrayNotices() {
    if (!ReadyForNotices()) {
        return;
    }
    const size_t before = printer_.LinesPrinted();
    keyboard_.SendEvent(KeyboardEvent::TrayNotice);
    keyboard_.SendEvent(KeyboardEvent::TrayConnection);
    WaitForLinesAfter(before, 2);
}

void StandInControls::WaitForLinesAfter(size_t printedBefore, size_t count) {
    printer_.WaitForLines(printedBefore + count, kEffectTimeout);
}

}  // namespace zarvin::cli
