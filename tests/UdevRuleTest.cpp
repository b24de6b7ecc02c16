// The udev rule the build writes: one match for the USB ids of each model of the table, and
// nothing left of its template.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "keyboard/KeyboardModel.h"

namespace zarvin {
namespace {

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(UdevRule, MatchesTheIdsOfEveryModelOfTheTable) {
    std::ifstream in(ZARVIN_BUILT_UDEV_RULE, std::ios::binary);
    ASSERT_TRUE(in) << ZARVIN_BUILT_UDEV_RULE;
    const std::string rule{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const KeyboardModel& model : KeyboardModels()) {
        char match[80];
        std::snprintf(match, sizeof match,
                      "\nKERNELS==\"0003:%04X:%04X.*\", GOTO=\"zarvin_keyboard\"\n", model.vendorId,
                      model.productId);
        EXPECT_EQ(Count(rule, match), 1u) << match;
    }
    EXPECT_EQ(Count(rule, "KERNELS=="), KeyboardModels().size());
    EXPECT_NE(rule.find("(USB ids\n# " + SupportedIdsText("and") + ")"), std::string::npos);
    EXPECT_EQ(rule.find('@'), std::string::npos) << "a placeholder is left";
}

}  // namespace
}  // namespace zarvin
