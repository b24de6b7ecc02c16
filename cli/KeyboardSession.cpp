#include "cli/KeyboardSession.h"

#include <algorithm>
#include <cctype>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "device/CommandProtocol.h"
#include "model/Utf16Text.h"

namespace zarvin::cli {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

// Reads the keyboard into the session's working store, through the cache file.
bool ReadKeyboard(KeyboardSession& session, std::ostream& err) {
    int result = CommandResult::Success;
    if (session.sync.LoadFromDevice({}, &result) == FileResult::Success) {
        return true;
    }
    err << CliFormat(cli_text::CANNOT_READ_KEY_MAPS,
                     {result == CommandResult::Success ? CliText(cli_text::CACHE_NOT_WRITTEN)
                                                       : CommandResultText(result)})
        << '\n';
    return false;
}

std::string NoSuchMacro(const WorkingStore& store, std::string_view name) {
    const std::string names = MacroNames(store);
    return CliFormat(cli_text::NO_SUCH_MACRO,
                     {name, names.empty() ? CliText(cli_text::HAS_NO_MACROS)
                                          : CliFormat(cli_text::ITS_MACROS, {names})});
}

// True when the whole transfer succeeded; otherwise says what happened.
bool ReportApply(int result, int firstFailure, bool sent, std::ostream& err) {
    if (result == CommandResult::Success && firstFailure == CommandResult::Success) {
        return true;
    }
    if (!sent) {
        if (firstFailure != CommandResult::Success) {
            err << CliFormat(cli_text::CANNOT_READ_KEYBOARD, {CommandResultText(firstFailure)})
                << '\n';
        }
        err << CliText(cli_text::NOTHING_WRITTEN) << '\n';
    } else if (result == CommandResult::Success) {
        err << CliFormat(cli_text::WRITTEN_IN_PART, {CommandResultText(firstFailure)}) << '\n';
    } else {
        err << CliFormat(cli_text::WRITING_FAILED, {CommandResultText(firstFailure)}) << '\n';
    }
    return false;
}

// The id of the macro called `name`: the exact name first, then the name in any case.
std::optional<uint16_t> MacroIdOfName(const WorkingStore& store, std::string_view name) {
    const std::lock_guard lock(store.Lock());
    const std::vector<MacroRecord>& macros = store.Macros();
    for (const bool exact : {true, false}) {
        for (const MacroRecord& macro : macros) {
            const std::string macroName = Utf8OfUtf16(macro.Name());
            if (exact ? macroName == name : SameIgnoringCase(macroName, name)) {
                return macro.Id();
            }
        }
    }
    return std::nullopt;
}

std::string MacroNames(const WorkingStore& store) {
    const std::lock_guard lock(store.Lock());
    std::string names;
    for (const MacroRecord& macro : store.Macros()) {
        names += (names.empty() ? "" : ", ") + Utf8OfUtf16(macro.Name());
    }
    return names;
}

}  // namespace zarvin::cli
