#pragma once

// Every text the user sees comes from a language file beside the program, "Lang%04X.ini" named
// after a language number, looked up by key in one of three sections: "TEXT" for the windows'
// texts and messages, "LIGHT" for the lighting panel's captions and "MODE" for the names of the
// lighting effects. A missing file, section or key reads "#Error"; a key with an empty value
// reads as empty; at most 259 characters of a value are used.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zarvin {

// The languages a file is shipped for; a language's position here is its language index.
inline constexpr std::array<uint32_t, 2> SupportedLanguages{0x0416, 0};

struct LanguageMapRow {
    uint32_t systemLanguage;
    uint32_t language;
};

// Which shipped language serves a system language; the first matching row counts.
inline constexpr std::array<LanguageMapRow, 31> LanguageMap{{
    {0x0C04, 0x0416}, {0x1004, 0x0416}, {0x0809, 0x0416}, {0x0C09, 0x0416}, {0x1009, 0x0416},
    {0x1409, 0x0416}, {0x1809, 0x0416}, {0x1C09, 0x0416}, {0x2009, 0x0416}, {0x2409, 0x0416},
    {0x2809, 0x0416}, {0x2C09, 0x0416}, {0x080C, 0x0416}, {0x2C0C, 0x0416}, {0x0C0C, 0x0416},
    {0x240C, 0x0416}, {0x300C, 0x0416}, {0x3C0C, 0x0416}, {0x140C, 0x0416}, {0x340C, 0x0416},
    {0x180C, 0x0416}, {0x380C, 0x0416}, {0xE40C, 0x0416}, {0x200C, 0x0416}, {0x280C, 0x0416},
    {0x100C, 0x0416}, {0x1C0C, 0x0416}, {0x0C07, 0x0416}, {0x1407, 0x0416}, {0x1007, 0x0416},
    {0x0807, 0x0416},
}};

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
