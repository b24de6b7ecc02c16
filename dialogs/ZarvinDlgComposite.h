#pragma once

// Zarvin_DlgComposite: the key editor. Four pages (single key, macro, multimedia, function
// key); Apply commits the macro page's macros and writes the edited key's assignment record into
// the working profile store. The keyboard is written later by the main window's Apply.
//
// PUBLIC SURFACE (fixed; the main window, the keyboard view and the profile switch use it).
// Everything below `private:` is the implementer's.

#include <QRect>
#include <memory>

#include "skin/BaseDialog.h"

namespace zarvin {

class ConfiguratorCore;
class EditorHost;

// The key a click opened the editor for.
struct KeyEditTarget {
    int slot = 0;        // record slot: 0-255 key slots, 256-264 the G keys G1-G9
    int controlId = 0;   // the clicked button; 1143 (G9) opens the editor in macro mode
    QRect buttonRect;    // the clicked button on the screen; the editor opens beside it
};

class Zarvin_DlgComposite : public CBaseDialog {
    Q_OBJECT

public:
    Zarvin_DlgComposite(ConfiguratorCore& core, EditorHost& host, QWidget* parent = nullptr);
    ~Zarvin_DlgComposite() override;

    // Shows the editor window-modally for the target and returns at once.
    void Open(const KeyEditTarget& target);
    // Runs the editor modally for the target; returns when it has closed.
    int Exec(const KeyEditTarget& target);

    // The open count is above 0.
    bool IsOpen() const;
    // The main window's closing request: Cancel when open.
    void CloseIfOpen();
    // The language message ('PA' 'LANG'): the texts again, in the current language.
    void ApplyLanguage();

private:
};

}  // namespace zarvin
