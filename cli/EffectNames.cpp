#include "cli/EffectNames.h"

#include <algorithm>
#include <cctype>

#include "model/EditDistance.h"

namespace zarvin::cli {
namespace {

constexpr size_t kSuggestions = 3;

std::string Normalized(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (c != ' ' && c != '-' && c != '_' && c != '\t') {
            kept += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return kept;
}

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    }
    return text;
}

}  // namespace

std::optional<int> EffectCodeOfName(std::string_view typed, std::span<const NamedEffect> effects,
                                    std::string& error) {
    const std::string key = Normalized(typed);
    for (const NamedEffect& effect : effects) {
        if (!key.empty() && Normalized(effect.name) == key) {
            return effect.code;
        }
    }
    // A slip of one letter in a short name, up to three in a long one, counted against the
    // name's beginning too, so that "colr" finds both Colour effects.
    const size_t allowed = std::clamp<size_t>(key.size() / 3, 1, 3);
    std::vector<std::pair<size_t, std::string>> close;
    for (const NamedEffect& effect : effects) {
        const std::string name = Normalized(effect.name);
        size_t distance = EditDistance(key, name);
        for (const size_t length : {key.size(), key.size() + 1}) {
            if (!key.empty() && length < name.size()) {
                distance = std::min(distance, EditDistance(key, name.substr(0, length)));
            }
        }
        if (distance <= allowed) {
            close.emplace_back(distance, effect.name);
        }
    }
    std::stable_sort(close.begin(), close.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (size_t i = 0; i < close.size() && i < kSuggestions; ++i) {
        names.push_back(close[i].second);
    }
    error = "this keyboard offers no effect called '" + std::string(typed) + "'";
    if (!names.empty()) {
        error += "; did you mean " + Listed(names) + "?";
        return std::nullopt;
    }
    std::vector<std::string> all;
    for (const NamedEffect& effect : effects) {
        all.push_back(effect.name);
    }
    error += "; it offers " + Listed(all);
    return std::nullopt;
}

}  // namespace zarvin::cli
