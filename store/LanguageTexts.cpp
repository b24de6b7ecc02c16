#include "store/LanguageTexts.h"

#include <cstdio>

#include "store/IniFile.h"

namespace zarvin {

namespace fs = std::filesystem;

fs::path LanguageFilePath(const fs::path& programFolder, uint32_t languageId) {
    char name[32];
    std::snprintf(name, sizeof name, "Lang%04X.ini", languageId);
    return programFolder / name;
}

std::string LanguageTexts::LoadText(std::string_view key, int languageIndex) const {
    return Load("TEXT", key, languageIndex);
}

std::string LanguageTexts::LoadLightText(std::string_view key, int languageIndex) const {
    return Load("LIGHT", key, languageIndex);
}

std::string LanguageTexts::LoadModeText(std::string_view key, int languageIndex) const {
    return Load("MODE", key, languageIndex);
}

std::string LanguageTexts::Load(std::string_view section, std::string_view key,
                                int languageIndex) const {
    const bool known =
        languageIndex >= 0 && static_cast<size_t>(languageIndex) < SupportedLanguages.size();
    const uint32_t language = SupportedLanguages[known ? static_cast<size_t>(languageIndex) : 0];
    return ReadIniString(LanguageFilePath(programFolder_, language), section, key, kMissingText,
                         kIniBufferChars);
}

}  // namespace zarvin
