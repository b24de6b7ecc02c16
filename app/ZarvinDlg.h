#pragma once

// CZarvinDlg: the configurator's one top-level window. It carries the keyboard view, the
// lighting panel, the profile buttons, Apply and Default and its own small buttons and menus,
// owns the editor dialogs and the tray icon, and receives every message of the device threads
// (MainWindowLink) and of other program instances.
//
// PUBLIC SURFACE (fixed; start-up uses it). Everything below `private:` is the implementer's.

#include <cstdint>

#include "app/EditorHost.h"
#include "device/MainWindowLink.h"
#include "skin/BaseDialog.h"

namespace zarvin {

class ConfiguratorCore;
class HidNodeSource;

class CZarvinDlg : public CBaseDialog, public MainWindowLink, public EditorHost {
    Q_OBJECT

public:
    // `eventNodes` is where the event listener finds the keyboard's consumer-control interface
    // (the same source the core's link uses).
    CZarvinDlg(ConfiguratorCore& core, HidNodeSource& eventNodes, QWidget* parent = nullptr);
    ~CZarvinDlg() override;

    // Initialises the window (hidden, behind the tray icon), starts the device threads and runs
    // until the exit path ends the run; returns the exit code.
    int Run();

    // A window message by number and tag, as another instance or a test sends it; handled on
    // this thread before returning. Wrong tags are ignored.
    void HandleMessage(uint32_t message, uint32_t tag, int64_t parameter = 0);

private:
};

}  // namespace zarvin
