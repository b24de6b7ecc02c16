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

TEST(SimModel, InfoOfEachModel) {
    const SimModelInfo& small = InfoOf(SimModel::Keyboard126);
    EXPECT_EQ(small.vendorId, 0x0C45);
    EXPECT_EQ(small.productId, 0x5004);
    EXPECT_EQ(small.keyCount, 126);
    EXPECT_EQ(small.keyMapLength, 378);
    const SimModelInfo& large = InfoOf(SimModel::Keyboard128);
    EXPECT_EQ(large.vendorId, 0x320F);
    EXPECT_EQ(large.productId, 0x5000);
    EXPECT_EQ(large.keyCount, 128);
    EXPECT_EQ(large.keyMapLength, 512);
    EXPECT_EQ(ParseSimModel(large.name), SimModel::Keyboard128);
}

}  // namespace
}  // namespace zarvin::sim
