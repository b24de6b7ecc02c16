#include "sim/SimModel.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace zarvin::sim {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string IdsOf(const KeyboardModel& model) {
    char ids[10];
    std::snprintf(ids, sizeof ids, "%04x:%04x", model.vendorId, model.productId);
    return ids;
}

}  // namespace

const KeyboardModel& InfoOf(SimModel model) {
    const auto models = KeyboardModels();
    const auto index = static_cast<size_t>(model);
    // No position outside the table is ever made; were one, it would play the first model.
    return index < models.size() ? models[index] : models.front();
}

std::vector<SimModel> AllSimModels() {
    std::vector<SimModel> all;
    for (size_t index = 0; index < KeyboardModels().size(); ++index) {
        all.push_back(static_cast<SimModel>(index));
    }
    return all;
}

std::optional<SimModel> ParseSimModel(std::string_view text) {
    for (const SimModel model : AllSimModels()) {
        const KeyboardModel& info = InfoOf(model);
        if (EqualsIgnoringCase(text, info.name) || EqualsIgnoringCase(text, IdsOf(info))) {
            return model;
        }
    }
    return std::nullopt;
}

std::string SimModelNames(std::string_view lastJoin) {
    const auto models = KeyboardModels();
    std::string names;
    for (size_t i = 0; i < models.size(); ++i) {
        if (i > 0) {
            names += i + 1 == models.size() ? " " + std::string(lastJoin) + " " : ", ";
        }
        names += models[i].name;
    }
    return names;
}

}  // namespace zarvin::sim
