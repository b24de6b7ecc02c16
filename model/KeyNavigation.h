#pragma once

// Moving between the keys of the on-screen keyboard with the arrow keys: from one key, the
// key the arrow points at is the nearest one whose centre lies that way, where being off to the
// side counts three times as much as being far ahead, so the move stays on its row or column.

#include <cstddef>
#include <optional>
#include <span>

#include "model/KeyboardLayout.h"

namespace zarvin {

enum class KeyDirection { Left, Right, Up, Down };

// The index in `places` of the key reached from places[from]; nothing at the keyboard's edge.
// Empty places (keys out of sight) are never reached.
std::optional<size_t> NearestKeyInDirection(std::span<const KeyRect> places, size_t from,
                                            KeyDirection direction);

}  // namespace zarvin
