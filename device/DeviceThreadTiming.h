#pragma once

#include <chrono>

namespace zarvin {

// The waits of the device threads. Tests shorten them; the program uses these values.
struct DeviceThreadTiming {
    // The monitor's pause before its first probe when the window no longer opens by itself.
    std::chrono::milliseconds startDelay{10};
    // The monitor's presence test while the keyboard is connected.
    std::chrono::milliseconds presencePoll{100};
    // The monitor's and the listener's next look for a keyboard while none is found.
    std::chrono::milliseconds rescan{1000};
    // How long a tray notice holds the tray before the next one may change it.
    std::chrono::milliseconds trayNoticeHold{1};
    // The busy indicator's pause before it hides, so a short apply still shows it.
    std::chrono::milliseconds busyHideDelay{100};
};

}  // namespace zarvin
