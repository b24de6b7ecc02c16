#pragma once

// Conversions between the UTF-16 of macro names and launch strings and the UTF-8 of language
// texts and displays. Broken input (lone surrogates, malformed UTF-8) becomes U+FFFD.

#include <string>
#include <string_view>

namespace zarvin {

std::u16string Utf16OfUtf8(std::string_view text);
std::string Utf8OfUtf16(std::u16string_view text);

}  // namespace zarvin
