#pragma once

// The --json form of the commands' output: one JSON value on one line, with the field names
// kept stable for scripts (the man page lists them). Profiles carry both the number people see
// ("profile": 1 to 3) and the keyboard's index ("index": 0 to 2); keys their name from the key
// table and their code.

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "model/KeyCodes.h"

namespace zarvin::cli {

// Fields keep the order they are written in.
using JsonValue = nlohmann::ordered_json;

enum class OutputForm { Text, Json };

// Writes `value` on one line. Text that is not UTF-8 is written with replacement characters
// rather than failing.
void PrintJson(std::ostream& out, const JsonValue& value);

// {"profile": index + 1, "index": index}
JsonValue ProfileJson(int index);
// {"name": the key table's name, "code": the key code}
JsonValue KeyJson(KeyCode code, const TextLookup& texts);
// {"error": message}, for standard error.
JsonValue ErrorJson(const std::string& message);

}  // namespace zarvin::cli
