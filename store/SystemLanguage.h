#pragma once

// The system's default language as a Windows language number, taken from the POSIX locale.

#include <cstdint>
#include <string_view>

namespace zarvin {

// The language number of a locale name such as "en_GB.UTF-8", "fr_CA" or "de": the number of
// the language and territory when known, else that of the language alone, else 0x0409 (US
// English, also for "C" and "POSIX").
uint16_t LanguageIdOfLocale(std::string_view locale);

// LanguageIdOfLocale of the first of $LC_ALL, $LC_MESSAGES and $LANG that is set and not empty.
uint16_t SystemDefaultLanguageId();

}  // namespace zarvin
