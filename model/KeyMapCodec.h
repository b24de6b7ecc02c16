#pragma once

// Between the profile store's key records and the keyboard's key maps. A key map is one 3-byte
// entry per key position, in the order of the default key matrix; the first byte is the kind:
//
//   00 00 00  nothing (disabled)         03 u0 u1  consumer usage u0 + 256 × u1
//   01 01 m   mouse button 1/2/4         04 u0 u1  system control usage (Power, Sleep, Wake)
//   01 05 d   wheel, 01 up, FF down      05 01 p   play the macro at position p of the area
//   02 01 m   modifier, HID bit m        05 02 00  stop the playing macro
//   02 02 u   key of HID usage u         05 05 f   keyboard function f (0-10)
//                                        06 A2 n   G key n (1-18), default key matrix only
//
// Position i belongs to the key EntryKeyCode(default entry i); the record of that key in a
// profile (slot SlotOfKeyCode) says what position i sends. A position whose default entry gives
// no key code is never written nor read. An entry equal to the default entry means "Default".
//
// Nothing here fails: entries without a meaning and codes without a device code end as Default,
// Disabled, default entries or zero bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "keyboard/KeyboardFacts.h"
#include "model/KeyAssignment.h"
#include "model/KeyCodes.h"
#include "model/MacroRecord.h"

namespace zarvin {

using KeyMapEntry = std::array<uint8_t, 3>;

// A row of the media function table: the key code names it, the usage goes into 03 u0 u1.
struct MediaFunction {
    KeyCode keyCode;
    std::string_view textKey;
    uint16_t consumerUsage;
};
// A Media record's value indexes this table.
extern const std::array<MediaFunction, 18> MediaFunctionTable;
// A Function record's value indexes text_keys::kFunctionKeyDescriptions (FUNC_KEY_DESC1-11).
inline constexpr size_t kKeyboardFunctionCount = 11;

// Default key matrix positions 99 and 106: BuildKeyMap gives 99 the default entry of 106.
inline constexpr size_t kSharedDefaultSource = 106;
inline constexpr size_t kSharedDefaultTarget = 99;

// The key code an entry stands for; 0 if none (00 and 05 entries, unknown usages).
KeyCode EntryKeyCode(KeyMapEntry entry);

// What the keyboard holds for the profile being built, so that a key the user did not touch
// keeps the keyboard's own bytes, including entries no record can express (an unlisted consumer
// usage, a system-control usage).
struct HeldKeyMap {
    // The profile's key map as the keyboard holds it now (the model's key-map length).
    std::span<const uint8_t> block;
    // When the working store could not be taken from the keyboard, the table it started from:
    // a record still equal to it was not touched either.
    std::span<const uint8_t> startingTable;
};

// The bytes of a key map before any record is written: the default key matrix, zero past it;
// with `held`, the keyboard's bytes instead of the matrix.
void FillDefaultKeyMap(std::span<uint8_t> block, const DefaultKeyMatrix& matrix,
                       const HeldKeyMap* held = nullptr);

// Fills `block` (at most 512 bytes) with a key map: FillDefaultKeyMap, then for each of the first
// `keyCount` positions whose default entry names a key, the entry of the record `recordOfSlot`
// gives for that key's slot. A PlayMacro record plays the macro at its id's position in `macros`.
//
// With `held`, a position whose record means what the keyboard's entry means (or is still as in
// the starting table) keeps the keyboard's bytes; the rest are encoded. PlayMacro records are
// always encoded: macro positions follow the macro list.
void EncodeKeyMap(std::span<uint8_t> block, const DefaultKeyMatrix& matrix, int keyCount,
                  const std::function<KeyAssignment(size_t slot)>& recordOfSlot,
                  std::span<const MacroRecord> macros, const HeldKeyMap* held = nullptr);

// Rebuilds one profile's key table from a key map read from the keyboard, against the default
// key matrix and the key count (at most 170 positions are read). The table is cleared first
// (ResetProfileBlock). Reads only whole entries inside `deviceBlock`; a short block leaves the
// rest at Default.
void DecodeKeyMap(std::span<const uint8_t> deviceBlock, const DefaultKeyMatrix& matrix,
                  int keyCount, KeyTableBytes records);

// All 512 records zero; the G-key records (slots 256-273) carry their identifiers (kGKeyIds).
void ResetProfileBlock(KeyTableBytes records);


// The 0-based position of macro `macroId` in `macros`; 0 when the list is empty or holds no
// such macro (an assignment to a vanished macro plays the first one).
uint8_t MacroPosition(int32_t macroId, std::span<const MacroRecord> macros);

struct AssignmentCaptionText {
    std::string caption;    // UTF-8, at most 259 UTF-16 units
    bool assigned = false;  // drawn with the assigned look
};


// The text and look of a key button. `buttonName` is KeyNameOf the key's code, or "G1"-"G9" for
// a G button. Texts come through `texts` (KEY_PROMPT_*, FUNC_KEY_DESC*, key names); a macro's
// name from `macros`.
AssignmentCaptionText AssignmentCaption(std::string_view buttonName, const KeyAssignment& record,
                                        std::span<const MacroRecord> macros,
                                        const TextLookup& texts);

// What a Key, PlayMacro, Media or Function record names: the key, the macro's name, the
// multimedia or keyboard function; empty for other records and values without a meaning. A
// macro's name comes from `macros`.
std::string AssignedFunctionName(const KeyAssignment& record, std::span<const MacroRecord> macros,
                                 const TextLookup& texts);

}  // namespace zarvin
