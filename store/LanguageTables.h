#pragma once

// Which languages a file is shipped for, and which of them serves each system language.
//
// A language is known by a Windows language number, stored as "dwLanguageId" and naming its
// file ("Lang%04X.ini"). English lives in Lang0416.ini, the file every earlier version shipped
// and stored as 0x0416, so settings written by those keep reading English. That number is
// Windows' Brazilian Portuguese, so Portuguese (written for Brazil) takes 0x0816 instead, and
// the map sends the system's 0x0416 there.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zarvin {

inline constexpr uint32_t kEnglishLanguage = 0x0416;
inline constexpr int kEnglishLanguageIndex = 0;

// The shipped languages; a language's position here is its language index, English first.
inline constexpr std::array<uint32_t, 9> SupportedLanguages{
    kEnglishLanguage,  // English
    0x0407,            // German
    0x040C,            // French
    0x0C0A,            // Spanish
    0x0816,            // Portuguese (Brazil)
    0x0804,            // Chinese (Simplified)
    0x0404,            // Chinese (Traditional)
    0x0411,            // Japanese
    0x0419,            // Russian
};

// The names the command line takes for the shipped languages, in the same order: the locale
// names people set in LANG.
inline constexpr std::array<std::string_view, SupportedLanguages.size()> LanguageCodes{
    "en", "de", "fr", "es", "pt_BR", "zh_CN", "zh_TW", "ja", "ru",
};

struct LanguageMapRow {
    uint32_t systemLanguage;
    uint32_t language;
};

// Which shipped language serves a system language; the first matching row counts. A shipped
// language's own number needs no row (but 0x0416, see above). A number found nowhere reads
// English.
inline constexpr std::array LanguageMap{
    // Portuguese: Brazil, whose number holds English here, and Portugal's own.
    LanguageMapRow{0x0416, 0x0816},
    // English.
    LanguageMapRow{0x0409, kEnglishLanguage}, LanguageMapRow{0x0809, kEnglishLanguage},
    LanguageMapRow{0x0C09, kEnglishLanguage}, LanguageMapRow{0x1009, kEnglishLanguage},
    LanguageMapRow{0x1409, kEnglishLanguage}, LanguageMapRow{0x1809, kEnglishLanguage},
    LanguageMapRow{0x1C09, kEnglishLanguage}, LanguageMapRow{0x2009, kEnglishLanguage},
    LanguageMapRow{0x2409, kEnglishLanguage}, LanguageMapRow{0x2809, kEnglishLanguage},
    LanguageMapRow{0x2C09, kEnglishLanguage}, LanguageMapRow{0x3009, kEnglishLanguage},
    LanguageMapRow{0x3409, kEnglishLanguage}, LanguageMapRow{0x4009, kEnglishLanguage},
    LanguageMapRow{0x4409, kEnglishLanguage}, LanguageMapRow{0x4809, kEnglishLanguage},
    // German: Switzerland, Austria, Luxembourg, Liechtenstein.
    LanguageMapRow{0x0807, 0x0407}, LanguageMapRow{0x0C07, 0x0407},
    LanguageMapRow{0x1007, 0x0407}, LanguageMapRow{0x1407, 0x0407},
    // French: Belgium, Canada, Switzerland, Luxembourg, Monaco, and Africa and the Caribbean.
    LanguageMapRow{0x080C, 0x040C}, LanguageMapRow{0x0C0C, 0x040C},
    LanguageMapRow{0x100C, 0x040C}, LanguageMapRow{0x140C, 0x040C},
    LanguageMapRow{0x180C, 0x040C}, LanguageMapRow{0x200C, 0x040C},
    LanguageMapRow{0x240C, 0x040C}, LanguageMapRow{0x280C, 0x040C},
    LanguageMapRow{0x2C0C, 0x040C}, LanguageMapRow{0x300C, 0x040C},
    LanguageMapRow{0x340C, 0x040C}, LanguageMapRow{0x380C, 0x040C},
    LanguageMapRow{0x3C0C, 0x040C}, LanguageMapRow{0xE40C, 0x040C},
    // Spanish: the traditional sort, and the Americas.
    LanguageMapRow{0x040A, 0x0C0A}, LanguageMapRow{0x080A, 0x0C0A},
    LanguageMapRow{0x100A, 0x0C0A}, LanguageMapRow{0x140A, 0x0C0A},
    LanguageMapRow{0x180A, 0x0C0A}, LanguageMapRow{0x1C0A, 0x0C0A},
    LanguageMapRow{0x200A, 0x0C0A}, LanguageMapRow{0x240A, 0x0C0A},
    LanguageMapRow{0x280A, 0x0C0A}, LanguageMapRow{0x2C0A, 0x0C0A},
    LanguageMapRow{0x300A, 0x0C0A}, LanguageMapRow{0x340A, 0x0C0A},
    LanguageMapRow{0x380A, 0x0C0A}, LanguageMapRow{0x3C0A, 0x0C0A},
    LanguageMapRow{0x400A, 0x0C0A}, LanguageMapRow{0x440A, 0x0C0A},
    LanguageMapRow{0x480A, 0x0C0A}, LanguageMapRow{0x4C0A, 0x0C0A},
    LanguageMapRow{0x500A, 0x0C0A}, LanguageMapRow{0x540A, 0x0C0A},
    LanguageMapRow{0x580A, 0x0C0A},
    // Chinese: Singapore writes Simplified; Hong Kong and Macao write Traditional.
    LanguageMapRow{0x1004, 0x0804}, LanguageMapRow{0x0C04, 0x0404},
    LanguageMapRow{0x1404, 0x0404},
    // Russian: Moldova.
    LanguageMapRow{0x0819, 0x0419},
};

// The shipped language that serves a system language number.
constexpr uint32_t ShippedLanguageFor(uint32_t systemLanguage) {
    uint32_t language = systemLanguage;
    for (const LanguageMapRow& row : LanguageMap) {
        if (row.systemLanguage == systemLanguage) {
            language = row.language;
            break;
        }
    }
    for (const uint32_t shipped : SupportedLanguages) {
        if (shipped == language) {
            return language;
        }
    }
    return kEnglishLanguage;
}

// The index of a shipped language number, if it is one.
constexpr std::optional<int> LanguageIndexOf(uint32_t language) {
    for (size_t i = 0; i < SupportedLanguages.size(); ++i) {
        if (SupportedLanguages[i] == language) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

}  // namespace zarvin
