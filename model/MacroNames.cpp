#include "model/MacroNames.h"

#include <algorithm>
#include <cwctype>

namespace zarvin {

namespace {

// What the list's edit field holds, its terminator not counted.
constexpr size_t kMaxTypedLength = 259;

char16_t Folded(char16_t unit) {
    // Surrogate halves have no case of their own.
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        return unit;
    }
    return static_cast<char16_t>(std::towlower(static_cast<wint_t>(unit)));
}

bool BeginsWith(std::u16string_view name, std::u16string_view start) {
    return name.size() >= start.size() &&
           std::equal(start.begin(), start.end(), name.begin(),
                      [](char16_t a, char16_t b) { return Folded(a) == Folded(b); });
}

std::u16string Decimal(int number) {
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

bool AnyNameBeginsWith(std::span<const std::u16string> names, std::u16string_view start) {
    return !start.empty() && std::ranges::any_of(names, [&](const std::u16string& name) {
        return BeginsWith(name, start);
    });
}

std::u16string MacroNamer::Next(std::u16string_view prefix) {
    ++counter_;
    return std::u16string(prefix) + Decimal(counter_);
}

std::u16string MacroNamer::NextUnused(std::u16string_view prefix,
                                      std::span<const std::u16string> names) {
    std::u16string name = Next(prefix);
    while (AnyNameBeginsWith(names, name)) {
        name = Next(prefix);
    }
    return name;
}

std::u16string MacroNamer::NameForTyped(std::u16string_view typed, std::u16string_view prefix,
                                        std::span<const std::u16string> others) {
    std::u16string name(typed.substr(0, kMaxTypedLength));
    if (AnyNameBeginsWith(others, name)) {
        return Next(prefix);
    }
    if (name.empty()) {
        return NextUnused(prefix, others);
    }
    return name;
}

}  // namespace zarvin
