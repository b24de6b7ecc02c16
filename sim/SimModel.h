#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/KeyboardModel.h"

namespace zarvin::sim {

// A keyboard model the stand-in plays: its position in the model table. The stand-in plays
// every model there; the two named here are the ones code and tests pick by name.
enum class SimModel { Keyboard126 = 0, Keyboard128 = 1 };

// The model's record in the table: ids, name, key positions, factory contents.
const KeyboardModel& InfoOf(SimModel model);

// Every model of the table, in its order.
std::vector<SimModel> AllSimModels();

// Accepts a model's name ("126", "128") or its ids ("0c45:5004", "320f:5000"), in any case.
std::optional<SimModel> ParseSimModel(std::string_view text);

// The models' names joined by commas and `lastJoin` before the last: "126 or 128".
std::string SimModelNames(std::string_view lastJoin);

}  // namespace zarvin::sim
