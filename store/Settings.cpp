#include "store/Settings.h"

#include <cstdio>

#include "store/DecimalNumber.h"
#include "store/LanguageTables.h"

namespace zarvin {

std::string ProfileValueName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%02d", "PROFILE", number);
    return name;
}

uint32_t Settings::ReadDwordSetting(std::string_view name, uint32_t fallback) const {
    const RegistryValue<uint32_t> stored = registry_.ReadDword(kSettingsKey, name);
    if (stored.Present()) {
        return stored.value;
    }
    registry_.WriteDword(kSettingsKey, name, fallback);
    return fallback;
}

void Settings::WriteLanguageId(uint32_t languageId) const {
    registry_.WriteDword(kSettingsKey, kLanguageIdValue, languageId);
}

uint32_t Settings::GetLanguageId() const {
    const uint32_t stored = ReadDwordSetting(kLanguageIdValue, 0);
    if (stored != 0) {
        return stored;
    }
    const uint32_t language = ShippedLanguageFor(systemLanguage_());
    WriteLanguageId(language);
    return language;
}

int Settings::GetLanguageIndex() const {
    return LanguageIndexOf(GetLanguageId()).value_or(0);
}

std::string Settings::ReadProfileString(std::string_view name, std::string_view fallback) const {
    RegistryValue<std::string> stored = registry_.ReadString(kProfilesKey, name);
    return stored.Present() ? std::move(stored.value) : std::string(fallback);
}

int Settings::ReadProfileNumber(std::string_view name, int fallback) const {
    return LeadingDecimal(ReadProfileString(name, std::to_string(fallback)));
}

bool Settings::WriteProfileString(std::string_view name, std::string_view value) const {
    return registry_.WriteString(kProfilesKey, name, value);
}

bool Settings::WriteProfileNumber(std::string_view name, int value) const {
    return WriteProfileString(name, std::to_string(value));
}

bool Settings::WriteProfileFlag(std::string_view name, int value) const {
    return WriteProfileNumber(name, value == 0 || value == 1 ? value : 0);
}

}  // namespace zarvin
