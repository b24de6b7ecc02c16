#pragma once

// The FIELD=VALUE words of "lighting set", checked before the keyboard is touched.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "control/LightingPanel.h"

namespace zarvin::cli {

// The fields given on the command line; the others stay as the keyboard has them.
struct LightingSettings {
    std::optional<int> effect;  // an effect code; whether the keyboard offers it is checked later
    // An effect given by name, found among the keyboard's effects when the command runs.
    std::optional<std::string> effectName;
    std::optional<int> brightness;     // 0 to 5
    std::optional<int> speed;          // slider position, 0 (slow) to 5 (fast)
    std::optional<uint8_t> direction;  // kDirectionFirst (A) or kDirectionSecond (B)
    std::optional<ColourValue> colour;
    std::optional<bool> multicolour;
    std::optional<int> option;  // 0 red, 1 yellow, 2 green, 3 blue
    std::optional<int> rate;    // 0 to 3

    bool Empty() const {
        return !effect && !effectName && !brightness && !speed && !direction && !colour && !multicolour &&
               !option && !rate;
    }
};

// Nullopt, with `error` saying the allowed values, when a word is not understood.
std::optional<LightingSettings> ParseLightingSettings(const std::vector<std::string>& words,
                                                      std::string& error);

// Six hexadecimal digits, red first, with or without a leading '#'; nothing for other text.
std::optional<ColourValue> ParseColour(std::string_view text);

// "red", "yellow", "green", "blue"; "?" for another value.
const char* OptionColourName(int option);

}  // namespace zarvin::cli
