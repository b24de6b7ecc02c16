#pragma once

#include <cstdint>
#include <string_view>

namespace zarvin {

// The number at the start of `text` the way the Windows settings functions read one: leading
// blanks, an optional sign, then decimal digits up to the first other character; 0 when there
// are no digits. A number beyond 32 bits wraps around instead of failing.
inline int LeadingDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10u + static_cast<uint32_t>(text[i] - '0');
    }
    return static_cast<int>(negative ? 0u - number : number);
}

}  // namespace zarvin
