#pragma once

// Light or dark: which of the skin's two colour schemes the windows draw in. The user may force
// either; otherwise the desktop's preference decides, and dark, the skin's own look, when the
// desktop states none or nobody answers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zarvin {

class Settings;

enum class ColourScheme { Dark, Light };

// The stored choice: "desktop" (also when nothing is stored), "dark" or "light".
enum class ColourSchemeChoice { Desktop, Dark, Light };

// The profile value that keeps the choice.
inline constexpr std::string_view kColourSchemeValue = "ColourScheme";

// The desktop's preference as the appearance setting of the desktop portal numbers it.
inline constexpr uint32_t kDesktopPrefersNothing = 0;
inline constexpr uint32_t kDesktopPrefersDark = 1;
inline constexpr uint32_t kDesktopPrefersLight = 2;

// `desktop` is the desktop's preference, or nullopt when it was not asked or did not answer; a
// number it does not define counts as no preference.
ColourScheme ChooseColourScheme(ColourSchemeChoice choice, std::optional<uint32_t> desktop);

// The choice written in any case; nullopt for any other text.
std::optional<ColourSchemeChoice> ParseColourSchemeChoice(std::string_view text);

// The stored choice. A value that is no choice reads as "desktop" and `problem` says why.
ColourSchemeChoice StoredColourSchemeChoice(const Settings& settings, std::string& problem);

}  // namespace zarvin
