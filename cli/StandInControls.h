#pragma once

// The stand-in keyboard's controls while `zarvinctl --simulate monitor` runs: one letter a
// line makes the keyboard do what a person would do with a real one. Each control waits until
// the monitor has printed what it causes, so a piped script reads back in order.

#include <string_view>

namespace zarvin {
class EventListener;
namespace sim {
class SimKeyboard;
}
}  // namespace zarvin

namespace zarvin::cli {

class MonitorPrinter;

class StandInControls {
public:
    StandInControls(sim::SimKeyboard& keyboard, MonitorPrinter& printer,
                    const EventListener& listener);

    // The one-line summary of the controls.
    static const char* const kHint;

    // Waits until the keyboard's arrival has been printed and its notices are listened to.
    void WaitUntilAttached();
    // Acts on one line of input; false when it asks to quit.
    bool Handle(std::string_view line);

private:
    // The keyboard is attached and listened to; tells why not otherwise.
    bool ReadyForNotices();
    void SwitchProfile();
    void SwitchLighting();
    void TogglePlug();
    void SendTrayNotices();
    void WaitForLinesAfter(size_t printedBefore, size_t count);

    sim::SimKeyboard& keyboard_;
    MonitorPrinter& printer_;
    const EventListener& listener_;
};

}  // namespace zarvin::cli
