#pragma once

// The words of "colours": KEY=RRGGBB per key, or with --all one colour for every key. Keys are
// named as everywhere on the command line, and Fn as "Fn"; only keys with a light of their own
// on the keyboard view are taken. The G keys share one light.

#include <optional>
#include <string>
#include <vector>

#include "control/KeyColours.h"
#include "model/KeyboardLayout.h"

namespace zarvin::cli {

// Nothing, with `error` naming the word, when a key or a colour is not understood.
std::optional<std::vector<KeyColours::PaintedKey>> ParseKeyColours(
    const std::vector<std::string>& words, bool all, std::string& error);

// The name the button is given back as, one word that ParseKeyColours takes: "CapsLock",
// "G1", "Fn".
std::string ColourKeyName(const KeyButton& button);

}  // namespace zarvin::cli
