// The language command: the shipped languages, and the one kept for the window and the
// command line.

#include <iomanip>
#include <string>

#include "cli/Commands.h"
#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "model/TextKeys.h"
#include "store/AppContext.h"
#include "store/LanguageTexts.h"
#include "store/RegistryFile.h"
#include "store/Settings.h"

namespace zarvin::cli {
namespace {

constexpr int kCodeColumn = 7;

}  // namespace

int RunLanguage(const AppContext& context, std::optional<int> chosen, std::ostream& out,
                std::ostream& /*err*/, OutputForm form) {
    const Settings settings(RegistryFile(RegistryFilePath(context.configFolder)));
    const LanguageTexts texts(context.programFolder);
    const auto ownName = [&](int index) { return texts.LoadText(text_keys::LANGUAGE_NAME, index); };
    if (chosen) {
        settings.WriteLanguageId(SupportedLanguages[static_cast<size_t>(*chosen)]);
    }
    const int current = settings.GetLanguageIndex();
    const std::string code(LanguageCodes[static_cast<size_t>(current)]);
    if (form == OutputForm::Json) {
        JsonValue languages = JsonValue::array();
        for (int index = 0; index < static_cast<int>(SupportedLanguages.size()); ++index) {
            languages.push_back({{"name", std::string(LanguageCodes[static_cast<size_t>(index)])},
                                 {"own_name", ownName(index)},
                                 {"current", index == current}});
        }
        PrintJson(out, {{"language", code}, {"languages", std::move(languages)}});
        return kExitOk;
    }
    if (chosen) {
        out << CliFormat(cli_text::LANGUAGE_KEPT, {ownName(current), code}) << '\n';
        return kExitOk;
    }
    for (int index = 0; index < static_cast<int>(SupportedLanguages.size()); ++index) {
        out << (index == current ? "* " : "  ") << std::left << std::setw(kCodeColumn)
            << LanguageCodes[static_cast<size_t>(index)] << ownName(index) << '\n';
    }
    return kExitOk;
}

}  // namespace zarvin::cli
