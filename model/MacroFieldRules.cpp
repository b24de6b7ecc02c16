#include "model/MacroFieldRules.h"

#include <algorithm>
#include <limits>

namespace zarvin {

std::optional<int64_t> LeadingDecimal(std::string_view text) {
    constexpr int64_t kLimit = std::numeric_limits<int>::max();
    size_t at = text.find_first_not_of(" \t");
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    bool negative = false;
    if (text[at] == '-' || text[at] == '+') {
        negative = text[at] == '-';
        ++at;
    }
    if (at >= text.size() || text[at] < '0' || text[at] > '9') {
        return std::nullopt;
    }
    int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = std::min(kLimit, value * 10 + (text[at] - '0'));
    }
    return negative ? -value : value;
}

std::optional<std::string_view> CorrectedCyclesText(std::string_view text) {
    const std::optional<int64_t> value = LeadingDecimal(text);
    if (!value || *value < kMinMacroCycles) {
        return "1";
    }
    if (*value > kMaxMacroCycles) {
        return "255";
    }
    return std::nullopt;
}

uint8_t CyclesOfText(std::string_view text) {
    const int64_t value = LeadingDecimal(text).value_or(kMinMacroCycles);
    return static_cast<uint8_t>(std::clamp<int64_t>(value, kMinMacroCycles, kMaxMacroCycles));
}

EditedDelay EditedDelayOf(std::string_view text) {
    const int64_t value = std::max<int64_t>(LeadingDecimal(text).value_or(0), 0);
    EditedDelay edited;
    edited.overMaximum = value > kMaxEditedDelay;
    const auto kept = static_cast<int32_t>(std::min<int64_t>(value, kMaxEditedDelay));
    edited.delay = kept - kept % kEditedDelayStep;
    return edited;
}

}  // namespace zarvin
