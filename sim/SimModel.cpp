#include "sim/SimModel.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "keyboard/KeyboardIds.h"

namespace zarvin::sim {
namespace {

const SimModelInfo kKeyboard126{kVendor126, kProduct126, 126, 378, "126"};
const SimModelInfo kKeyboard128{kVendor128, kProduct128, 128, 512, "128"};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

const SimModelInfo& InfoOf(SimModel model) {
    return model == SimModel::Keyboard128 ? kKeyboard128 : kKeyboard126;
}

std::optional<SimModel> ParseSimModel(std::string_view text) {
    struct Name {
        std::string_view text;
        SimModel model;
    };
    static constexpr std::array<Name, 4> kNames{{
        {"126", SimModel::Keyboard126},
        {"0c45:5004", SimModel::Keyboard126},
        {"128", SimModel::Keyboard128},
        {"320f:5000", SimModel::Keyboard128},
    }};
    for (const Name& name : kNames) {
        if (EqualsIgnoringCase(text, name.text)) {
            return name.model;
        }
    }
    return std::nullopt;
}

}  // namespace zarvin::sim
