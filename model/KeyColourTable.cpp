#include "model/KeyColourTable.h"

namespace zarvin {

namespace {

bool InTable(int profile, int colourIndex) {
    return profile >= 0 && profile < kProfileCount && colourIndex >= 0 &&
           static_cast<size_t>(colourIndex) * 3 + 3 <= kKeyColourBlockBytes;
}

}  // namespace

ColourValue KeyColourTable::Colour(int profile, int colourIndex) const {
    if (!InTable(profile, colourIndex)) {
        return 0;
    }
    const auto& block = blocks_[static_cast<size_t>(profile)];
    const size_t at = static_cast<size_t>(colourIndex) * 3;
    return MakeColour(block[at], block[at + 1], block[at + 2]);
}

void KeyColourTable::SetColour(int profile, int colourIndex, ColourValue colour) {
    if (!InTable(profile, colourIndex)) {
        return;
    }
    auto& block = blocks_[static_cast<size_t>(profile)];
    const size_t at = static_cast<size_t>(colourIndex) * 3;
    block[at] = RedOf(colour);
    block[at + 1] = GreenOf(colour);
    block[at + 2] = BlueOf(colour);
}

std::span<const uint8_t> KeyColourTable::Block(int profile) const {
    if (profile < 0 || profile >= kProfileCount) {
        return {};
    }
    return blocks_[static_cast<size_t>(profile)];
}

}  // namespace zarvin
