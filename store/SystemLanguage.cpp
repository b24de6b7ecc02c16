#include "store/SystemLanguage.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace zarvin {

namespace {

constexpr uint16_t kUsEnglish = 0x0409;

struct LocaleLanguage {
    std::string_view locale;  // "ll_TT", or "ll" for the language's usual number
    uint16_t languageId;
};

constexpr std::array kLocaleLanguages = {
    LocaleLanguage{"ar", 0x0401}, LocaleLanguage{"ar_sa", 0x0401},
    LocaleLanguage{"ar_eg", 0x0C01}, LocaleLanguage{"bg", 0x0402},
    LocaleLanguage{"ca", 0x0403}, LocaleLanguage{"cs", 0x0405},
    LocaleLanguage{"da", 0x0406}, LocaleLanguage{"de", 0x0407},
    LocaleLanguage{"de_de", 0x0407}, LocaleLanguage{"de_ch", 0x0807},
    LocaleLanguage{"de_at", 0x0C07}, LocaleLanguage{"de_lu", 0x1007},
    LocaleLanguage{"de_li", 0x1407}, LocaleLanguage{"el", 0x0408},
    LocaleLanguage{"en", 0x0409}, LocaleLanguage{"en_us", 0x0409},
    LocaleLanguage{"en_gb", 0x0809}, LocaleLanguage{"en_au", 0x0C09},
    LocaleLanguage{"en_ca", 0x1009}, LocaleLanguage{"en_nz", 0x1409},
    LocaleLanguage{"en_ie", 0x1809}, LocaleLanguage{"en_za", 0x1C09},
    LocaleLanguage{"en_jm", 0x2009}, LocaleLanguage{"en_bz", 0x2809},
    LocaleLanguage{"en_tt", 0x2C09}, LocaleLanguage{"en_zw", 0x3009},
    LocaleLanguage{"en_ph", 0x3409}, LocaleLanguage{"en_in", 0x4009},
    LocaleLanguage{"en_my", 0x4409}, LocaleLanguage{"en_sg", 0x4809},
    LocaleLanguage{"es", 0x0C0A}, LocaleLanguage{"es_es", 0x0C0A},
    LocaleLanguage{"es_mx", 0x080A}, LocaleLanguage{"es_gt", 0x100A},
    LocaleLanguage{"es_cr", 0x140A}, LocaleLanguage{"es_pa", 0x180A},
    LocaleLanguage{"es_do", 0x1C0A}, LocaleLanguage{"es_ve", 0x200A},
    LocaleLanguage{"es_co", 0x240A}, LocaleLanguage{"es_pe", 0x280A},
    LocaleLanguage{"es_ar", 0x2C0A}, LocaleLanguage{"es_ec", 0x300A},
    LocaleLanguage{"es_cl", 0x340A}, LocaleLanguage{"es_uy", 0x380A},
    LocaleLanguage{"es_py", 0x3C0A}, LocaleLanguage{"es_bo", 0x400A},
    LocaleLanguage{"es_sv", 0x440A}, LocaleLanguage{"es_hn", 0x480A},
    LocaleLanguage{"es_ni", 0x4C0A}, LocaleLanguage{"es_pr", 0x500A},
    LocaleLanguage{"es_us", 0x540A}, LocaleLanguage{"et", 0x0425},
    LocaleLanguage{"fi", 0x040B}, LocaleLanguage{"fr", 0x040C},
    LocaleLanguage{"fr_fr", 0x040C}, LocaleLanguage{"fr_be", 0x080C},
    LocaleLanguage{"fr_ca", 0x0C0C}, LocaleLanguage{"fr_ch", 0x100C},
    LocaleLanguage{"fr_lu", 0x140C}, LocaleLanguage{"fr_mc", 0x180C},
    LocaleLanguage{"fr_re", 0x200C}, LocaleLanguage{"fr_cd", 0x240C},
    LocaleLanguage{"fr_sn", 0x280C}, LocaleLanguage{"fr_cm", 0x2C0C},
    LocaleLanguage{"fr_ci", 0x300C}, LocaleLanguage{"fr_ml", 0x340C},
    LocaleLanguage{"fr_ma", 0x380C}, LocaleLanguage{"fr_ht", 0x3C0C},
    LocaleLanguage{"he", 0x040D}, LocaleLanguage{"hr", 0x041A},
    LocaleLanguage{"hu", 0x040E}, LocaleLanguage{"id", 0x0421},
    LocaleLanguage{"it", 0x0410}, LocaleLanguage{"it_ch", 0x0810},
    LocaleLanguage{"ja", 0x0411}, LocaleLanguage{"ko", 0x0412},
    LocaleLanguage{"lt", 0x0427}, LocaleLanguage{"lv", 0x0426},
    LocaleLanguage{"nb", 0x0414}, LocaleLanguage{"nl", 0x0413},
    LocaleLanguage{"nl_be", 0x0813}, LocaleLanguage{"nn", 0x0814},
    LocaleLanguage{"no", 0x0414}, LocaleLanguage{"pl", 0x0415},
    LocaleLanguage{"pt", 0x0416}, LocaleLanguage{"pt_br", 0x0416},
    LocaleLanguage{"pt_pt", 0x0816}, LocaleLanguage{"ro", 0x0418},
    LocaleLanguage{"ru", 0x0419}, LocaleLanguage{"ru_md", 0x0819},
    LocaleLanguage{"sk", 0x041B}, LocaleLanguage{"sl", 0x0424},
    LocaleLanguage{"sr", 0x241A}, LocaleLanguage{"sv", 0x041D},
    LocaleLanguage{"sv_fi", 0x081D}, LocaleLanguage{"th", 0x041E},
    LocaleLanguage{"tr", 0x041F}, LocaleLanguage{"uk", 0x0422},
    LocaleLanguage{"vi", 0x042A}, LocaleLanguage{"zh", 0x0804},
    LocaleLanguage{"zh_cn", 0x0804}, LocaleLanguage{"zh_sg", 0x1004},
    LocaleLanguage{"zh_tw", 0x0404}, LocaleLanguage{"zh_hk", 0x0C04},
    LocaleLanguage{"zh_mo", 0x1404},
};

std::optional<uint16_t> Lookup(std::string_view name) {
    const auto found = std::ranges::find(kLocaleLanguages, name, &LocaleLanguage::locale);
    if (found == kLocaleLanguages.end()) {
        return std::nullopt;
    }
    return found->languageId;
}

}  // namespace

uint16_t LanguageIdOfLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    locale = locale.substr(0, locale.find_first_of(".@"));
    std::string name;
    for (const char c : locale) {
        name += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c == '-' ? '_' : c;
    }
    if (const auto exact = Lookup(name)) {
        return *exact;
    }
    if (const auto language = Lookup(std::string_view(name).substr(0, name.find('_')))) {
        return *language;
    }
    return kUsEnglish;
}

uint16_t SystemDefaultLanguageId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') {
            return LanguageIdOfLocale(value);
        }
    }
    return kUsEnglish;
}

}  // namespace zarvin
