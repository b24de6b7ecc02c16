#pragma once

// Every text the user sees comes from a language file beside the program, "Lang%04X.ini" named
// after a language number, looked up by key in one of three sections: "TEXT" for the windows'
// texts and messages, "LIGHT" for the lighting panel's captions and "MODE" for the names of the
// lighting effects. A missing file, section or key reads "#Error"; a key with an empty value
// reads as empty; at most 259 characters of a value are used.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "store/LanguageTables.h"

namespace zarvin {

inline constexpr std::string_view kMissingText = "#Error";

// The language file of a language number: "Lang" + four upper-case hexadecimal digits + ".ini"
// in the program folder.
std::filesystem::path LanguageFilePath(const std::filesystem::path& programFolder,
                                       uint32_t languageId);

class LanguageTexts {
public:
    explicit LanguageTexts(std::filesystem::path programFolder)
        : programFolder_(std::move(programFolder)) {}

    // `languageIndex` is a position in SupportedLanguages (callers pass what GetLanguageIndex
    // has just returned); an index outside the table selects the first language. The file is
    // read afresh by every call, so these may run on any thread.
    std::string LoadText(std::string_view key, int languageIndex) const;
    std::string LoadLightText(std::string_view key, int languageIndex) const;
    // `key` is an effect's name key (model/LightingEffects).
    std::string LoadModeText(std::string_view key, int languageIndex) const;

private:
    std::string Load(std::string_view section, std::string_view key, int languageIndex) const;

    std::filesystem::path programFolder_;
};

}  // namespace zarvin
