#pragma once

// A shipped language chosen by name, as the command line takes it.

#include <optional>
#include <string_view>

namespace zarvin {

// The language index of a name such as "de", "pt_BR", "zh-TW" or a locale like "de_AT.UTF-8"
// (any case): the shipped language that serves it, as for the system's language. Nothing for a
// language without a file ("it", "xx"), so that a typing slip does not quietly give English.
std::optional<int> LanguageIndexOfName(std::string_view name);

}  // namespace zarvin
