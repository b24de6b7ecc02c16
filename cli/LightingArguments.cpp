#include "cli/LightingArguments.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <string_view>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "control/LightingState.h"

namespace zarvin::cli {
namespace {

constexpr std::array<const char*, 4> kOptionNames{"red", "yellow", "green", "blue"};
constexpr int kHighestEffectCode = 255;
constexpr const char* kFieldNames = "effect, brightness, speed, direction, colour, multicolour, option, rate";

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// A decimal number from `low` to `high`, digits only.
std::optional<int> ParseNumber(std::string_view text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

constexpr std::array<std::string_view, 2> kDirectionNames{"A", "B"};
constexpr std::array<std::string_view, 2> kSwitchNames{"on", "off"};

// "0 to 5".
std::string Range(int low, int high) {
    return CliFormat(cli_text::VALUES_RANGE, {std::to_string(low), std::to_string(high)});
}

// Sets `field` from `value` or says what `name` takes.
template <typename T>
bool Take(std::optional<T>& field, std::optional<T> value, std::string_view name,
          std::string_view allowed, std::string_view text, std::string& error) {
    if (!value) {
        error = CliFormat(cli_text::NOT_A_VALUE_FOR, {text, name, allowed});
        return false;
    }
    field = value;
    return true;
}

}  // namespace

std::optional<ColourValue> ParseColour(std::string_view text) {
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        return std::nullopt;
    }
    uint32_t rgb = 0;
    std::from_chars(text.data(), text.data() + text.size(), rgb, 16);
    return MakeColour(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                      static_cast<uint8_t>(rgb));
}

const char* OptionColourName(int option) {
    return option >= 0 && option <= kOptionColourMax ? kOptionNames[static_cast<size_t>(option)]
                                                     : "?";
}

std::optional<LightingSettings> ParseLightingSettings(const std::vector<std::string>& words,
                                                      std::string& error) {
    LightingSettings settings;
    for (const std::string& word : words) {
        const size_t equals = word.find('=');
        if (equals == std::string::npos) {
            error = CliFormat(cli_text::NOT_FIELD_VALUE, {word, kFieldNames});
            return std::nullopt;
        }
        const std::string name = Lower(std::string_view(word).substr(0, equals));
        const std::string_view text = std::string_view(word).substr(equals + 1);
        const std::string value = Lower(text);
        bool taken = false;
        if (name == "effect" && !text.empty() &&
            !std::isdigit(static_cast<unsigned char>(text.front()))) {
            settings.effectName = std::string(text);
            taken = true;
        } else if (name == "effect") {
            taken = Take(settings.effect, ParseNumber(value, 1, kHighestEffectCode), name,
                         CliText(cli_text::VALUES_EFFECT),
                         text, error);
        } else if (name == "brightness") {
            taken = Take(settings.brightness, ParseNumber(value, 0, kSliderMax), name,
                         Range(0, kSliderMax), text, error);
        } else if (name == "speed") {
            taken = Take(settings.speed, ParseNumber(value, 0, kSliderMax), name,
                         Range(0, kSliderMax), text, error);
        } else if (name == "direction") {
            std::optional<uint8_t> direction;
            if (value == "a")
                direction = kDirectionFirst;
            if (value == "b")
                direction = kDirectionSecond;
            taken = Take(settings.direction, direction, name, OneOf(kDirectionNames), text, error);
        } else if (name == "colour" || name == "color") {
            taken = Take(settings.colour, ParseColour(value), "colour",
                         CliText(cli_text::VALUES_COLOUR), text, error);
        } else if (name == "multicolour" || name == "multicolor") {
            std::optional<bool> on;
            if (value == "on")
                on = true;
            if (value == "off")
                on = false;
            taken = Take(settings.multicolour, on, "multicolour", OneOf(kSwitchNames), text, error);
        } else if (name == "option") {
            std::optional<int> option;
            const auto found = std::find(kOptionNames.begin(), kOptionNames.end(), value);
            if (found != kOptionNames.end()) {
                option = static_cast<int>(found - kOptionNames.begin());
            }
            taken = Take(settings.option, option, name,
                         OneOf(std::vector<std::string_view>(kOptionNames.begin(), kOptionNames.end())),
                         text, error);
        } else if (name == "rate") {
            taken = Take(settings.rate, ParseNumber(value, 0, kReportRateMax), name,
                         Range(0, kReportRateMax), text, error);
        } else {
            error = CliFormat(cli_text::UNKNOWN_LIGHTING_FIELD, {name, kFieldNames});
        }
        if (!taken)
            return std::nullopt;
    }
    if (settings.Empty()) {
        error = CliText(cli_text::SET_NEEDS_FIELD);
        return std::nullopt;
    }
    return settings;
}

}  // namespace zarvin::cli
