#pragma once

// What every window of the configurator shares, built once at start-up: the settings, the
// language texts, the keyboard link and its device image, the working and applied profile
// stores and the synchronisation between them and the keyboard. Plain C++: the windows hold a
// reference to it and forward to it; tests build it over a stand-in keyboard and temporary
// folders.

#include <functional>
#include <string>
#include <string_view>

#include "control/DeviceSync.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/HidDevice.h"
#include "model/KeyCodes.h"
#include "store/AppContext.h"
#include "store/LanguageTexts.h"
#include "store/ProfileStore.h"
#include "store/ProfileStores.h"
#include "store/Settings.h"
#include "store/SystemLanguage.h"

namespace zarvin {

class UserMessages;
class UserQuestions;

class ConfiguratorCore {
public:
    // `context`, `nodes`, `messages` and `questions` outlive this object. The stores use the
    // context's two configuration locks.
    ConfiguratorCore(AppContext& context, HidNodeSource& nodes, UserMessages& messages,
                     UserQuestions& questions, ExchangeTiming timing = {},
                     std::function<uint16_t()> systemLanguage = SystemDefaultLanguageId);
    ~ConfiguratorCore();
    ConfiguratorCore(const ConfiguratorCore&) = delete;
    ConfiguratorCore& operator=(const ConfiguratorCore&) = delete;

    // Section "TEXT", "LIGHT" and "MODE" texts in the current language.
    std::string Text(std::string_view key) const;
    std::string LightText(std::string_view key) const;
    std::string ModeText(std::string_view key) const;
    // Text() as a callback for the model's functions; refers to this object.
    TextLookup Texts() const;

    // A TEXT text in another shipped language (its index), such as that language's own name.
    std::string TextIn(std::string_view key, int languageIndex) const;

    int LanguageIndex() const { return languageIndex_; }
    // The language switch: later texts come from that language's file.
    void SetLanguageIndex(int index) { languageIndex_ = index; }
    // The owner's choice of a shipped language (its index): kept in the settings for the next
    // start, the windows' and zarvinctl's alike, and used from now on. An index outside the
    // table is ignored.
    void ChooseLanguage(int languageIndex);

    // The keyboard's active profile (0-2), or -1 when it cannot say.
    int ActiveProfile() { return device_.GetActiveProfile(link_); }

    AppContext& Context() { return context_; }
    UserMessages& Messages() { return messages_; }
    UserQuestions& Questions() { return questions_; }
    Settings& UserSettings() { return settings_; }
    DeviceImage& Device() { return device_; }
    HidDevice& Hid() { return hid_; }
    CommandLink& Link() { return link_; }
    // Code that needs both stores locks them through ProfileStores::BothLocked.
    ProfileStores& Stores() { return stores_; }
    WorkingStore& Working() { return stores_.Working(); }
    AppliedStore& Applied() { return stores_.Applied(); }
    DeviceSync& Sync() { return sync_; }

private:
    AppContext& context_;
    UserMessages& messages_;
    UserQuestions& questions_;
    Settings settings_;
    LanguageTexts languageTexts_;
    DeviceImage device_;
    HidDevice hid_;
    CommandLink link_;
    ProfileStores stores_;
    DeviceSync sync_;
    int languageIndex_ = 0;
};

}  // namespace zarvin
