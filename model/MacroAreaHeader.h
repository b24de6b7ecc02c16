#pragma once

// The first 16 bytes of the keyboard's macro area, which say whether it holds macros, how much
// of it is in use and whether the records carry their names. Numbers are 16-bit little-endian.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zarvin {

struct MacroAreaHeader {
    static constexpr size_t kSize = 16;
    // Stored as the bytes AA 55.
    static constexpr uint16_t kMagic = 0x55AA;

    uint16_t magic = 0;
    // Bytes in use, counted from the start of the header.
    uint16_t length = 0;
    uint16_t macroCount = 0;
    // 1 when the records carry their names, 0 when they were left out for lack of room.
    uint16_t namesFlag = 0;

    // Fewer than 16 bytes give a header of an empty area.
    static MacroAreaHeader Parse(std::span<const uint8_t> bytes);

    // Anything but the magic means the area holds no macros, whatever the other fields say.
    bool HoldsMacros() const { return magic == kMagic; }
};

}  // namespace zarvin
