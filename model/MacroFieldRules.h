#pragma once

// What the macro page's number fields accept: the cycles field keeps 1-255, and a delay typed
// into the action list keeps at most 40000 ms in steps of 10 ms.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zarvin {

inline constexpr int kMinMacroCycles = 1;
inline constexpr int kMaxMacroCycles = 255;
inline constexpr int32_t kMaxEditedDelay = 40000;
inline constexpr int32_t kEditedDelayStep = 10;

// The leading decimal number of `text` (blanks and a sign allowed before the digits), saturated
// to the int range; nothing when the text does not start with one.
std::optional<int64_t> LeadingDecimal(std::string_view text);

// The text the cycles field shows instead of `text`: "1" for no number or one below 1, "255"
// for one above 255; nothing when the text may stay.
std::optional<std::string_view> CorrectedCyclesText(std::string_view text);
// The field's value for the macro record, clamped the same way.
uint8_t CyclesOfText(std::string_view text);

struct EditedDelay {
    int32_t delay = 0;
    bool overMaximum = false;  // the user is told that 40000 is the most
};
// A delay typed into the action list: above 40000 it becomes 40000, then it is rounded down to
// a multiple of 10. No number gives 0.
EditedDelay EditedDelayOf(std::string_view text);

}  // namespace zarvin
