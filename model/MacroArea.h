#pragma once

// The keyboard's macro area and the rules of a macro list. The area, all numbers 16-bit little-endian:
//
//   0       header (MacroAreaHeader): AA 55, length of the area, macro count n, names flag,
//           eight zero bytes
//   16      offset table: n offsets, each the start of a block from the start of the area
//   16+2n   the blocks in list order, back to back:
//             u16 action count a, u8 cycles, u8 name length L (0 without names),
//             a encoded actions of 4 bytes, then L UTF-16 units of name (no terminator)
//
// An encoded action is a word (bits 0-11 delay in 10 ms units, bits 12-14 the entry kind of
// the key map, bit 15 set for a press) and the last two bytes of the key's key-map entry.
// Delays keep 12 bits, so the longest is 40950 ms; longer ones are written as 40950 ms.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/KeyCodes.h"
#include "model/MacroRecord.h"

namespace zarvin {

// The largest delay the area can hold.
inline constexpr int32_t kMaxMacroAreaDelay = 40950;

// Bytes the store's macros take in the area, header and offset table included.
struct MacroAreaSize {
    size_t withoutNames = 0;
    size_t withNames = 0;
};
MacroAreaSize MacroAreaSizes(std::span<const MacroRecord> macros);

// How the area goes to a keyboard offering `capacity` bytes: with names when they fit, else
// without; nothing when even the area without names is larger than the capacity.
struct MacroAreaLayout {
    size_t length = 0;
    bool withNames = false;
};
std::optional<MacroAreaLayout> ChooseMacroAreaLayout(MacroAreaSize sizes, size_t capacity);

// Encodes the store's macros into `area`, whose size becomes the header's length; bytes after
// the last block are zero. False, with `area` untouched, when the macros need more than
// area.size() bytes or the area is larger than a 16-bit length can say.
bool EncodeMacroArea(std::span<const MacroRecord> macros, std::span<uint8_t> area, bool withNames);

// Decodes `count` macros from an area read from the keyboard (header included). The macros get
// ids 1, 2, ... in area order, so PlayMacro entries (positions) stay paired with them. A macro
// without a name (none stored, or none left inside the area) is called MACRO_NEW_PREFIX
// followed by its id.
//
// The area is untrusted: nothing outside `area` is read. At most 100 macros are decoded, and
// none whose offset-table entry lies outside the area. A block that starts outside the area
// gives an empty macro; actions and name units that run past its end are left out; at most 4000
// actions and 249 name units are taken.
std::vector<MacroRecord> DecodeMacroArea(std::span<const uint8_t> area, size_t count,
                                         const TextLookup& texts);

// A fresh macro for the macro page's list: the name (cut to 249 units), cycles 1, new flag 1, no
// actions, and the smallest id of 1-100 that no macro of `list` uses; nothing when all are used.
std::optional<MacroRecord> NewMacro(std::u16string_view name, std::span<const MacroRecord> list);



}  // namespace zarvin
