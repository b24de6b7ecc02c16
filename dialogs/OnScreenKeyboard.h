#pragma once

// The desktop's on-screen keyboard, for the key editor's button that opens one. Its key presses
// arrive as real key events, so the editor's key capture takes them like any other key.

#include <QString>

namespace zarvin {

// The first installed on-screen keyboard program found on the search path; empty when none.
QString FindOnScreenKeyboard();

// Starts the installed on-screen keyboard, detached from this program. False when none is
// installed or it cannot be started.
bool StartOnScreenKeyboard();

}  // namespace zarvin
