// The targets command: the names the command line takes, without opening the keyboard.

#include <algorithm>
#include <iomanip>

#include "cli/Commands.h"
#include "cli/LanguageMessages.h"
#include "cli/NameLists.h"
#include "store/AppContext.h"

namespace zarvin::cli {
namespace {

constexpr int kNameColumn = 18;

void PrintNames(const std::vector<std::string>& names, std::ostream& out, OutputForm form,
                const char* field) {
    if (form == OutputForm::Json) {
        PrintJson(out, {{field, names}});
        return;
    }
    for (const std::string& name : names) {
        out << name << '\n';
    }
}

}  // namespace

int RunTargets(const AppContext& context, const std::string& kind, std::ostream& out,
               std::ostream& err, OutputForm form) {
    LanguageTextCache texts(context.programFolder);
    const TextLookup lookup = texts.Lookup();
    const std::vector<std::string> macros = CachedMacroNames(context);
    const std::vector<ListedKey> keys = ListedKeys(lookup);
    const std::vector<ListedTarget> targets = ListedTargets(lookup, macros);
    std::vector<std::string> names;
    if (kind == "keys") {
        std::transform(keys.begin(), keys.end(), std::back_inserter(names),
                       [](const ListedKey& key) { return key.name; });
    } else if (kind == "targets") {
        std::transform(targets.begin(), targets.end(), std::back_inserter(names),
                       [](const ListedTarget& target) { return target.name; });
    } else if (kind == "effects") {
        names = EffectNamesForTyping(context);
    } else if (kind == "macros") {
        names = macros;
    } else if (!kind.empty()) {
        err << "'targets' takes keys, targets, effects or macros\n";
        return kExitUsage;
    }
    if (!kind.empty()) {
        PrintNames(names, out, form, kind.c_str());
        return kExitOk;
    }
    if (form == OutputForm::Json) {
        JsonValue keyList = JsonValue::array();
        for (const ListedKey& key : keys) {
            keyList.push_back({{"name", key.name},
                               {"label", key.label},
                               {"code", key.code},
                               {"aliases", key.aliases}});
        }
        JsonValue targetList = JsonValue::array();
        for (const ListedTarget& target : targets) {
            targetList.push_back(
                {{"name", target.name}, {"type", target.type}, {"does", target.does}});
        }
        PrintJson(out, {{"keys", std::move(keyList)}, {"targets", std::move(targetList)}});
        return kExitOk;
    }
    out << "keys (KEY of remap and reset)\n";
    for (const ListedKey& key : keys) {
        out << "  " << std::left << std::setw(kNameColumn) << key.name << ' ' << key.label;
        for (size_t i = 0; i < key.aliases.size(); ++i) {
            out << (i == 0 ? " (also " : ", ") << key.aliases[i];
        }
        out << (key.aliases.empty() ? "\n" : ")\n");
    }
    out << "targets (TARGET of remap)\n";
    for (const ListedTarget& target : targets) {
        out << "  " << std::left << std::setw(kNameColumn) << target.name << ' ' << target.does
            << '\n';
    }
    return kExitOk;
}

}  // namespace zarvin::cli
