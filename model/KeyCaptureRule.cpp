#include "model/KeyCaptureRule.h"

#include <algorithm>

#include "model/KeyMapCodec.h"

namespace zarvin {

namespace {

constexpr uint32_t kAutoRepeatBit = 1U << 30;
constexpr uint32_t kReleaseBit = 1U << 31;
constexpr KeyCode kPrintScreen = 0x137;

// Left Windows, right Windows and Menu; their key codes are 0x100 + the virtual-key code.
constexpr bool IsSystemKeyVk(uint8_t vk) { return vk == 0x5B || vk == 0x5C || vk == 0x5D; }

}  // namespace

bool IsMediaKeyCode(KeyCode code) {
    return std::any_of(MediaFunctionTable.begin(), MediaFunctionTable.end(),
                       [code](const MediaFunction& row) { return row.keyCode == code; });
}

KeyCaptureDecision DecideKeyCapture(const CapturedKeyEvent& event, bool mouseSourceChosen) {
    using Action = KeyCaptureDecision::Action;
    if (IsSystemKeyVk(event.vk)) {
        return {Action::Capture, static_cast<KeyCode>(0x100 + event.vk)};
    }
    const KeyCode key = KeyCodeOfKeyEvent(event.vk, event.keyWord);
    if (key == 0 || IsMediaKeyCode(key)) {
        return {Action::PassOn, 0};
    }
    const bool releaseOrRepeat = (event.keyWord & (kReleaseBit | kAutoRepeatBit)) != 0;
    if (mouseSourceChosen || (releaseOrRepeat && key != kPrintScreen)) {
        return {Action::Swallow, 0};
    }
    return {Action::Capture, key};
}

}  // namespace zarvin
