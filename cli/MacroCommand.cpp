// The macro command: the keyboard's macros listed, shown, added, deleted, renamed and given
// cycles from the shell, through the macro page's rules and the key editor's and main window's
// Apply.

#include <algorithm>
#include <cctype>

#include "cli/AssignmentListing.h"
#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/Commands.h"
#include "cli/KeyboardSession.h"
#include "cli/MacroActions.h"
#include "control/ProfileMacros.h"
#include "control/UserQuestions.h"
#include "model/KeyMapCodec.h"
#include "model/MacroActionList.h"
#include "model/MacroArea.h"
#include "model/Utf16Text.h"
#include "store/LanguageTables.h"
#include "store/LanguageTexts.h"
#include "store/ProfileStorePaths.h"

namespace zarvin::cli {
namespace {

constexpr size_t kMaxMacros = 100;

// Answers the macro page's delete question "no": from the shell, keys that play a macro keep it.
class RefusingQuestions : public UserQuestions {
public:
    bool AskYesNo(std::string_view) override { return false; }
};

// The macro's rows as the macro page shows them.
std::vector<MacroAction> ActionsOf(const MacroRecord& macro) {
    MacroActionList rows;
    rows.Load(macro);
    return rows.Rows();
}

// The parsed actions as the macro page's rows, stored into the macro as the page stores them.
void StoreActions(const std::vector<MacroAction>& actions, MacroRecord& macro) {
    MacroActionList rows;
    int32_t before = 0;  // the time from the row before, which adding a row gives that row
    for (const MacroAction& action : actions) {
        if (const auto row = rows.AddRecorded(std::nullopt, action.key, action.state, before, true)) {
            rows.Set(*row, action);
        }
        before = action.delay;
    }
    rows.StoreInto(macro);
}

std::vector<MacroRecord> MacroList(const WorkingStore& store) {
    const std::lock_guard lock(store.Lock());
    return store.Macros();
}

// The position of the macro called `name` in `macros`, by the command line's name rules.
std::optional<size_t> FindMacro(const WorkingStore& store, const std::vector<MacroRecord>& macros,
                                const std::string& name, std::ostream& err) {
    const auto id = MacroIdOfName(store, name);
    if (!id) {
        err << NoSuchMacro(store, name) << '\n';
        return std::nullopt;
    }
    return static_cast<size_t>(
        std::find_if(macros.begin(), macros.end(),
                     [&](const MacroRecord& macro) { return macro.Id() == *id; }) -
        macros.begin());
}

// A name for a new or renamed macro: not empty, at most 249 characters, no other macro's (a
// renamed macro may take its own name in another case).
bool CheckNewName(const WorkingStore& store, const std::string& name, std::ostream& err,
                  std::optional<uint16_t> renamed = std::nullopt) {
    const std::u16string name16 = Utf16OfUtf8(name);
    if (name16.empty() || name16.size() > MacroRecord::kMaxNameLength) {
        err << CliText(cli_text::MACRO_NAME_LENGTH) << '\n';
        return false;
    }
    if (const auto id = MacroIdOfName(store, name); id && id != renamed) {
        err << CliFormat(cli_text::MACRO_EXISTS, {name}) << '\n';
        return false;
    }
    return true;
}

// The key editor's Apply of the edited list, then the main window's Apply.
bool Commit(KeyboardSession& session, const AppContext& context, std::vector<MacroRecord> edited,
            std::ostream& err) {
    if (!CommitMacroList(session.working, std::move(edited)).committed) {
        err << CliText(cli_text::MACROS_FULL) << '\n';
        return false;
    }
    SaveToProfilePath(session.working, context);
    // Key maps name macros by their place in the area, which a deleted macro shifts: every
    // profile's key map is written with the area, not only the active one's.
    int firstFailure = CommandResult::Success;
    bool sent = false;
    const int result = session.sync.ApplyToDevice(true, &firstFailure, &sent);
    return ReportApply(result, firstFailure, sent, err);
}

JsonValue MacroJson(const MacroRecord& macro, const TextLookup& texts) {
    JsonValue actions = JsonValue::array();
    for (const MacroAction& action : ActionsOf(macro)) {
        actions.push_back({{"key", KeyJson(action.key, texts)},
                           {"state", action.state == MacroAction::kRelease ? "up" : "down"},
                           {"delay", action.delay}});
    }
    return {{"id", macro.Id()},
            {"name", Utf8OfUtf16(macro.Name())},
            {"cycles", macro.Cycles()},
            {"actions", std::move(actions)}};
}

void PrintMacro(const MacroRecord& macro, const TextLookup& texts,
                const std::filesystem::path& programFolder, std::ostream& out, OutputForm form) {
    if (form == OutputForm::Json) {
        PrintJson(out, MacroJson(macro, texts));
        return;
    }
    // The actions in the form they are typed in, which is the same in every language.
    const LanguageTexts english(programFolder);
    const TextLookup typedNames = [&](std::string_view key) {
        return english.LoadText(key, kEnglishLanguageIndex);
    };
    out << Utf8OfUtf16(macro.Name()) << ": " << CyclesText(macro.Cycles()) << '\n'
        << "  " << FormatMacroActions(ActionsOf(macro), typedNames) << '\n';
}

}  // namespace

int RunMacro(KeyboardConnection& connection, const AppContext& context,
             const MacroRequest& request, std::ostream& out, std::ostream& err,
             OutputForm form) {
    LanguageTextCache texts(context.programFolder);
    const TextLookup lookup = texts.Lookup();
    KeyboardSession session(context, connection, texts, err);
    const ReadChangeWriteHold hold(session, connection);
    if (!ReadKeyboard(session, err)) {
        return kExitFailed;
    }
    std::vector<MacroRecord> macros = MacroList(session.working);
    if (request.action == "list") {
        if (form == OutputForm::Json) {
            PrintJson(out, {{"macros", MacrosJson(session.working, lookup)}});
        } else {
            PrintMacros(session.working, lookup, out);
        }
        return kExitOk;
    }
    // The macro's name afterwards, for what is printed.
    std::string changed = request.action == "rename" ? request.newName : request.name;
    if (request.action == "add") {
        if (macros.size() >= kMaxMacros) {
            err << CliText(cli_text::MACROS_FULL) << '\n';
            return kExitUsage;
        }
        if (!CheckNewName(session.working, request.name, err)) {
            return kExitUsage;
        }
        auto macro = NewMacro(Utf16OfUtf8(request.name), macros);
        if (!macro) {
            err << CliText(cli_text::MACROS_FULL) << '\n';
            return kExitUsage;
        }
        StoreActions(request.actions, *macro);
        macros.push_back(*macro);
    } else {
        const auto position = FindMacro(session.working, macros, request.name, err);
        if (!position) {
            return kExitUsage;
        }
        MacroRecord& macro = macros[*position];
        if (request.action == "show") {
            PrintMacro(macro, lookup, context.programFolder, out, form);
            return kExitOk;
        }
        if (request.action == "delete") {
            RefusingQuestions questions;
            if (!ConfirmMacroDelete(macro, session.working, questions)) {
                err << CliFormat(cli_text::MACRO_PLAYED_BY_KEYS, {request.name}) << '\n';
                return kExitUsage;
            }
            changed = Utf8OfUtf16(macro.Name());
            macros.erase(macros.begin() + static_cast<long>(*position));
        } else if (request.action == "rename") {
            if (!CheckNewName(session.working, request.newName, err, macro.Id())) {
                return kExitUsage;
            }
            macro.SetName(Utf16OfUtf8(request.newName));
        } else if (request.action == "cycles") {
            macro.SetCycles(static_cast<uint8_t>(request.cycles));
        }
    }
    if (!Commit(session, context, macros, err)) {
        return kExitFailed;
    }
    if (request.action == "delete") {
        if (form == OutputForm::Json) {
            PrintJson(out, {{"deleted", changed}});
        } else {
            out << CliFormat(cli_text::MACRO_DELETED, {changed}) << '\n';
        }
    } else {
        const auto position = FindMacro(session.working, MacroList(session.working), changed, err);
        if (position) {
            PrintMacro(MacroList(session.working)[*position], lookup, context.programFolder, out, form);
        }
    }
    return kExitOk;
}

}  // namespace zarvin::cli
