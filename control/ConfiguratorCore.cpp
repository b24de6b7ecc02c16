#include "control/ConfiguratorCore.h"

#include "store/RegistryFile.h"

namespace zarvin {

ConfiguratorCore::ConfiguratorCore(AppContext& appContext, HidNodeSource& nodes,
                                   UserMessages& userMessages, UserQuestions& userQuestions,
                                   ExchangeTiming timing,
                                   std::function<uint16_t()> systemLanguage)
    : context_(appContext),
      messages_(userMessages),
      questions_(userQuestions),
      settings_(RegistryFile(RegistryFilePath(appContext.configFolder)),
                std::move(systemLanguage)),
      languageTexts_(appContext.programFolder),
      hid_(nodes),
      link_(hid_, timing),
      stores_(appContext.workingConfigLock, appContext.appliedConfigLock),
      sync_(appContext, link_, device_, stores_, userMessages, Texts()),
      languageIndex_(settings_.GetLanguageIndex()) {}

ConfiguratorCore::~ConfiguratorCore() {
    link_.SetConnected(false);
    hid_.Close();
}

std::string ConfiguratorCore::Text(std::string_view key) const {
    return languageTexts_.LoadText(key, languageIndex_);
}

std::string ConfiguratorCore::LightText(std::string_view key) const {
    return languageTexts_.LoadLightText(key, languageIndex_);
}

std::string ConfiguratorCore::ModeText(std::string_view key) const {
    return languageTexts_.LoadModeText(key, languageIndex_);
}

std::string ConfiguratorCore::TextIn(std::string_view key, int languageIndex) const {
    return languageTexts_.LoadText(key, languageIndex);
}

void ConfiguratorCore::ChooseLanguage(int languageIndex) {
    if (languageIndex < 0 || static_cast<size_t>(languageIndex) >= SupportedLanguages.size()) {
        return;
    }
    settings_.WriteLanguageId(SupportedLanguages[static_cast<size_t>(languageIndex)]);
    languageIndex_ = languageIndex;
}

TextLookup ConfiguratorCore::Texts() const {
    return [this](std::string_view key) { return Text(key); };
}

}  // namespace zarvin
