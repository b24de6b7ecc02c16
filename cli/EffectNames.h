#pragma once

// Lighting effects by name, as `lighting set effect=NAME` takes them: the language file's MODE
// texts, in any case, with blanks, dashes and underscores ignored ("colour-cycle" is Colour
// cycle). A number is still an effect code.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zarvin::cli {

struct NamedEffect {
    int code = 0;
    std::string name;
};

// The code `typed` names among `effects` (those the keyboard offers). Nothing, with `error`
// naming the closest names or else all of them, when none matches.
std::optional<int> EffectCodeOfName(std::string_view typed, std::span<const NamedEffect> effects,
                                    std::string& error);

}  // namespace zarvin::cli
