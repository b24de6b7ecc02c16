#pragma once

// What the windows' controls are called for screen readers (and in some tooltips), built from
// the language file's texts: a key button says its key and what that key does now, a colour
// says its everyday name and its red, green and blue values.

#include <span>
#include <string>
#include <string_view>

#include "model/ColourValue.h"
#include "model/KeyAssignment.h"
#include "model/KeyCodes.h"
#include "model/MacroRecord.h"

namespace zarvin {

// "Caps Lock, remapped to Left Ctrl", "G1, plays macro Copy"; the key's name alone when it
// keeps its own function. `keyName` is the key's own name ("G1"-"G9" for the G keys); a macro's
// name comes from `macros`.
std::string KeySpokenName(std::string_view keyName, const KeyAssignment& record,
                          std::span<const MacroRecord> macros, const TextLookup& texts);

// The text key of the everyday name of a colour: black, grey and white for colours without
// much hue, else the nearest of red, orange, yellow, green, cyan, blue, purple and pink.
std::string_view ColourNameKey(ColourValue colour);

// "Orange (red 255, green 130, blue 0)".
std::string ColourSpokenName(ColourValue colour, const TextLookup& texts);

}  // namespace zarvin
