#include "cli/ColourArguments.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/KeyArguments.h"
#include "cli/LightingArguments.h"
#include "model/KeyNames.h"

namespace zarvin::cli {
namespace {

bool IsFn(std::string_view name) {
    return name.size() == 2 && std::tolower(static_cast<unsigned char>(name[0])) == 'f' &&
           std::tolower(static_cast<unsigned char>(name[1])) == 'n';
}

// The button of a typed key name; nothing, with the reason in `error`, without one.
const KeyButton* ButtonOfName(std::string_view name, std::string& error) {
    if (IsFn(name)) {
        return &FnKey();
    }
    const auto code = ParseKeyName(name, error);
    if (!code) {
        return nullptr;
    }
    const auto buttons = KeyButtons();
    const auto button = std::find_if(buttons.begin(), buttons.end(), [&](const KeyButton& b) {
        return b.kind != KeyButtonKind::Fn && b.keyCode == *code;
    });
    if (button == buttons.end()) {
        error = CliFormat(cli_text::NO_OWN_LIGHT, {name});
        return nullptr;
    }
    return &*button;
}

std::string NotAColour(std::string_view text) {
    return CliFormat(cli_text::NOT_A_COLOUR, {text});
}

}  // namespace

std::optional<std::vector<KeyColours::PaintedKey>> ParseKeyColours(
    const std::vector<std::string>& words, bool all, std::string& error) {
    std::vector<KeyColours::PaintedKey> keys;
    if (all) {
        if (words.size() != 1) {
            error = CliFormat(cli_text::USAGE_ERROR, {"colours --all RRGGBB"});
            return std::nullopt;
        }
        const auto colour = ParseColour(words.front());
        if (!colour) {
            error = NotAColour(words.front());
            return std::nullopt;
        }
        for (const KeyButton& button : KeyButtons()) {
            keys.push_back({.controlId = button.controlId, .colour = *colour});
        }
        return keys;
    }
    for (const std::string& word : words) {
        // The last '=' splits, so that the key "=" can be named too.
        const size_t equals = word.rfind('=');
        if (equals == std::string::npos || equals == 0) {
            error = CliFormat(cli_text::NOT_KEY_COLOUR, {word});
            return std::nullopt;
        }
        const std::string_view name = std::string_view(word).substr(0, equals);
        const KeyButton* button = ButtonOfName(name, error);
        if (button == nullptr) {
            return std::nullopt;
        }
        const auto colour = ParseColour(std::string_view(word).substr(equals + 1));
        if (!colour) {
            error = CliFormat(cli_text::COLOUR_FOR_KEY, {NotAColour(word.substr(equals + 1)), name});
            return std::nullopt;
        }
        keys.push_back({.controlId = button->controlId, .colour = *colour});
    }
    return keys;
}

std::string ColourKeyName(const KeyButton& button) {
    if (button.kind == KeyButtonKind::Fn) {
        return "Fn";
    }
    for (const TypedKeyName& name : TypedKeyNames()) {
        if (name.code == button.keyCode) {
            return name.name;
        }
    }
    return button.legend;
}

}  // namespace zarvin::cli
