#pragma once

// Four macros of 790 actions of every event kind, with 15-character names: 12,800 bytes of
// macro area, as much as the keyboard keeps.

#include <cstddef>
#include <vector>

#include "model/MacroRecord.h"

namespace zarvin::bench {

inline constexpr size_t kFullMacroAreaBytes = 12800;
inline constexpr size_t kFullAreaMacros = 4;

std::vector<MacroRecord> FullCapacityMacros();

}  // namespace zarvin::bench
