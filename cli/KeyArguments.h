#pragma once

// The KEY and TARGET arguments of `remap` and `reset`, as typed: key names of the key code
// table in any case (model/KeyNames.h), and for a target also `disabled`, `macro:NAME` and
// `function:N` (the keyboard's functions 1 to 11).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/KeyAssignment.h"
#include "model/KeyCodes.h"

namespace zarvin::cli {

struct RemapTarget {
    AssignmentType type = AssignmentType::Default;
    // Key: the key code; Media: the row of the media function table; Function: the row 0-10.
    int32_t value = 0;
    // PlayMacro: the macro's name, found among the keyboard's macros when the command runs.
    std::string macroName;
};

// The key a typed name stands for; nothing, with `error` naming close matches, for a name that
// is no key.
std::optional<KeyCode> ParseKeyName(std::string_view typed, std::string& error);

// What a key is to become. A multimedia key becomes its Media function; a key, mouse button or
// wheel step that a key map cannot send (Power, Sys Req, the office functions) is an error.
std::optional<RemapTarget> ParseRemapTarget(std::string_view typed, std::string& error);

}  // namespace zarvin::cli
