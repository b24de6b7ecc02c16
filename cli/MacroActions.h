#pragma once

// The short form of a macro's actions on the command line, one word each:
//
//   KEY:down   a press of KEY          KEY:up   its release
//   KEY        a press and a release
//   Nms        the time, N milliseconds, from the action before to the next one
//
// for example "LeftCtrl:down C 50ms LeftCtrl:up". Keys are named as in the key table. The
// checks are the macro page's: at most 4000 actions, delays of at most 40000 ms kept in steps of
// 10 ms (rounded down), and only keys the keyboard can play.

#include <optional>
#include <string>
#include <vector>

#include "model/KeyCodes.h"
#include "model/MacroRecord.h"

namespace zarvin::cli {

// Nothing, with `error` naming the word, when a word is not understood or a limit is passed.
std::optional<std::vector<MacroAction>> ParseMacroActions(const std::vector<std::string>& words,
                                                          std::string& error);

// The actions in the same form, each press and release on its own, a delay after each action
// that has one.
std::string FormatMacroActions(const std::vector<MacroAction>& actions, const TextLookup& texts);

}  // namespace zarvin::cli
