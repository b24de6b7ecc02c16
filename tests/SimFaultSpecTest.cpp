#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimFaultSpec.h"

namespace zarvin::sim {
namespace {

using namespace std::chrono_literals;

TEST(SimFaultSpec, ReadsEveryKindAndSeveralAtOnce) {
    const std::pair<const char*, std::vector<SimFault>> cases[] = {
        {"silent@1", {{SimFaultKind::Silent, 1}}},
        {"lose@12", {{SimFaultKind::Lose, 12}}},
        {"refuse-fe@3,refuse-ff@4",
         {{SimFaultKind::RefuseFE, 3}, {SimFaultKind::RefuseFF, 4}}},
        {"fail-write@2,unplug@9", {{SimFaultKind::FailWrite, 2}, {SimFaultKind::Unplug, 9}}},
        {"delay=20@1,lose@3", {{SimFaultKind::Delay, 1, 20ms}, {SimFaultKind::Lose, 3}}},
        {"delay=0@7", {{SimFaultKind::Delay, 7, 0ms}}},
    };
    for (const auto& [spec, expected] : cases) {
        std::string error;
        const auto faults = ParseSimFaults(spec, error);
        ASSERT_TRUE(faults.has_value()) << spec << ": " << error;
        EXPECT_EQ(*faults, expected) << spec;
    }
}

TEST(SimFaultSpec, RefusesWhatItDoesNotUnderstandAndSaysWhich) {
    for (const char* spec : {"", "lose", "lose@", "lose@0", "lose@-1", "lose@x", "lose@3x",
                             "drop@3", "delay@3", "delay=@3", "delay=x@3", "lose=5@3",
                             "lose@3,", ",lose@3", "lose@3,,silent@4", "LOSE@3",
                             "lose@99999999999"}) {
        std::string error;
        EXPECT_FALSE(ParseSimFaults(spec, error).has_value()) << spec;
        EXPECT_NE(error, "") << spec;
    }
    std::string error;
    ASSERT_FALSE(ParseSimFaults("lose@3,drop@4", error).has_value());
    EXPECT_NE(error.find("drop@4"), std::string::npos) << error;
}

}  // namespace
}  // namespace zarvin::sim
