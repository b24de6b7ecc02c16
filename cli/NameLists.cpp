#include "cli/NameLists.h"

#include <algorithm>
#include <mutex>
#include <system_error>

#include "cli/KeyArguments.h"
#include "model/KeyMapCodec.h"
#include "model/KeyNames.h"
#include "model/LightingEffects.h"
#include "model/TextKeys.h"
#include "model/Utf16Text.h"
#include "store/AppContext.h"
#include "store/LanguageTexts.h"
#include "store/ProfileStore.h"
#include "store/ProfileStorePaths.h"

namespace zarvin::cli {
namespace {

bool IsMouseCode(KeyCode code) {
    return (code >= 0x171 && code <= 0x173) || code == 0x161 || code == 0x162;
}

}  // namespace

std::vector<ListedKey> ListedKeys(const TextLookup& texts) {
    std::vector<ListedKey> keys;
    for (const TypedKeyName& typed : TypedKeyNames()) {
        const auto listed = std::find_if(keys.begin(), keys.end(), [&](const ListedKey& key) {
            return key.code == typed.code;
        });
        if (listed == keys.end()) {
            keys.push_back({typed.name, KeyNameOf(typed.code, texts), typed.code, {}});
        } else {
            listed->aliases.push_back(typed.name);
        }
    }
    return keys;
}

std::vector<ListedTarget> ListedTargets(const TextLookup& texts,
                                        const std::vector<std::string>& macroNames) {
    std::vector<ListedTarget> targets;
    std::string error;
    for (const ListedKey& key : ListedKeys(texts)) {
        const auto target = ParseRemapTarget(key.name, error);
        if (!target) {
            continue;
        }
        if (target->type == AssignmentType::Media) {
            targets.push_back({key.name, "media", "multimedia key " + key.label});
        } else if (IsMouseCode(key.code)) {
            targets.push_back({key.name, "mouse", key.label});
        } else {
            targets.push_back({key.name, "key", "sends " + key.label});
        }
    }
    for (size_t function = 0; function < kKeyboardFunctionCount; ++function) {
        targets.push_back({"function:" + std::to_string(function + 1), "function",
                           texts(text_keys::kFunctionKeyDescriptions[function])});
    }
    targets.push_back({"disabled", "disabled", "the key does nothing"});
    for (const std::string& name : macroNames) {
        targets.push_back({"macro:" + name, "macro", "plays the macro " + name});
    }
    return targets;
}

std::vector<std::string> EffectNamesForTyping(const AppContext& context) {
    const LanguageTexts texts(context.programFolder);
    std::vector<std::string> names;
    for (const LightingEffect& effect : LightingEffects()) {
        // Typed names stay English whatever the language, as key names do.
        std::string name = texts.LoadModeText(effect.nameKey, kEnglishLanguageIndex);
        name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> CachedMacroNames(const AppContext& context) {
    const std::filesystem::path cache = context.userDataFolder / kProfileCacheFileName;
    std::error_code missing;
    if (!std::filesystem::exists(cache, missing)) {
        return {};
    }
    std::recursive_mutex lock;
    WorkingStore store(lock);
    const std::lock_guard held(store.Lock());
    if (store.LoadProfileFile(cache) != FileResult::Success) {
        return {};
    }
    std::vector<std::string> names;
    for (const MacroRecord& macro : store.Macros()) {
        names.push_back(Utf8OfUtf16(macro.Name()));
    }
    return names;
}

}  // namespace zarvin::cli
