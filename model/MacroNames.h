#pragma once

// Names of the macro page's macros: fresh names (the language's prefix followed by a counter
// that only grows while the page keeps entries) and the name a text typed into the macro list
// gives the current macro. "Begins with" is the list's own prefix search: case is ignored and
// every entry counts.

#include <span>
#include <string>
#include <string_view>

namespace zarvin {

// Whether one of `names` begins with `start`, ignoring case. An empty start matches nothing.
bool AnyNameBeginsWith(std::span<const std::u16string> names, std::u16string_view start);

class MacroNamer {
public:
    // The counter starts again (Add on an empty list).
    void Reset() { counter_ = 0; }
    int Counter() const { return counter_; }

    // Counter + 1, then the prefix followed by the counter in decimal.
    std::u16string Next(std::u16string_view prefix);
    // Fresh names until one that no entry of `names` begins with.
    std::u16string NextUnused(std::u16string_view prefix, std::span<const std::u16string> names);

    // The name the current macro takes for the text typed into the list's edit field; `others`
    // are the other entries. A text some entry begins with gives a fresh name; an empty text
    // gives the first fresh name no entry begins with. At most 259 characters of the text count.
    std::u16string NameForTyped(std::u16string_view typed, std::u16string_view prefix,
                                std::span<const std::u16string> others);

private:
    int counter_ = 0;
};

}  // namespace zarvin
