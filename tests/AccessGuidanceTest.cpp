#include <gtest/gtest.h>

#include <string>

#include "platform/AccessGuidance.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

TEST(AccessGuidance, NamesTheNodeTheRuleAndHowToApplyIt) {
    test::TempFolder folder;
    const auto installedRule = folder.Write("70-zarvin.rules", "# rule\n");
    const auto missingRule = folder / "rules.d/70-zarvin.rules";
    for (const auto& rule : {installedRule, missingRule}) {
        const std::string text = AccessGuidance("/dev/hidraw7", rule);
        EXPECT_NE(text.find("/dev/hidraw7"), std::string::npos) << text;
        EXPECT_NE(text.find(rule.string()), std::string::npos) << text;
        EXPECT_NE(text.find("udevadm control --reload"), std::string::npos) << text;
        EXPECT_NE(text.find("udevadm trigger"), std::string::npos) << text;
        EXPECT_NE(text.find("plug it in again"), std::string::npos) << text;
    }
    // A missing rule is said to be missing; an installed one is not.
    EXPECT_NE(AccessGuidance("/dev/hidraw7", missingRule).find("not installed"), std::string::npos);
    EXPECT_EQ(AccessGuidance("/dev/hidraw7", installedRule).find("not installed"),
              std::string::npos);
}

TEST(AccessGuidance, PointsAtTheRuleThisBuildInstalls) {
    EXPECT_EQ(InstalledUdevRuleFile().filename(), "70-zarvin.rules");
    EXPECT_TRUE(InstalledUdevRuleFile().is_absolute());
}

}  // namespace
}  // namespace zarvin
