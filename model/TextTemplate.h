#pragma once

// The language files' sentences with places for words: "%s" takes the next argument, "%N$s" the
// Nth (so that a language may name them in its own order), "%%" is a '%'. A place without an
// argument is left out; anything else after a '%' stays as it is.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace zarvin {

std::string FillTemplate(std::string_view format, std::span<const std::string_view> arguments);

std::string FillTemplate(std::string_view format,
                         std::initializer_list<std::string_view> arguments);

}  // namespace zarvin
