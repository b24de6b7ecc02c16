#include "cli/MacroActions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/KeyArguments.h"
#include "model/MacroFieldRules.h"

namespace zarvin::cli {
namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() &&
           std::equal(end.begin(), end.end(), text.end() - static_cast<long>(end.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

// "120ms": the digits before "ms", or nothing when the word is no delay.
std::optional<long long> DelayOf(std::string_view word) {
    if (!EndsWithIgnoringCase(word, "ms") || word.size() == 2) {
        return std::nullopt;
    }
    const std::string_view digits = word.substr(0, word.size() - 2);
    if (digits.front() == '-') {
        return -1LL;  // told apart from a key name, refused by the caller
    }
    long long value = 0;
    const auto [stop, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (failure == std::errc::result_out_of_range) {
        return kMaxEditedDelay + 1LL;
    }
    if (failure != std::errc() || stop != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::vector<MacroAction>> ParseMacroActions(const std::vector<std::string>& words,
                                                          std::string& error) {
    std::vector<MacroAction> actions;
    for (const std::string& word : words) {
        if (const auto delay = DelayOf(word)) {
            if (actions.empty()) {
                error = CliFormat(cli_text::DELAY_FIRST, {word});
                return std::nullopt;
            }
            if (*delay < 0 || *delay > kMaxEditedDelay) {
                error = CliFormat(cli_text::NOT_A_DELAY, {word});
                return std::nullopt;
            }
            actions.back().delay = static_cast<int32_t>(*delay / kEditedDelayStep * kEditedDelayStep);
            continue;
        }
        const size_t colon = word.rfind(':');
        std::string_view name = word;
        std::optional<uint16_t> state;
        if (colon != std::string::npos && colon > 0) {
            const std::string_view how = std::string_view(word).substr(colon + 1);
            if (EndsWithIgnoringCase(how, "down") && how.size() == 4) {
                state = MacroAction::kPress;
            } else if (EndsWithIgnoringCase(how, "up") && how.size() == 2) {
                state = MacroAction::kRelease;
            } else {
                error = CliFormat(cli_text::DOWN_OR_UP, {word});
                return std::nullopt;
            }
            name = name.substr(0, colon);
        }
        const auto key = ParseKeyName(name, error);
        if (!key) {
            return std::nullopt;
        }
        if (UsageOfKeyCode(*key).usageClass == UsageClass::None) {
            error = CliFormat(cli_text::NOT_IN_MACRO, {name});
            return std::nullopt;
        }
        if (state) {
            actions.push_back({.delay = 0, .key = *key, .state = *state});
        } else {
            actions.push_back({.delay = 0, .key = *key, .state = MacroAction::kPress});
            actions.push_back({.delay = 0, .key = *key, .state = MacroAction::kRelease});
        }
        if (actions.size() > MacroRecord::kMaxActions) {
            error = CliText(cli_text::TOO_MANY_ACTIONS);
            return std::nullopt;
        }
    }
    if (actions.empty()) {
        error = CliText(cli_text::NO_ACTIONS);
        return std::nullopt;
    }
    return actions;
}

std::string FormatMacroActions(const std::vector<MacroAction>& actions, const TextLookup& texts) {
    std::string text;
    for (const MacroAction& action : actions) {
        std::string name = KeyNameOf(action.key, texts);
        name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
        text += (text.empty() ? "" : " ") + name +
                (action.state == MacroAction::kRelease ? ":up" : ":down");
        if (action.delay != 0) {
            text += ' ' + std::to_string(action.delay) + "ms";
        }
    }
    return text;
}

}  // namespace zarvin::cli
