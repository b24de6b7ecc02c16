#include "cli/LanguageMessages.h"

#include <utility>

namespace zarvin::cli {

namespace {

int gLanguageIndex = 0;

}  // namespace

void SetCommandLineLanguage(int languageIndex) {
    gLanguageIndex = languageIndex;
}

int CommandLineLanguage() {
    return gLanguageIndex;
}

LanguageTextCache::LanguageTextCache(std::filesystem::path programFolder)
    : texts_(std::move(programFolder)) {}

std::string LanguageTextCache::Text(std::string_view key) {
    const auto found = cache_.find(key);
    if (found != cache_.end()) {
        return found->second;
    }
    std::string text = texts_.LoadText(key, CommandLineLanguage());
    cache_.emplace(std::string(key), text);
    return text;
}

TextLookup LanguageTextCache::Lookup() {
    return [this](std::string_view key) { return Text(key); };
}

void StreamMessages::ShowMessage(std::string_view textKey) {
    out_ << texts_.Text(textKey) << '\n';
    ++shown_;
}

void StreamMessages::ShowFormattedMessage(std::string_view textKey, std::string_view argument) {
    std::string text = texts_.Text(textKey);
    if (const size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, argument);
    }
    out_ << text << '\n';
    ++shown_;
}

}  // namespace zarvin::cli
