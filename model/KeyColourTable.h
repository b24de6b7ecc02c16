#pragma once

// The per-key colours of the three profiles, laid out as the keyboard's key-colour area:
// colour index k occupies bytes 3k, 3k + 1 and 3k + 2 (red, green, blue) of its profile's block.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "keyboard/KeyboardFacts.h"
#include "model/ColourValue.h"

namespace zarvin {

inline constexpr size_t kKeyColourBlockBytes = 512;

class KeyColourTable {
public:
    // Profiles outside 0-2 and indexes whose bytes lie outside the block read black and are
    // not written.
    ColourValue Colour(int profile, int colourIndex) const;
    void SetColour(int profile, int colourIndex, ColourValue colour);

    // The profile's whole block, as sent to the keyboard; empty for a profile outside 0-2.
    std::span<const uint8_t> Block(int profile) const;

private:
    std::array<std::array<uint8_t, kKeyColourBlockBytes>, kProfileCount> blocks_{};
};

}  // namespace zarvin
