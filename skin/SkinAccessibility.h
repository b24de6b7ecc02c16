#pragma once

// How the skin's own controls present themselves to assistive technology (screen readers over
// AT-SPI on Linux). Qt describes its standard widgets itself; for the picture buttons
// (CPngButton, CPictureButton), the bitmap slider and the link this factory gives QAccessible
// interfaces of our own: the role from the button's ButtonRole (push button, toggle button,
// radio button, or static display), the checked state of toggles and choices, the name the
// owner sets (else the text or tooltip), the press and toggle actions, and the slider's value.
//
// The names themselves come from the windows, in the current language's texts.

class QObject;

namespace zarvin {

// Installs the factory once for the process; later calls do nothing. Start-up calls it before
// the first window is built (tests too).
void InstallSkinAccessibility();

// Tells assistive technology that the control's on/chosen state or its name changed.
void NotifyCheckedChanged(QObject* control);
void NotifyNameChanged(QObject* control);

}  // namespace zarvin
