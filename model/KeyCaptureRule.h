#pragma once

// What the key editor's single-key page does with a key event while it waits for a key: take
// it as the key to assign, swallow it, or let it through to the rest of the system.

#include <cstdint>

#include "model/KeyCodes.h"

namespace zarvin {

// A key event as the capture sees it: the Windows virtual-key code and the key-message word
// (make code bits 16-23, extended bit 24, auto-repeat bit 30, release bit 31).
struct CapturedKeyEvent {
    uint8_t vk = 0;
    uint32_t keyWord = 0;
};

struct KeyCaptureDecision {
    enum class Action { PassOn, Swallow, Capture };
    Action action = Action::PassOn;
    KeyCode key = 0;  // the captured key for Capture
};

// One of the 18 multimedia keys of the media function table: these keep working as usual.
bool IsMediaKeyCode(KeyCode code);

// The Windows and Menu keys are taken on press and release alike, even while the mouse source
// is chosen, so the platform never acts on them. Every other key: media keys and events without
// a key code pass on; with the mouse source chosen, and for releases and auto-repeats (Print
// Screen excepted, which may arrive as a release alone), the event is swallowed; anything else is
// captured.
KeyCaptureDecision DecideKeyCapture(const CapturedKeyEvent& event, bool mouseSourceChosen);

}  // namespace zarvin
