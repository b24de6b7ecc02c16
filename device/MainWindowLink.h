#pragma once

// How the device threads reach the main window. They never touch the window directly: the
// window implements this (queued calls onto its own thread) and tests record the calls. Every
// operation may be called from any of the device threads.

#include "device/WindowMessages.h"

namespace zarvin {

class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;

    // Delivers the message and returns once the window has handled it. At exit the window ends
    // such calls without handling them before it stops the device threads, so the stopping
    // thread never waits on a thread that waits on it.
    virtual void SendMessage(WindowMessage message) = 0;
    // Queues the message; the window handles it later.
    virtual void PostMessage(WindowMessage message) = 0;

    virtual void StartTimer(WindowTimer timer, int milliseconds) = 0;
    virtual void KillTimer(WindowTimer timer) = 0;

    virtual void HideWindow() = 0;

    // Mode TrayMode::Connection with an icon shows that icon and remembers it, with
    // TrayIcon::Remembered shows the remembered one; TrayMode::Notice shows TrayIcon::Notice.
    virtual void SetTrayIconState(TrayMode mode, TrayIcon icon) = 0;

    virtual void ShowBusyIndicator(bool shown) = 0;
};

}  // namespace zarvin
