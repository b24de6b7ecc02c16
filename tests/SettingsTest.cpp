#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "store/LanguageTexts.h"
#include "store/Settings.h"
#include "store/SystemLanguage.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

constexpr uint16_t kBritishEnglish = 0x0809;  // a system language of the language map

class SettingsTest : public ::testing::Test {
protected:
    TempFolder folder_;
    RegistryFile registry_{RegistryFilePath(folder_.Path())};
    Settings settings_{registry_, [this] {
                           ++detections_;
                           return systemLanguage_;
                       }};
    uint16_t systemLanguage_ = kBritishEnglish;
    int detections_ = 0;

    std::optional<uint32_t> StoredLanguage() const {
        const RegistryValue<uint32_t> stored = registry_.ReadDword(kSettingsKey, kLanguageIdValue);
        return stored.Present() ? std::optional(stored.value) : std::nullopt;
    }
};

TEST_F(SettingsTest, FirstStartStoresTheLanguageThatServesTheSystemLanguage) {
    // System locale, the number stored, and the index of its file.
    const struct {
        const char* locale;
        uint32_t stored;
        int index;
    } cases[] = {
        {"en_GB.UTF-8", 0x0416, 0}, {"C", 0x0416, 0},      {"en_US", 0x0416, 0},
        {"de_DE.UTF-8", 0x0407, 1}, {"de_AT", 0x0407, 1},  {"de_CH", 0x0407, 1},
        {"fr_CA.UTF-8", 0x040C, 2}, {"fr_BE", 0x040C, 2},  {"es_MX", 0x0C0A, 3},
        {"es_ES@euro", 0x0C0A, 3},  {"es_PE", 0x0C0A, 3},  {"pt_BR.UTF-8", 0x0816, 4},
        {"pt_PT", 0x0816, 4},       {"pt", 0x0816, 4},     {"zh_CN.UTF-8", 0x0804, 5},
        {"zh_SG", 0x0804, 5},       {"zh_TW.UTF-8", 0x0404, 6}, {"zh_HK", 0x0404, 6},
        {"zh_MO", 0x0404, 6},       {"ja_JP.UTF-8", 0x0411, 7}, {"ru_RU.UTF-8", 0x0419, 8},
        {"ru_MD", 0x0419, 8},       {"it_IT", 0x0416, 0},  {"ko_KR", 0x0416, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        fs::remove(registry_.File());
        systemLanguage_ = LanguageIdOfLocale(c.locale);
        EXPECT_EQ(settings_.GetLanguageId(), c.stored);
        EXPECT_EQ(StoredLanguage(), c.stored);
        EXPECT_EQ(settings_.GetLanguageIndex(), c.index);
    }
}

TEST(LanguageTables, EveryRowLeadsToAShippedLanguage) {
    for (const LanguageMapRow& row : LanguageMap) {
        EXPECT_TRUE(LanguageIndexOf(row.language)) << std::hex << row.systemLanguage;
    }
    // Windows' number for Brazilian Portuguese holds English once stored, but as the system's
    // language it means Portuguese.
    EXPECT_EQ(ShippedLanguageFor(0x0416), 0x0816u);
    EXPECT_EQ(LanguageIndexOf(0x0416), 0);
}

TEST_F(SettingsTest, AStoredLanguageIsUsedAsItIsWithoutAWrite) {
    // Any write would put the file into its own form and drop the comment.
    fs::create_directories(registry_.File().parent_path());
    const std::string byHand =
        "Windows Registry Editor Version 5.00\n"
        "; written by hand\n"
        "[HKEY_CURRENT_USER\\Software\\VX77HUE_8246]\n"
        "\"dwLanguageId\"=dword:00000416\n";
    folder_.Write("zarvin/registry.reg", byHand);

    EXPECT_EQ(settings_.GetLanguageId(), 0x0416u);
    EXPECT_EQ(settings_.GetLanguageIndex(), 0);
    EXPECT_EQ(detections_, 0);
    EXPECT_EQ(folder_.Read("zarvin/registry.reg"), byHand);

    // A number that has no file is kept too, and its texts come from the first language.
    ASSERT_TRUE(registry_.WriteDword(kSettingsKey, kLanguageIdValue, 0x0409));
    EXPECT_EQ(settings_.GetLanguageId(), 0x0409u);
    EXPECT_EQ(settings_.GetLanguageIndex(), 0);
    EXPECT_EQ(detections_, 0);
}

TEST_F(SettingsTest, ZeroOrAValueOfAnotherTypeStartsDetectionAgain) {
    ASSERT_TRUE(registry_.WriteDword(kSettingsKey, kLanguageIdValue, 0));
    EXPECT_EQ(settings_.GetLanguageId(), 0x0416u);
    EXPECT_EQ(StoredLanguage(), 0x0416u);
    EXPECT_EQ(detections_, 1);

    ASSERT_TRUE(registry_.WriteString(kSettingsKey, kLanguageIdValue, "0416"));
    EXPECT_EQ(settings_.GetLanguageId(), 0x0416u);
    EXPECT_EQ(StoredLanguage(), 0x0416u);
    EXPECT_EQ(detections_, 2);
}

TEST_F(SettingsTest, WithoutAWritableRegistryTheLanguageIsDetectedEachTime) {
    const fs::path blocked = folder_.Write("not-a-folder", "");
    const Settings settings(RegistryFile(RegistryFilePath(blocked)), [this] {
        ++detections_;
        return systemLanguage_;
    });
    EXPECT_EQ(settings.GetLanguageId(), 0x0416u);
    EXPECT_EQ(settings.GetLanguageId(), 0x0416u);
    EXPECT_EQ(detections_, 2);
}

TEST_F(SettingsTest, ReadDwordSettingWritesTheDefaultInPlaceOfAMissingValue) {
    EXPECT_EQ(settings_.ReadDwordSetting("Other", 7), 7u);
    EXPECT_EQ(registry_.ReadDword(kSettingsKey, "Other").value, 7u);
    ASSERT_TRUE(registry_.WriteDword(kSettingsKey, "Other", 9));
    EXPECT_EQ(settings_.ReadDwordSetting("Other", 7), 9u);
}

TEST_F(SettingsTest, ProfileValuesAreDecimalStrings) {
    EXPECT_EQ(ProfileValueName(0), "PROFILE00");
    EXPECT_EQ(ProfileValueName(12), "PROFILE12");

    EXPECT_EQ(settings_.ReadProfileNumber(kFlipValue, 0), 0);
    for (const auto& [written, stored] : {std::pair{1, "1"}, {0, "0"}, {2, "0"}, {-1, "0"}}) {
        ASSERT_TRUE(settings_.WriteProfileFlag(kFlipValue, written));
        EXPECT_EQ(registry_.ReadString(kProfilesKey, kFlipValue).value, stored) << written;
    }
    ASSERT_TRUE(settings_.WriteProfileNumber(ProfileValueName(0), 3));
    ASSERT_TRUE(settings_.WriteProfileString(ProfileValueName(1), "/home/u/a.fwc"));
    EXPECT_EQ(registry_.ReadString(kProfilesKey, "PROFILE00").value, "3");
    EXPECT_EQ(settings_.ReadProfileNumber("profile00", 0), 3);
    EXPECT_EQ(settings_.ReadProfileString("PROFILE01", ""), "/home/u/a.fwc");

    // Hand-edited values: text that is no number, and a value of another type.
    ASSERT_TRUE(settings_.WriteProfileString("Record delays", "yes"));
    EXPECT_EQ(settings_.ReadProfileNumber("Record delays", 1), 0);
    ASSERT_TRUE(registry_.WriteDword(kProfilesKey, kFlipValue, 1));
    EXPECT_EQ(settings_.ReadProfileString(kFlipValue, "0"), "0");
}

TEST(SystemLanguage, MapsLocaleNamesToLanguageNumbers) {
    const std::pair<const char*, uint16_t> cases[] = {
        {"en_GB.UTF-8", 0x0809}, {"fr_CA", 0x0C0C},      {"de_AT.ISO-8859-1@euro", 0x0C07},
        {"pt_BR.utf8", 0x0416},  {"zh_TW.Big5", 0x0404}, {"de", 0x0407},
        {"fr_GA.UTF-8", 0x040C}, {"C", 0x0409},          {"C.UTF-8", 0x0409},
        {"POSIX", 0x0409},       {"", 0x0409},           {"xx_YY", 0x0409},
    };
    for (const auto& [locale, language] : cases) {
        EXPECT_EQ(LanguageIdOfLocale(locale), language) << locale;
    }
}

TEST(SystemLanguage, TakesTheFirstLocaleVariableThatIsSet) {
    const auto keep = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto restore = [](const char* name, const std::optional<std::string>& value) {
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    };
    const auto all = keep("LC_ALL");
    const auto messages = keep("LC_MESSAGES");
    const auto lang = keep("LANG");

    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_MESSAGES", "fr_FR.UTF-8", 1);
    ::setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(SystemDefaultLanguageId(), 0x040C);
    ::setenv("LC_ALL", "en_GB", 1);
    EXPECT_EQ(SystemDefaultLanguageId(), 0x0809);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    EXPECT_EQ(SystemDefaultLanguageId(), 0x0407);
    ::unsetenv("LANG");
    EXPECT_EQ(SystemDefaultLanguageId(), 0x0409);

    restore("LC_ALL", all);
    restore("LC_MESSAGES", messages);
    restore("LANG", lang);
}

}  // namespace
}  // namespace zarvin
