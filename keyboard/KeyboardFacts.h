#pragma once

// What every layer may know of the keyboard: the sizes of its areas, shared by the link that
// moves them, the records that describe them and the stand-in that keeps them.

#include <array>
#include <cstddef>
#include <cstdint>

namespace zarvin {

// The device information area, read and written whole.
inline constexpr size_t kDeviceInfoSize = 44;
// Profiles the keyboard keeps: key maps, lighting and key colours for each.
inline constexpr int kProfileCount = 3;
// Bytes between two profiles' key colours.
inline constexpr uint16_t kKeyColourProfileStride = 512;

// Where a profile's key map lies: its length and the distance between two profiles' maps.
struct KeyMapGeometry {
    uint16_t blockLength = 378;
    uint16_t stride = 378;
};

// The keyboard's default key matrix: the 3-byte key-map entry each position sends by default.
inline constexpr size_t kDefaultKeyMatrixBytes = 512;
using DefaultKeyMatrix = std::array<uint8_t, kDefaultKeyMatrixBytes>;

}  // namespace zarvin
