#include "control/ConfiguratorCore.h"

#include "store/RegistryFile.h"

namespace zarvin {

ConfiguratorCore::ConfiguratorCore(AppContext& appContext, HidNodeSource& nodes,
                                   UserMessages& userMessages, UserQuestions& userQuestions,
                                   ExchangeTiming timing,
                                   std::function<uint16_t()> systemLanguage)
    : context(appContext),
      messages(userMessages),
      questions(userQuestions),
      settings(RegistryFile(RegistryFilePath(appContext.configFolder)), std::move(systemLanguage)),
      languageTexts(appContext.programFolder),
      hid(nodes),
      link(hid, timing),
      working(appContext.workingConfigLock),
      applied(appContext.appliedConfigLock),
      sync(appContext, link, device, working, applied, userMessages, Texts()),
      languageIndex_(settings.GetLanguageIndex()) {}

ConfiguratorCore::~ConfiguratorCore() {
    link.SetConnected(false);
    hid.Close();
}

std::string ConfiguratorCore::Text(std::string_view key) const {
    return languageTexts.LoadText(key, languageIndex_);
}

std::string ConfiguratorCore::LightText(std::string_view key) const {
    return languageTexts.LoadLightText(key, languageIndex_);
}

std::string ConfiguratorCore::ModeText(std::string_view key) const {
    return languageTexts.LoadModeText(key, languageIndex_);
}

TextLookup ConfiguratorCore::Texts() const {
    return [this](std::string_view key) { return Text(key); };
}

}  // namespace zarvin
