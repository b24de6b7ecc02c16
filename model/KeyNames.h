#pragma once

// Key names as a user types them on the command line: the key code table's labels ("Caps Lock",
// "F1", "Num 7", "Mute"), G1 to G18, and common other names ("CapsLock", "LeftCtrl", "LCtrl",
// "Esc", "WheelUp", "MouseLeft"). Matching ignores case, blanks and underscores, and hyphens
// between letters or digits, so "caps_lock", "Left-Ctrl" and "NUM 7" all match while "Num -" and
// "-" keep their minus.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/KeyCodes.h"

namespace zarvin {

struct KeyAlias {
    std::string_view name;
    KeyCode code;
};

// A name KeyCodeOfName takes, spelled without blanks, and its key.
struct TypedKeyName {
    std::string name;
    KeyCode code;
};

// Every name once: the labels in slot order, G1 to G18, then the other names. A key's first
// name is its label ("CapsLock", "Num7").
std::vector<TypedKeyName> TypedKeyNames();

// The other names, besides the labels and the G keys.
std::span<const KeyAlias> KeyNameAliases();

// The key a typed name stands for; 0 when no name matches. Where two rows share a label the
// first counts (Right Shift is 0x036).
KeyCode KeyCodeOfName(std::string_view typed);

// For an error message: up to `count` names closest to `typed` (by edit distance, and not too
// far), closest first, one name per key, spelled as they can be typed.
std::vector<std::string> CloseKeyNames(std::string_view typed, size_t count = 3);

}  // namespace zarvin
