#include "control/ProfileMacros.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "control/UserQuestions.h"
#include "model/KeyAssignment.h"
#include "model/TextKeys.h"
#include "store/ProfileStore.h"

namespace zarvin {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

}  // namespace

MacroAreaSize MacroAreaSizes(const ProfileStore& store) {
    const Guard guard(store.Lock());
    return MacroAreaSizes(store.Macros());
}

bool EncodeMacroArea(const ProfileStore& store, std::span<uint8_t> area, bool withNames) {
    const Guard guard(store.Lock());
    return EncodeMacroArea(store.Macros(), area, withNames);
}

bool ConfirmMacroDelete(const MacroRecord& macro, const WorkingStore& working,
                        UserQuestions& questions) {
    if (macro.NewFlag() == 1) {
        return true;
    }
    bool used = false;
    {
        const Guard guard(working.Lock());
        for (size_t record = 0; record < kKeyRecordCount && !used; ++record) {
            const KeyAssignment assignment = working.Assignment(record);
            used = assignment.Is(AssignmentType::PlayMacro) && assignment.value == macro.Id();
        }
    }
    return !used || questions.AskYesNo(text_keys::MACRO_DELETE_CONFIRM_OF_KEYS);
}

MacroCommit CommitMacroList(WorkingStore& working, std::vector<MacroRecord> edited) {
    MacroCommit commit;
    if (edited.size() > kMaxMacroRecords) {
        return commit;
    }
    const Guard guard(working.Lock());
    for (size_t record = 0; record < kKeyRecordCount; ++record) {
        KeyAssignment assignment = working.Assignment(record);
        if (!assignment.Is(AssignmentType::PlayMacro)) {
            continue;
        }
        if (assignment.value == 0) {
            if (!edited.empty()) {
                assignment.value = edited.front().Id();
                working.SetAssignment(record, assignment);
            }
            continue;
        }
        const auto found =
            std::find_if(edited.begin(), edited.end(),
                         [&](const MacroRecord& macro) { return macro.Id() == assignment.value; });
        if (found == edited.end() || found->NewFlag() == 1) {
            assignment.type = static_cast<uint16_t>(AssignmentType::Default);
            assignment.value = 0;
            working.SetAssignment(record, assignment);
            commit.defaultedRecords.push_back(record);
        }
    }
    for (MacroRecord& macro : edited) {
        macro.SetNewFlag(0);
    }
    commit.committed = working.SetMacros(std::move(edited));
    return commit;
}

}  // namespace zarvin
