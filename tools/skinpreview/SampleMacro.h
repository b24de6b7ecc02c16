#pragma once

// The macro the pictures show: Ctrl+C, played three times.

#include <cstdint>
#include <string_view>

#include "model/MacroRecord.h"

namespace zarvin::preview {

MacroRecord CopyMacro(uint16_t id, std::u16string_view name);

}  // namespace zarvin::preview
