#include "store/LanguageChoice.h"

#include <cctype>
#include <string>

#include "store/LanguageTables.h"
#include "store/SystemLanguage.h"

namespace zarvin {

std::optional<int> LanguageIndexOfName(std::string_view name) {
    std::string language(name.substr(0, name.find_first_of("_-.@")));
    for (char& c : language) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const uint32_t shipped = ShippedLanguageFor(LanguageIdOfLocale(name));
    // Every unknown language reads as English; only English itself may.
    if (shipped == kEnglishLanguage && language != "en") {
        return std::nullopt;
    }
    return LanguageIndexOf(shipped);
}

}  // namespace zarvin
