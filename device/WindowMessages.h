#pragma once

// What the device threads and other instances raise on the main window: its messages, timers,
// tray icons and the busy indicator's thread messages. None of these leaves the process.

namespace zarvin {

enum class WindowMessage {
    CloseEditors,  // the keyboard is gone
    Reload,        // a keyboard was found, or another program changed it: reload from it
    Open,          // show the window
    Kill,          // exit
    Initialised,   // the window has been built: hide it until it is opened
    Language,      // take the language of the settings
};

// The window's timers. The numbers are the timer ids the window has always used.
enum class WindowTimer : int {
    BusyFrame = 1050,        // busy indicator, every 50 ms while shown
    LightingChanged = 1051,  // keyboard notice 0x0401
    Preview = 1052,          // lighting preview
    ProfileChanged = 1053,   // keyboard notice 0x0402
};

inline constexpr int kBusyFrameIntervalMs = 50;

// Tray icon resources: the two connection icons the window remembers, and the notice icon.
enum class TrayIcon : int {
    Remembered = 0,  // with mode Connection: show the remembered icon
    Disconnected = 128,
    Connected = 141,
    Notice = 142,
};

// SetTrayIconState modes.
enum class TrayMode : int {
    Connection = 0,  // a connection icon (given, or the remembered one)
    Notice = 1,      // the notice icon
};

// Thread messages the main window posts to the busy indicator.
enum class BusyMessage { Show, Hide };

}  // namespace zarvin
