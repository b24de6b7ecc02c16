#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimFaultList.h"

namespace zarvin::sim {
namespace {

using namespace std::chrono_literals;

TEST(SimFaultList, ReadsEveryKindAndSeveralAtOnce) {
    const std::pair<const char*, std::vector<SimFault>> cases[] = {
        {"silent@1", {{SimFaultKind::Silent, 1}}},
        {"lose@12", {{SimFaultKind::Lose, 12}}},
        {"refuse-fe@3,refuse-ff@4",
         {{SimFaultKind::RefuseFE, 3}, {SimFaultKind::RefuseFF, 4}}},
        {"fail-write@2,unplug@9", {{SimFaultKind::FailWrite, 2}, {SimFaultKind::Unplug, 9}}},
        {"delay=20@1,lose@3", {{SimFaultKind::Delay, 1, 20ms}, {SimFaultKind::Lose, 3}}},
        {"delay=0@7", {{SimFaultKind::Delay, 7, 0ms}}},
    };
    for (const auto& [list, expected] : cases) {
        std::string error;
        const auto faults = ParseSimFaults(list, error);
        ASSERT_TRUE(faults.has_value()) << list << ": " << error;
        EXPECT_EQ(*faults, expected) << list;
    }
}

TEST(SimFaultList, RefusesWhatItDoesNotUnderstandAndSaysWhich) {
    for (const char* list : {"", "lose", "lose@", "lose@0", "lose@-1", "lose@x", "lose@3x",
                             "drop@3", "delay@3", "delay=@3", "delay=x@3", "lose=5@3",
                             "lose@3,", ",lose@3", "lose@3,,silent@4", "LOSE@3",
                             "lose@99999999999"}) {
        std::string error;
        EXPECT_FALSE(ParseSimFaults(list, error).has_value()) << list;
        EXPECT_NE(error, "") << list;
    }
    std::string error;
    ASSERT_FALSE(ParseSimFaults("lose@3,drop@4", error).has_value());
    EXPECT_NE(error.find("drop@4"), std::string::npos) << error;
}

}  // namespace
}  // namespace zarvin::sim
