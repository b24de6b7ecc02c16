#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/AccessTextKeys.h"
#include "model/LightingEffects.h"
#include "model/TextKeys.h"
#include "platform/ProgramPath.h"
#include "store/IniFile.h"
#include "store/LanguageTexts.h"
#include "store/Utf8Text.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

const fs::path kShippedFile = ZARVIN_SOURCE_LANGUAGE_FILE;
const fs::path kShippedFolder = kShippedFile.parent_path();

std::string ReadWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Each shipped language, by its index.
class ShippedLanguageFile : public ::testing::TestWithParam<int> {};

std::string LanguageName(const ::testing::TestParamInfo<int>& info) {
    std::string code(LanguageCodes[static_cast<size_t>(info.param)]);
    std::erase(code, '_');
    return code;
}

TEST(LanguageTexts, NamesTheFileAfterTheLanguageNumber) {
    EXPECT_EQ(LanguageFilePath("/opt/zarvin/", 0x0416), fs::path("/opt/zarvin/Lang0416.ini"));
    EXPECT_EQ(LanguageFilePath("/opt/zarvin/", 0xABC), fs::path("/opt/zarvin/Lang0ABC.ini"));
}

TEST(LanguageTexts, LooksTextsUpWithTheirDefaults) {
    const TempFolder folder;
    const LanguageTexts texts(folder.Path());
    EXPECT_EQ(texts.LoadText("MAIN_CAPTION", 0), "#Error");  // no file yet
    EXPECT_EQ(texts.LoadModeText("7", 0), "#Error");

    const std::string longText(300, 'w');
    folder.Write("Lang0416.ini", "[TEXT]\nEmpty=\nLong=" + longText +
                                     "\nPlain=Caption\n"
                                     "[LIGHT]\nUsb=Report rate\n"
                                     "[MODE]\n07=Padded\n7=Seven\n");
    EXPECT_EQ(texts.LoadText("Empty", 0), "");
    EXPECT_EQ(texts.LoadText("Long", 0), longText.substr(0, 259));
    EXPECT_EQ(texts.LoadText("Plain", 0), "Caption");
    EXPECT_EQ(texts.LoadText("Missing", 0), "#Error");
    EXPECT_EQ(texts.LoadText("Usb", 0), "#Error");  // another section's key
    EXPECT_EQ(texts.LoadLightText("Usb", 0), "Report rate");
    EXPECT_EQ(texts.LoadModeText(EffectNameKey(7), 0), "Seven");
    EXPECT_EQ(texts.LoadModeText(EffectNameKey(8), 0), "#Error");

    // Index 1 is German, whose file is not in this folder; an index outside the table reads
    // the first language.
    EXPECT_EQ(texts.LoadText("Plain", 1), "#Error");
    folder.Write("Lang0407.ini", "[TEXT]\nPlain=Beschriftung\n");
    EXPECT_EQ(texts.LoadText("Plain", 1), "Beschriftung");
    EXPECT_EQ(texts.LoadText("Plain", static_cast<int>(SupportedLanguages.size())), "Caption");
    EXPECT_EQ(texts.LoadText("Plain", -1), "Caption");
}

// The printf conversions of a text, in order ("%%" is none).
std::string Conversions(std::string_view text) {
    std::string found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            continue;
        }
        ++i;
        while (i < text.size() &&
               std::string_view("-+ #0123456789.hlLqjzt").find(text[i]) != std::string_view::npos) {
            ++i;
        }
        if (i < text.size() && text[i] != '%') {
            found += text[i];
        }
    }
    return found;
}

// The printf conversions of a text with their flags, width and precision, in order.
std::vector<std::string> ConversionSpecs(std::string_view text) {
    std::vector<std::string> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            continue;
        }
        const size_t start = i++;
        while (i < text.size() &&
               std::string_view("-+ #0123456789.hlLqjzt").find(text[i]) != std::string_view::npos) {
            ++i;
        }
        if (i < text.size() && text[i] != '%') {
            found.emplace_back(text.substr(start, i + 1 - start));
        }
    }
    return found;
}

TEST_P(ShippedLanguageFile, HasEveryKeyTheProgramLooksUp) {
    const LanguageTexts texts(kShippedFolder);
    const int index = GetParam();
    const auto expectText = [](std::string_view section, std::string_view key,
                               const std::string& value) {
        EXPECT_NE(value, "#Error") << section << " " << key << " is missing";
        EXPECT_FALSE(value.empty()) << section << " " << key << " is empty";
        // A longer value would be cut.
        EXPECT_EQ(ValidUtf8Prefix(value, 258), value) << section << " " << key << " is too long";
    };
    for (const std::string_view key : text_keys::kAll) {
        expectText("TEXT", key, texts.LoadText(key, index));
    }
    for (const std::string_view key : text_keys::kKeyNames) {
        expectText("TEXT", key, texts.LoadText(key, index));
    }
    for (const std::string_view key : access_keys::kAll) {
        expectText("TEXT", key, texts.LoadText(key, index));
    }
    for (const std::string_view key : light_keys::kAll) {
        expectText("LIGHT", key, texts.LoadLightText(key, index));
    }
    for (const LightingEffect& effect : LightingEffects()) {
        expectText("MODE", effect.nameKey, texts.LoadModeText(effect.nameKey, index));
    }
}

TEST_P(ShippedLanguageFile, TemplatesTakeExactlyTheArgumentsTheirCallersPass) {
    const LanguageTexts texts(kShippedFolder);
    const int index = GetParam();
    // Each template takes one argument: the key code (unsigned), the macro limit and the delay
    // limit (int), the file path and the access guidance (string), the key's name in the key
    // editor's title and the backup's name in the status line (string). Every other text is shown
    // as it stands, so it has none.
    const std::map<std::string_view, std::string_view> templates = {
        {text_keys::UNKNOWN_KEY, "uxXo"},
        {text_keys::MACRO_ERR_MAX, "di"},
        {text_keys::MACRO_ACTION_ERR_DELAY_MAX, "di"},
        {text_keys::PROFILE_FORMAT_ERROR, "s"},
        {text_keys::MAIN_NO_ACCESS_PROMPT, "s"},
        {text_keys::MAIN_PROMPT_EXPORT, "s"},
        {text_keys::MAIN_HELP_NOT_OPENED, "s"},
        {text_keys::KEY_SETTING_TITLE, "s"},
        {text_keys::STATUS_EXPORTED, "s"},
        {text_keys::STATUS_IMPORTED, "s"},
        {text_keys::STATUS_IMPORT_NOT_WRITTEN, "s"},
        {text_keys::MAIN_USERMODE_NOT_KEPT, "s"},
        {text_keys::EXTRA_SETTINGS_FILE_UNUSED, "s"},
    };
    const auto check = [&](std::string_view key) {
        const std::string value = texts.LoadText(key, index);
        const std::string conversions = Conversions(value);
        const auto found = templates.find(key);
        if (found == templates.end()) {
            EXPECT_EQ(conversions, "") << key << "=" << value;
        } else {
            EXPECT_TRUE(conversions.size() == 1 &&
                        found->second.find(conversions[0]) != std::string_view::npos)
                << key << "=" << value;
        }
    };
    for (const std::string_view key : text_keys::kAll) {
        check(key);
    }
    for (const std::string_view key : text_keys::kKeyNames) {
        check(key);
    }
    // The controls' spoken names fill their "%s" in order, one for each argument.
    const std::map<std::string_view, std::string_view> spoken = {
        {access_keys::KEY_REMAPPED, "ss"},   {access_keys::KEY_MACRO, "ss"},
        {access_keys::KEY_MEDIA, "ss"},      {access_keys::KEY_FUNCTION, "ss"},
        {access_keys::KEY_DISABLED, "s"},    {access_keys::KEY_STOP_MACRO, "s"},
        {access_keys::KEY_LAUNCH, "s"},      {access_keys::KEY_TEXT, "s"},
        {access_keys::KEY_CHANGED, "s"},     {access_keys::COLOUR, "ssss"},
        {access_keys::NAMED_COLOUR, "ss"},   {access_keys::LIGHT_REPORT_RATE, "s"},
        {access_keys::LIGHT_DIRECTION, "s"}, {access_keys::LIGHT_OPTION_COLOUR, "s"},
        {access_keys::LIGHT_PRESET, "s"},
    };
    for (const std::string_view key : access_keys::kAll) {
        const std::string value = texts.LoadText(key, index);
        const auto found = spoken.find(key);
        EXPECT_EQ(Conversions(value), found == spoken.end() ? "" : found->second)
            << key << "=" << value;
    }
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, texts.LoadText(text_keys::UNKNOWN_KEY, index).c_str(),
                  0x64u);
    EXPECT_NE(std::string(formatted).find("064"), std::string::npos) << formatted;
}

// The arguments a command-line text uses: "%s" takes the next one, "%N$s" the Nth, so a
// language may name them in its own order. Each as "N" plus its conversion.
std::set<std::string> ArgumentsUsed(std::string_view text) {
    std::set<std::string> used;
    size_t next = 1;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%') {
            continue;
        }
        if (text[i + 1] == '%') {
            ++i;
        } else if (i + 3 < text.size() && text[i + 2] == '$') {
            used.insert(std::string(text.substr(i + 1, 1)) + text[i + 3]);
            i += 3;
        } else {
            used.insert(std::to_string(next++) + text[i + 1]);
            ++i;
        }
    }
    return used;
}

TEST(LanguageTexts, CommandLineTextsNameTheirArgumentsInAnyOrder) {
    EXPECT_EQ(ArgumentsUsed("'%s' takes %s"), (std::set<std::string>{"1s", "2s"}));
    EXPECT_EQ(ArgumentsUsed("%2$s nimmt '%1$s', %2$s"), (std::set<std::string>{"1s", "2s"}));
    EXPECT_EQ(ArgumentsUsed("100%% %d"), (std::set<std::string>{"1d"}));
}

// Every file has the English file's keys, no others, and in each value the same conversions, so
// a text that another language shows fills in the same arguments. The command line's texts
// (section CLI) may be longer and may take their arguments in another order.
TEST_P(ShippedLanguageFile, HasTheEnglishKeysWithTheirConversions) {
    const fs::path english = LanguageFilePath(kShippedFolder, kEnglishLanguage);
    const fs::path file = LanguageFilePath(kShippedFolder, SupportedLanguages[static_cast<size_t>(GetParam())]);
    for (const std::string_view section : {"TEXT", "LIGHT", "MODE"}) {
        const std::vector<std::string> keys = ReadIniKeys(english, section);
        ASSERT_FALSE(keys.empty()) << section;
        EXPECT_EQ(ReadIniKeys(file, section), keys) << section;
        for (const std::string& key : keys) {
            const std::string value = ReadIniString(file, section, key, "#Error");
            EXPECT_EQ(ConversionSpecs(value),
                      ConversionSpecs(ReadIniString(english, section, key, "")))
                << file.filename() << " " << key << "=" << value;
        }
    }
    constexpr size_t kLongText = 4096;
    const std::vector<std::string> cliKeys = ReadIniKeys(english, "CLI");
    ASSERT_FALSE(cliKeys.empty());
    EXPECT_EQ(ReadIniKeys(file, "CLI"), cliKeys);
    for (const std::string& key : cliKeys) {
        const std::string value = ReadIniString(file, "CLI", key, "#Error", kLongText);
        EXPECT_FALSE(value.empty()) << file.filename() << " " << key;
        EXPECT_EQ(ArgumentsUsed(value),
                  ArgumentsUsed(ReadIniString(english, "CLI", key, "", kLongText)))
            << file.filename() << " " << key << "=" << value;
    }
    // The menu lists each language by its own name.
    const LanguageTexts texts(kShippedFolder);
    if (GetParam() != 0) {
        EXPECT_NE(texts.LoadText(text_keys::LANGUAGE_NAME, GetParam()),
                  texts.LoadText(text_keys::LANGUAGE_NAME, 0));
    }
}

TEST_P(ShippedLanguageFile, IsUtf8AndPlacedBesideThePrograms) {
    const std::string name =
        LanguageFilePath("", SupportedLanguages[static_cast<size_t>(GetParam())]).filename().string();
    const std::string shipped = ReadWhole(kShippedFolder / name);
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(ValidUtf8Prefix(shipped, shipped.size()), shipped);
    EXPECT_EQ(ReadWhole(ProgramFilePath().parent_path() / name), shipped);
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, ShippedLanguageFile,
                         ::testing::Range(0, static_cast<int>(SupportedLanguages.size())),
                         LanguageName);

}  // namespace
}  // namespace zarvin
