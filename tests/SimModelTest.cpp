#include <gtest/gtest.h>

#include "sim/SimModel.h"

namespace zarvin::sim {
namespace {

TEST(SimModel, ParsesNamesAndIdsIgnoringCase) {
    const std::pair<const char*, std::optional<SimModel>> cases[] = {
        {"126", SimModel::Keyboard126},
        {"128", SimModel::Keyboard128},
        {"0c45:5004", SimModel::Keyboard126},
        {"0C45:5004", SimModel::Keyboard126},
        {"320F:5000", SimModel::Keyboard128},
        {"320f:5000", SimModel::Keyboard128},
        {"", std::nullopt},
        {"127", std::nullopt},
        {"0c45:5000", std::nullopt},
        {"126 ", std::nullopt},
    };
    for (const auto& [text, model] : cases) {
        EXPECT_EQ(ParseSimModel(text), model) << '"' << text << '"';
    }
}

// The two models code and tests name are the table's entries of those names.
TEST(SimModel, NamedModelsAreTheTablesModelsOfThoseNames) {
    EXPECT_EQ(InfoOf(SimModel::Keyboard126).name, "126");
    EXPECT_EQ(InfoOf(SimModel::Keyboard128).name, "128");
    EXPECT_EQ(AllSimModels().size(), KeyboardModels().size());
}

}  // namespace
}  // namespace zarvin::sim
