#include "cli/AssignmentListing.h"

#include <algorithm>
#include <mutex>
#include <string_view>
#include <vector>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "control/ProfileKeyMaps.h"
#include "model/KeyAssignment.h"
#include "model/KeyMapCodec.h"
#include "model/MacroRecord.h"
#include "model/Utf16Text.h"
#include "store/ProfileStore.h"

namespace zarvin::cli {
namespace {

constexpr size_t kGKeyCount = kGKeyIds.size();
constexpr size_t kShownTextUnits = 60;
// What the action list shows for a press and a release.
constexpr std::string_view kPressText = "\u2193";
constexpr std::string_view kReleaseText = "  \u2191";

// "1 action", "2 actions".
std::string Counted(size_t count, std::string_view one, std::string_view many) {
    return CliFormat(count == 1 ? one : many, {std::to_string(count)});
}

// A text block on one line: line breaks shown as \n, a long one cut.
std::string OneLine(std::u16string_view text) {
    const bool cut = text.size() > kShownTextUnits;
    std::string line;
    for (const char c : Utf8OfUtf16(text.substr(0, kShownTextUnits))) {
        if (c == '\n') {
            line += "\\n";
        } else if (c != '\r') {
            line += c;
        }
    }
    return line + (cut ? "..." : "");
}

// What the caption leaves unsaid.
std::string Detail(const WorkingStore& store, size_t record, const KeyAssignment& assignment) {
    const std::u16string* launchString = store.LaunchStrings().At(record);
    switch (static_cast<AssignmentType>(assignment.type)) {
        case AssignmentType::Default:
        case AssignmentType::Key:
        case AssignmentType::PlayMacro:
        case AssignmentType::Media:
        case AssignmentType::Function:
            return "";
        case AssignmentType::Disabled:
            return "disabled";
        case AssignmentType::StopMacro:
            return "stop macro";
        case AssignmentType::LaunchProgram:
            return "program " + (launchString != nullptr ? Utf8OfUtf16(*launchString) : "");
        case AssignmentType::TextBlock:
            return "text \"" + (launchString != nullptr ? OneLine(*launchString) : "") + "\"";
    }
    return "assignment of type " + std::to_string(assignment.type);
}

// The words scripts see for an assignment's type.
const char* TypeName(uint16_t type) {
    switch (static_cast<AssignmentType>(type)) {
        case AssignmentType::Default:
            return "default";
        case AssignmentType::Disabled:
            return "disabled";
        case AssignmentType::Key:
            return "key";
        case AssignmentType::LaunchProgram:
            return "program";
        case AssignmentType::PlayMacro:
            return "macro";
        case AssignmentType::StopMacro:
            return "stop-macro";
        case AssignmentType::TextBlock:
            return "text";
        case AssignmentType::Media:
            return "media";
        case AssignmentType::Function:
            return "function";
    }
    return "unknown";
}

bool ShownByDefault(const WorkingStore& store, size_t record) {
    return !store.Assignment(record).Is(AssignmentType::Default);
}

}  // namespace

std::string CyclesText(size_t cycles) {
    return Counted(cycles, cli_text::CYCLES_ONE, cli_text::CYCLES_MANY);
}

std::string ButtonNameOfSlot(size_t slot, const TextLookup& texts) {
    if (slot >= kFirstGKeySlot) {
        return "G" + std::to_string(slot - kFirstGKeySlot + 1);
    }
    return KeyNameOf(KeyCodeOfSlot(static_cast<uint16_t>(slot)), texts);
}

std::string AssignmentLine(const WorkingStore& store, size_t record, const TextLookup& texts) {
    const KeyAssignment assignment = store.Assignment(record);
    const std::string name = ButtonNameOfSlot(record % kKeyTableRecords, texts);
    return AssignmentCaption(name, assignment, store, texts).caption +
           Detail(store, record, assignment);
}

void PrintProfileAssignments(const WorkingStore& store, int profile, bool active,
                             const TextLookup& texts, std::ostream& out, const SlotFilter& shown) {
    out << CliFormat(active ? cli_text::PROFILE_HEADING_ACTIVE : cli_text::PROFILE_HEADING,
                     {std::to_string(profile + 1)})
        << '\n';
    bool any = false;
    for (size_t slot = 0; slot < kFirstGKeySlot + kGKeyCount; ++slot) {
        const size_t record = KeyRecordNumber(static_cast<size_t>(profile), slot);
        if (shown ? shown(slot) : ShownByDefault(store, record)) {
            const bool own = store.Assignment(record).Is(AssignmentType::Default);
            const std::string line = AssignmentLine(store, record, texts);
            out << "  " << (own ? CliFormat(cli_text::OWN_FUNCTION, {line}) : line) << '\n';
            any = true;
        }
    }
    if (!any) {
        out << "  " << CliText(shown ? cli_text::NO_KEYS : cli_text::NO_REASSIGNED_KEYS) << '\n';
    }
}

void PrintMacros(const WorkingStore& store, const TextLookup& texts, std::ostream& out) {
    const std::lock_guard lock(store.Lock());
    const std::vector<MacroRecord>& macros = store.Macros();
    if (macros.empty()) {
        out << CliText(cli_text::MACROS_NONE) << '\n';
        return;
    }
    out << CliText(cli_text::MACROS_HEADING) << '\n';
    for (size_t i = 0; i < macros.size(); ++i) {
        const MacroRecord& macro = macros[i];
        const size_t actions = std::min<size_t>(macro.ActionCount(), MacroRecord::kMaxActions);
        out << "  "
            << CliFormat(cli_text::MACRO_LINE,
                         {std::to_string(i + 1), Utf8OfUtf16(macro.Name()), CyclesText(macro.Cycles()),
                          Counted(actions, cli_text::ACTIONS_ONE, cli_text::ACTIONS_MANY)})
            << '\n';
        for (size_t slot = 0; slot < actions; ++slot) {
            const MacroAction action = macro.Action(slot);
            out << "    " << (action.state == MacroAction::kRelease ? kReleaseText : kPressText)
                << ' ' << KeyNameOf(action.key, texts) << ", " << action.delay << " ms\n";
        }
    }
}

}  // namespace zarvin::cli

namespace zarvin::cli {

JsonValue AssignmentJson(const WorkingStore& store, size_t record, const TextLookup& texts) {
    const KeyAssignment assignment = store.Assignment(record);
    const size_t slot = record % kKeyTableRecords;
    JsonValue entry{{"key",
                     {{"name", ButtonNameOfSlot(slot, texts)},
                      {"code", KeyCodeOfSlot(static_cast<uint16_t>(slot))}}},
                    {"type", TypeName(assignment.type)},
                    {"caption", AssignmentLine(store, record, texts)}};
    const std::u16string* launchString = store.LaunchStrings().At(record);
    switch (static_cast<AssignmentType>(assignment.type)) {
        case AssignmentType::Key:
            entry["target"] = KeyJson(static_cast<KeyCode>(assignment.value), texts);
            break;
        case AssignmentType::Media:
            if (assignment.value >= 0 &&
                static_cast<size_t>(assignment.value) < MediaFunctionTable.size()) {
                entry["media"] = KeyJson(
                    MediaFunctionTable[static_cast<size_t>(assignment.value)].keyCode, texts);
            }
            break;
        case AssignmentType::Function:
            entry["function"] = assignment.value + 1;
            break;
        case AssignmentType::PlayMacro: {
            const std::lock_guard lock(store.Lock());
            JsonValue macro{{"id", assignment.value}};
            for (const MacroRecord& candidate : store.Macros()) {
                if (candidate.Id() == assignment.value) {
                    macro["name"] = Utf8OfUtf16(candidate.Name());
                }
            }
            entry["macro"] = std::move(macro);
            break;
        }
        case AssignmentType::LaunchProgram:
            entry["program"] = launchString != nullptr ? Utf8OfUtf16(*launchString) : "";
            break;
        case AssignmentType::TextBlock:
            entry["text"] = launchString != nullptr ? Utf8OfUtf16(*launchString) : "";
            break;
        default:
            break;
    }
    return entry;
}

JsonValue ProfileAssignmentsJson(const WorkingStore& store, int profile, const TextLookup& texts,
                                 const SlotFilter& shown) {
    JsonValue keys = JsonValue::array();
    for (size_t slot = 0; slot < kFirstGKeySlot + kGKeyCount; ++slot) {
        const size_t record = KeyRecordNumber(static_cast<size_t>(profile), slot);
        if (shown ? shown(slot) : ShownByDefault(store, record)) {
            keys.push_back(AssignmentJson(store, record, texts));
        }
    }
    JsonValue listing = ProfileJson(profile);
    listing["keys"] = std::move(keys);
    return listing;
}

JsonValue MacrosJson(const WorkingStore& store, const TextLookup& texts) {
    const std::lock_guard lock(store.Lock());
    JsonValue macros = JsonValue::array();
    const std::vector<MacroRecord>& records = store.Macros();
    for (size_t i = 0; i < records.size(); ++i) {
        const MacroRecord& macro = records[i];
        const size_t count = std::min<size_t>(macro.ActionCount(), MacroRecord::kMaxActions);
        JsonValue actions = JsonValue::array();
        for (size_t slot = 0; slot < count; ++slot) {
            const MacroAction action = macro.Action(slot);
            actions.push_back({{"key", KeyJson(action.key, texts)},
                               {"state", action.state == MacroAction::kRelease ? "up" : "down"},
                               {"delay", action.delay}});
        }
        macros.push_back({{"number", i + 1},
                          {"id", macro.Id()},
                          {"name", Utf8OfUtf16(macro.Name())},
                          {"cycles", macro.Cycles()},
                          {"actions", std::move(actions)}});
    }
    return macros;
}

}  // namespace zarvin::cli
