#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "model/TextTemplate.h"

namespace zarvin {
namespace {

TEST(TextTemplate, FillsPlacesInOrderOrByNumber) {
    struct Case {
        std::string_view format;
        std::vector<std::string_view> arguments;
        std::string filled;
    };
    const std::vector<Case> cases = {
        {"%s, remapped to %s", {"Caps Lock", "Left Ctrl"}, "Caps Lock, remapped to Left Ctrl"},
        {"%2$s nimmt '%1$s', %2$s", {"x", "speed"}, "speed nimmt 'x', speed"},
        {"100%% of %s", {"it"}, "100% of it"},
        {"%s and %s", {"one"}, "one and "},  // a missing argument is left out
        {"no place", {"one"}, "no place"},
        {"50% off %d", {"a"}, "50% off %d"},  // only %s is filled
        {"ends in %", {}, "ends in %"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FillTemplate(c.format, c.arguments), c.filled) << c.format;
    }
}

}  // namespace
}  // namespace zarvin
