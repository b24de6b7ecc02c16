#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CliTextKeys.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLineTexts.h"
#include "cli/LanguageMessages.h"
#include "cli/TextWrap.h"
#include "store/IniFile.h"
#include "store/LanguageChoice.h"
#include "store/LanguageTables.h"
#include "store/LanguageTexts.h"

namespace zarvin::cli {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedFolder = fs::path(ZARVIN_SOURCE_LANGUAGE_FILE).parent_path();

// The command line's language for one test, English again after it.
class InLanguage {
public:
    explicit InLanguage(std::string_view code) { SetCommandLineLanguage(*LanguageIndexOfName(code)); }
    explicit InLanguage(int index) { SetCommandLineLanguage(index); }
    ~InLanguage() { SetCommandLineLanguage(kEnglishLanguageIndex); }
    InLanguage(const InLanguage&) = delete;
    InLanguage& operator=(const InLanguage&) = delete;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

TEST(CommandLineTexts, WrapAtBlanksAndBetweenWideCharacters) {
    struct Case {
        std::string_view text;
        size_t width;
        std::string_view first;
        std::string_view rest;
        std::string wrapped;
    };
    const std::vector<Case> cases = {
        {"one two three", 7, "", "", "one two\nthree\n"},
        {"one two three", 9, "- ", "  ", "- one two\n  three\n"},
        {"a Donaudampfschiff b", 6, "", "", "a\nDonaudampfschiff\nb\n"},
        {"first\n\nsecond", 20, "  ", "  ", "  first\n\n  second\n"},
        // Eight columns: four wide characters; "。", "ー" and "；" never start a line.
        {"キーボードです。", 8, "", "", "キーボー\nドです。\n"},
        {"（例）ですキー。", 6, "", "", "（例）\nです\nキー。\n"},
        {"按键 'Nope'；您是指 A 吗？", 12, "", "", "按键\n'Nope'；您是\n指 A 吗？\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WrapText(c.text, c.width, c.first, c.rest), c.wrapped) << c.text;
    }
    EXPECT_EQ(DisplayWidth("キー"), 4u);
    EXPECT_EQ(DisplayWidth("Größe"), 5u);
}

// The texts the command line looks up are in every shipped file (the language file test holds
// every file to the English file's keys).
TEST(CommandLineTexts, EveryLanguageHasEveryText) {
    for (const uint32_t language : SupportedLanguages) {
        const fs::path file = LanguageFilePath(kShippedFolder, language);
        for (const std::string_view key : cli_text::kAll) {
            EXPECT_NE(ReadIniString(file, "CLI", key, kMissingText, 4096), kMissingText)
                << file.filename() << " " << key;
        }
    }
}

// In every language the usage and each command's help are whole and fit a terminal: only
// the synopses, taken as they are, may be wider.
TEST(CommandLineTexts, HelpFitsSeventyEightColumnsInEveryLanguage) {
    for (int index = 0; index < static_cast<int>(SupportedLanguages.size()); ++index) {
        const InLanguage language(index);
        std::string texts = UsageText();
        for (const CommandHelp& help : AllCommandHelp()) {
            texts += FormatCommandHelp(help);
        }
        EXPECT_EQ(texts.find(kMissingText), std::string::npos) << index;
        const std::string usage = CliText(cli_text::USAGE);
        for (const std::string& line : Lines(texts)) {
            const bool synopsis =
                line.rfind(usage, 0) == 0 || std::any_of(AllCommandHelp().begin(), AllCommandHelp().end(),
                                                         [&](const CommandHelp& help) {
                                                             return line.rfind("  " + std::string(help.name) + ' ', 0) == 0;
                                                         });
            EXPECT_TRUE(synopsis || DisplayWidth(line) <= 78) << LanguageCodes[static_cast<size_t>(index)] << ": " << line;
        }
    }
}

TEST(CommandLineTexts, ArgumentErrorsFollowTheLanguage) {
    struct Case {
        std::string_view language;
        std::vector<std::string> args;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"en", {"--profile", "9", "keys"}, "'9' is not a profile; the profiles are numbered 1 to 3"},
        {"de", {"--profile", "9", "keys"}, "'9' ist kein Profil; die Profile sind von 1 bis 3 nummeriert"},
        {"ja", {"lighting", "set", "direction=Q"},
         "'Q' は direction の値として使えません。direction に指定できるのは A または B です"},
        {"zh_CN", {"remap", "CapsLok", "A"}, "未知按键 'CapsLok'；您是指 CapsLock 吗？"},
        {"ru", {"macro", "add", "M", "50ms"},
         "'50ms' стоит перед всеми клавишами; задержка — это время после действия"},
        {"fr", {"info", "extra"}, "'info' ne prend aucun argument"},
    };
    for (const Case& c : cases) {
        const InLanguage language(c.language);
        EXPECT_EQ(ParseCommandLine(c.args).error, c.error) << c.language;
    }
}

// A wrong option before --language does not hide the language its error is to be worded in.
TEST(CommandLineTexts, TheLanguageIsFoundBeforeAnEarlierError) {
    EXPECT_EQ(ParseCommandLine({"--profile", "9", "--language", "ja", "keys"}).options.language,
              LanguageIndexOfName("ja"));
    EXPECT_EQ(ParseCommandLine({"--mode=x", "--language=de", "colours"}).options.language,
              LanguageIndexOfName("de"));
    EXPECT_EQ(ParseCommandLine({"--profile", "9", "--", "--language", "ja"}).options.language,
              std::nullopt);
}

}  // namespace
}  // namespace zarvin::cli
