#pragma once

// The readable form of a store's key assignments and macros that `show` and `keys` print: per
// profile one line for each reassigned key, its caption as a key button shows it, then each
// macro with its cycles and actions. Texts come from the language file.

#include <cstddef>
#include <ostream>
#include <string>

#include "model/KeyCodes.h"

namespace zarvin {
class WorkingStore;
}

namespace zarvin::cli {

// The key of `slot` as a key button names it: its key name, or G1-G18.
std::string ButtonNameOfSlot(size_t slot, const TextLookup& texts);

// The caption of key record `record`, completed where the caption says nothing of the function
// (disabled, stop macro, program, text).
std::string AssignmentLine(const WorkingStore& store, size_t record, const TextLookup& texts);

// "profile N" + `note`, then one indented line per reassigned key, or a line saying there is
// none.
void PrintProfileAssignments(const WorkingStore& store, int profile, const std::string& note,
                             const TextLookup& texts, std::ostream& out);

// "macros", then per macro its number, name, cycles and actions, one indented line each.
void PrintMacros(const WorkingStore& store, const TextLookup& texts, std::ostream& out);

}  // namespace zarvin::cli
