#pragma once

// The language file's texts on the command line: key names, captions and the core's messages,
// read once from the file beside the program and written as plain lines.

#include <cstddef>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <string_view>

#include "device/UserMessages.h"
#include "model/KeyCodes.h"
#include "store/LanguageTexts.h"

namespace zarvin::cli {

// The language of this run's texts, a language index (store/LanguageTables.h), chosen once by
// main before any command runs: English with --json, so that scripts read the same names
// whatever the owner's language; else --language; else the language the window uses too.
// English until set.
void SetCommandLineLanguage(int languageIndex);
int CommandLineLanguage();

// Section TEXT of the command line's language. Each text is read from the file once.
class LanguageTextCache {
public:
    explicit LanguageTextCache(std::filesystem::path programFolder);

    std::string Text(std::string_view key);
    // Refers to this object, which must outlive it.
    TextLookup Lookup();

private:
    LanguageTexts texts_;
    std::map<std::string, std::string, std::less<>> cache_;
};

// Writes each message's text as one line to a stream; a format's "%s" takes the argument.
class StreamMessages : public UserMessages {
public:
    StreamMessages(LanguageTextCache& texts, std::ostream& out) : texts_(texts), out_(out) {}

    void ShowMessage(std::string_view textKey) override;
    void ShowFormattedMessage(std::string_view textKey, std::string_view argument) override;

    size_t Shown() const { return shown_; }

private:
    LanguageTextCache& texts_;
    std::ostream& out_;
    size_t shown_ = 0;
};

}  // namespace zarvin::cli
