#pragma once

// The few settings kept outside the keyboard, in the registry stand-in: the language number in
// the settings key, and the per-application profile values ("Flip", the record-delays option,
// PROFILE00, PROFILE01, ...), which are strings in their own key.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "store/RegistryFile.h"
#include "store/SystemLanguage.h"

namespace zarvin {

inline constexpr std::string_view kSettingsKey = "Software\\VX77HUE_8246";
inline constexpr std::string_view kLanguageIdValue = "dwLanguageId";
inline constexpr std::string_view kProfilesKey =
    "Software\\Zarvin_Tolmer\\Morvane VX77HUE Mechanical Keyboard\\PROFILES";
inline constexpr std::string_view kFlipValue = "Flip";

// "PROFILE" and two decimal digits: PROFILE00 holds the number of profile files, PROFILE01 and
// on their paths.
std::string ProfileValueName(int number);

class Settings {
public:
    explicit Settings(RegistryFile registry,
                      std::function<uint16_t()> systemLanguage = SystemDefaultLanguageId)
        : registry_(std::move(registry)), systemLanguage_(std::move(systemLanguage)) {}

    // The double-word `name` of the settings key. When it is missing or of another type,
    // `fallback` is written in its place and returned.
    uint32_t ReadDwordSetting(std::string_view name, uint32_t fallback) const;

    // The write's result is not examined: without a writable settings file the language is
    // simply detected again next time.
    void WriteLanguageId(uint32_t languageId) const;

    // The stored language number; when none is stored (or 0), the system's language mapped to a
    // shipped one, which is then stored. Read afresh by every call.
    uint32_t GetLanguageId() const;

    // The position of GetLanguageId() in SupportedLanguages; 0 when it has no file.
    int GetLanguageIndex() const;

    // Profile values: strings in kProfilesKey. A missing value, or one of another type, reads
    // as `fallback`.
    std::string ReadProfileString(std::string_view name, std::string_view fallback) const;
    // The value parsed as a decimal number, with `fallback` as the text of a missing value.
    int ReadProfileNumber(std::string_view name, int fallback) const;
    bool WriteProfileString(std::string_view name, std::string_view value) const;
    // Writes the number in decimal.
    bool WriteProfileNumber(std::string_view name, int value) const;
    // For the on/off values ("Flip", the record-delays option): a number other than 0 or 1 is
    // written as 0.
    bool WriteProfileFlag(std::string_view name, int value) const;

private:
    RegistryFile registry_;
    std::function<uint16_t()> systemLanguage_;
};

}  // namespace zarvin
