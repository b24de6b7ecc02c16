#pragma once

#include <cstdint>

namespace zarvin {

// A colour in memory: red | green << 8 | blue << 16.
using ColourValue = uint32_t;

inline constexpr uint8_t RedOf(ColourValue colour) {
    return static_cast<uint8_t>(colour);
}
inline constexpr uint8_t GreenOf(ColourValue colour) {
    return static_cast<uint8_t>(colour >> 8);
}
inline constexpr uint8_t BlueOf(ColourValue colour) {
    return static_cast<uint8_t>(colour >> 16);
}
inline constexpr ColourValue MakeColour(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<ColourValue>(red | green << 8 | blue << 16);
}

}  // namespace zarvin
