#pragma once

// What the editor dialogs ask of the main window. The main window implements it; editor tests
// implement it with a recording fake.

#include "control/ProfileSwitch.h"

namespace zarvin {

// What the profile switch asks of the main window, and:
class EditorHost : public ProfileSwitchHost {
public:
    // The key editor has closed: the clicked button gets back the faces of the keyboard view.
    virtual void RestoreKeyFaces(int controlId) = 0;
    // Opens "index.html" of the help folder.
    virtual void OpenHelp() = 0;
};

}  // namespace zarvin
