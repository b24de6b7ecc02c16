#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zarvin::sim {

// The two keyboards the stand-in can play.
enum class SimModel { Keyboard126, Keyboard128 };

struct SimModelInfo {
    uint16_t vendorId;
    uint16_t productId;
    int keyCount;
    uint16_t keyMapLength;
    std::string_view name;  // what --simulate=MODEL takes
};

const SimModelInfo& InfoOf(SimModel model);

// Accepts the model's name ("126", "128") or its ids ("0c45:5004", "320f:5000").
std::optional<SimModel> ParseSimModel(std::string_view text);

}  // namespace zarvin::sim
