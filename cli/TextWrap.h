#pragma once

// Paragraphs broken into terminal lines for the usage and help texts, whatever the language:
// columns are counted as a terminal shows them (Chinese and Japanese characters take two), lines
// break at blanks and between such wide characters, never before closing punctuation.

#include <cstddef>
#include <string>
#include <string_view>

namespace zarvin::cli {

// The columns a terminal gives `text` (UTF-8).
size_t DisplayWidth(std::string_view text);

// Each line of `text` broken into lines of at most `width` columns (a word longer than that
// stands alone), every line ending in '\n'. The first line starts with `firstPrefix`, each
// following one with `restPrefix`; both count towards the width.
std::string WrapText(std::string_view text, size_t width, std::string_view firstPrefix,
                     std::string_view restPrefix);

}  // namespace zarvin::cli
