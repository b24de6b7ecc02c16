#include "store/ColourScheme.h"

#include <algorithm>
#include <cctype>

#include "store/Settings.h"

namespace zarvin {

ColourScheme ChooseColourScheme(ColourSchemeChoice choice, std::optional<uint32_t> desktop) {
    switch (choice) {
        case ColourSchemeChoice::Dark:
            return ColourScheme::Dark;
        case ColourSchemeChoice::Light:
            return ColourScheme::Light;
        case ColourSchemeChoice::Desktop:
            break;
    }
    return desktop == kDesktopPrefersLight ? ColourScheme::Light : ColourScheme::Dark;
}

std::optional<ColourSchemeChoice> ParseColourSchemeChoice(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "desktop") {
        return ColourSchemeChoice::Desktop;
    }
    if (lower == "dark") {
        return ColourSchemeChoice::Dark;
    }
    if (lower == "light") {
        return ColourSchemeChoice::Light;
    }
    return std::nullopt;
}

ColourSchemeChoice StoredColourSchemeChoice(const Settings& settings, std::string& problem) {
    const std::string stored = settings.ReadProfileString(kColourSchemeValue, "desktop");
    if (const std::optional<ColourSchemeChoice> choice = ParseColourSchemeChoice(stored)) {
        return *choice;
    }
    problem = "the colour scheme setting \"" + stored +
              "\" is none of desktop, dark and light; following the desktop";
    return ColourSchemeChoice::Desktop;
}

}  // namespace zarvin
