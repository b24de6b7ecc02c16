#include "skin/LayoutEntry.h"

#include <array>
#include <cctype>
#include <charconv>
#include <optional>

#include "store/IniFile.h"

namespace zarvin {

namespace {

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// One "%d" at `pos`: white space, an optional sign, at least one digit. Advances `pos`.
std::optional<int> ReadNumber(std::string_view text, size_t& pos) {
    while (pos < text.size() && IsSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    long long magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (end == first || (first < last && *first == '-')) {
        return std::nullopt;
    }
    pos = static_cast<size_t>(end - text.data());
    if (error == std::errc::result_out_of_range || magnitude > kMaxLayoutCoordinate) {
        magnitude = kMaxLayoutCoordinate;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace

LayoutEntry ParseLayoutEntry(std::string_view text) {
    std::array<int, 4> numbers{};
    size_t pos = 0;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',') {
                break;
            }
            ++pos;
        }
        const std::optional<int> number = ReadNumber(text, pos);
        if (!number) {
            break;
        }
        numbers[i] = *number;
    }
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

LayoutEntry ReadLayoutEntry(const std::filesystem::path& skinFile, std::string_view section,
                            std::string_view key) {
    return ParseLayoutEntry(
        ReadIniString(skinFile, section, key, kMissingLayoutEntry, kIniBufferChars));
}

}  // namespace zarvin
