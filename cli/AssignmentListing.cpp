#include "cli/AssignmentListing.h"

#include <algorithm>
#include <mutex>
#include <string_view>
#include <vector>

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

std::string Counted(size_t count, const std::string& noun) {
    return std::to_string(count) + ' ' + noun + (count == 1 ? "" : "s");
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

}  // namespace

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

void PrintProfileAssignments(const WorkingStore& store, int profile, const std::string& note,
                             const TextLookup& texts, std::ostream& out) {
    out << "profile " << profile + 1 << note << '\n';
    bool any = false;
    for (size_t slot = 0; slot < kFirstGKeySlot + kGKeyCount; ++slot) {
        const size_t record = KeyRecordNumber(static_cast<size_t>(profile), slot);
        if (!store.Assignment(record).Is(AssignmentType::Default)) {
            out << "  " << AssignmentLine(store, record, texts) << '\n';
            any = true;
        }
    }
    if (!any) {
        out << "  no reassigned keys\n";
    }
}

void PrintMacros(const WorkingStore& store, const TextLookup& texts, std::ostream& out) {
    const std::lock_guard lock(store.Lock());
    const std::vector<MacroRecord>& macros = store.Macros();
    if (macros.empty()) {
        out << "macros: none\n";
        return;
    }
    out << "macros\n";
    for (size_t i = 0; i < macros.size(); ++i) {
        const MacroRecord& macro = macros[i];
        const size_t actions = std::min<size_t>(macro.ActionCount(), MacroRecord::kMaxActions);
        out << "  macro " << i + 1 << ", \"" << Utf8OfUtf16(macro.Name())
            << "\": " << Counted(macro.Cycles(), "cycle") << ", " << Counted(actions, "action")
            << '\n';
        for (size_t slot = 0; slot < actions; ++slot) {
            const MacroAction action = macro.Action(slot);
            out << "    " << (action.state == MacroAction::kRelease ? kReleaseText : kPressText)
                << ' ' << KeyNameOf(action.key, texts) << ", " << action.delay << " ms\n";
        }
    }
}

}  // namespace zarvin::cli
