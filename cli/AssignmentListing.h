#pragma once

// The readable form of a store's key assignments and macros that `show` and `keys` print: per
// profile one line for each reassigned key, its caption as a key button shows it, then each
// macro with its cycles and actions. Texts come from the language file.

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

#include "cli/JsonOutput.h"
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

// Which key slots a listing shows: by default the reassigned ones.
using SlotFilter = std::function<bool(size_t slot)>;

// "profile N" (N from 1, "(active)" after the active one), then one indented line per key that
// `shown` lets through (without it, per reassigned key), or a line saying there is none.
void PrintProfileAssignments(const WorkingStore& store, int profile, bool active,
                             const TextLookup& texts, std::ostream& out,
                             const SlotFilter& shown = {});

// "3 cycles", in the command line's language.
std::string CyclesText(size_t cycles);

// "macros", then per macro its number, name, cycles and actions, one indented line each.
void PrintMacros(const WorkingStore& store, const TextLookup& texts, std::ostream& out);

// One key record: {"key": {"name", "code"}, "type", "caption"} and by type "target" (a key),
// "media" (a key), "function" (1 to 11), "macro" ({"id", "name"}), "program" or "text".
JsonValue AssignmentJson(const WorkingStore& store, size_t record, const TextLookup& texts);

// {"profile", "index", "keys": [AssignmentJson...]} for the keys `shown` lets through (without
// it, the reassigned ones).
JsonValue ProfileAssignmentsJson(const WorkingStore& store, int profile, const TextLookup& texts,
                                 const SlotFilter& shown = {});

// [{"number", "id", "name", "cycles", "actions": [{"key", "state": "down"|"up", "delay"}]}]
JsonValue MacrosJson(const WorkingStore& store, const TextLookup& texts);

}  // namespace zarvin::cli
