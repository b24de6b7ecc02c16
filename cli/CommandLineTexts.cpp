#include "cli/CommandLineTexts.h"

#include <map>
#include <mutex>
#include <vector>

#include "cli/CliTextKeys.h"
#include "cli/LanguageMessages.h"
#include "model/TextTemplate.h"
#include "platform/ProgramPath.h"
#include "store/IniFile.h"
#include "store/LanguageTables.h"
#include "store/LanguageTexts.h"

namespace zarvin::cli {
namespace {

constexpr std::string_view kSection = "CLI";
// Room for the longest help text; the windows' 259-character limit is theirs only.
constexpr size_t kLongestText = 4096;

// Each language's section, read once; the monitor may print from its watching thread.
class SectionCache {
public:
    std::string Read(int languageIndex, std::string_view key) {
        const std::lock_guard lock(mutex_);
        auto found = sections_.find(languageIndex);
        if (found == sections_.end()) {
            const auto file = LanguageFilePath(ProgramFilePath().parent_path(),
                                               SupportedLanguages[static_cast<size_t>(languageIndex)]);
            found = sections_.emplace(languageIndex, ReadIniSection(file, kSection)).first;
        }
        return found->second.Read(key, kMissingText, kLongestText);
    }

private:
    std::mutex mutex_;
    std::map<int, IniSectionValues> sections_;
};

SectionCache& Sections() {
    static SectionCache cache;
    return cache;
}

// "\n" in a value is a line break.
std::string WithLineBreaks(std::string_view text) {
    std::string broken;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            broken += '\n';
            ++i;
        } else {
            broken += text[i];
        }
    }
    return broken;
}

}  // namespace

std::string CliText(std::string_view key) {
    const int language = CommandLineLanguage();
    const bool known = language >= 0 && static_cast<size_t>(language) < SupportedLanguages.size();
    std::string text = Sections().Read(known ? language : kEnglishLanguageIndex, key);
    if (text == kMissingText && language != kEnglishLanguageIndex) {
        text = Sections().Read(kEnglishLanguageIndex, key);
    }
    return WithLineBreaks(text);
}

std::string CliFormat(std::string_view key, std::initializer_list<std::string_view> arguments) {
    return FillTemplate(CliText(key), arguments);
}

std::string OneOf(std::span<const std::string_view> words) {
    std::string text;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0) {
            text += i + 1 == words.size() ? CliText(cli_text::WORD_OR) : CliText(cli_text::LIST_COMMA);
        }
        text += words[i];
    }
    return text;
}

}  // namespace zarvin::cli
