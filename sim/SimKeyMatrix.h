#pragma once

// The factory key matrix each model keeps in its read-only memory: one 3-byte entry per key
// position, positions numbered column by column (eight rows to a column), as the keyboard
// scans them.

#include <cstdint>
#include <span>

#include "sim/SimModel.h"

namespace zarvin::sim {

// Fn is handled inside the keyboard and is never sent: the matrix marks it with this entry,
// which is no key code to the host.
inline constexpr uint8_t kFnEntry[3] = {0x05, 0x02, 0x02};

// The model's key-map length in bytes (378 or 512); on the 128-key model the bytes after the
// 128 entries are 0.
std::span<const uint8_t> FactoryKeyMatrix(SimModel model);

}  // namespace zarvin::sim
