#pragma once

// The macro area and the macro list over the profile stores, and the rules that keep the macro
// list and the key assignments together.
//
// Locks: MacroAreaSizes and EncodeMacroArea take the given store's lock (the applied store's
// in an apply); ConfirmMacroDelete and CommitMacroList take the working store's lock.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/MacroArea.h"
#include "model/MacroRecord.h"

namespace zarvin {

class ProfileStore;
class UserQuestions;
class WorkingStore;

// The span forms of model/MacroArea.h over the store's macro list.
MacroAreaSize MacroAreaSizes(const ProfileStore& store);
bool EncodeMacroArea(const ProfileStore& store, std::span<uint8_t> area, bool withNames);

// Whether the macro page may delete `macro`. A macro created in the open editor always may.
// Otherwise, when a PlayMacro record of the working store names its id, the user is asked
// MACRO_DELETE_CONFIRM_OF_KEYS and decides; else it may. Assignments are not changed here.
bool ConfirmMacroDelete(const MacroRecord& macro, const WorkingStore& working,
                        UserQuestions& questions);

struct MacroCommit {
    bool committed = false;
    // Key records (KeyRecordNumber) whose PlayMacro assignment became Default, in record order;
    // the caller redraws the buttons of those in the profile it shows.
    std::vector<size_t> defaultedRecords;
};

// The key editor's Apply: makes `edited` the working store's macro list (new flags cleared) and
// repairs PlayMacro records: one naming a macro that is gone, or whose id now belongs to a new
// macro, becomes Default; one with value 0 gets the id of the list's first macro. More than 100
// macros: nothing changes and `committed` is false.
MacroCommit CommitMacroList(WorkingStore& working, std::vector<MacroRecord> edited);

}  // namespace zarvin
