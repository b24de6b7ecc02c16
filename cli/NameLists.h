#pragma once

// The names the command line takes, listed for people and for shell completion: every key name,
// every remap target with what it does, the effect names and the macro names of the profile
// cache file (read without opening the keyboard).

#include <string>
#include <vector>

#include "model/KeyCodes.h"

namespace zarvin {
class AppContext;
}

namespace zarvin::cli {

struct ListedKey {
    std::string name;   // as typed, e.g. "CapsLock"
    std::string label;  // the key table's name, e.g. "Caps Lock"
    KeyCode code = 0;
    std::vector<std::string> aliases;  // the other names it takes, e.g. "Caps"
};

struct ListedTarget {
    std::string name;  // as typed: "LeftCtrl", "MouseLeft", "function:3", "macro:Copy"
    std::string type;  // "key", "mouse", "media", "function", "disabled" or "macro"
    std::string does;  // what the key then does, where known
};

// One entry per key, the key table's keys in slot order, then G1 to G18.
std::vector<ListedKey> ListedKeys(const TextLookup& texts);

// The targets a key can be given: keys, mouse buttons and wheel steps, multimedia keys, the
// keyboard's functions, disabled, and a macro:NAME per name in `macroNames`.
std::vector<ListedTarget> ListedTargets(const TextLookup& texts,
                                        const std::vector<std::string>& macroNames);

// The effect names of the language file, blanks left out ("ColourCycle").
std::vector<std::string> EffectNamesForTyping(const AppContext& context);

// The names of the macros in the profile cache file; none without the file.
std::vector<std::string> CachedMacroNames(const AppContext& context);

}  // namespace zarvin::cli
