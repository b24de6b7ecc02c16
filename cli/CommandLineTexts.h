#pragma once

// The command line's own sentences (usage, help, headings, errors) in the command line's
// language (cli/LanguageMessages.h): section "CLI" of the language file beside the program.
// A key that the chosen file lacks reads the English file's text, so an old or partial file
// still gives whole sentences. Values may be long; "\n" in a value starts a new line.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace zarvin::cli {

// The text of `key` in section "CLI"; "#Error" when not even the English file has it.
std::string CliText(std::string_view key);

// `key`'s text with its places filled from `arguments` (model/TextTemplate.h).
std::string CliFormat(std::string_view key, std::initializer_list<std::string_view> arguments);

// `words` joined as a list in the command line's language: "a", "a or b", "a, b or c".
std::string OneOf(std::span<const std::string_view> words);

}  // namespace zarvin::cli
