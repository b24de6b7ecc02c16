#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/ColourScheme.h"
#include "store/Settings.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

using Choice = ColourSchemeChoice;
using Scheme = ColourScheme;

TEST(ColourScheme, AForcedSchemeWinsAndTheDesktopDecidesOtherwiseDarkWhenItSaysNothing) {
    const std::optional<uint32_t> noAnswer;
    const struct {
        Choice choice;
        std::optional<uint32_t> desktop;
        Scheme expected;
    } cases[] = {
        {Choice::Desktop, kDesktopPrefersLight, Scheme::Light},
        {Choice::Desktop, kDesktopPrefersDark, Scheme::Dark},
        {Choice::Desktop, kDesktopPrefersNothing, Scheme::Dark},
        {Choice::Desktop, noAnswer, Scheme::Dark},
        {Choice::Desktop, 7u, Scheme::Dark},  // a number the desktop does not define
        {Choice::Dark, kDesktopPrefersLight, Scheme::Dark},
        {Choice::Dark, noAnswer, Scheme::Dark},
        {Choice::Light, kDesktopPrefersDark, Scheme::Light},
        {Choice::Light, noAnswer, Scheme::Light},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseColourScheme(c.choice, c.desktop), c.expected)
            << static_cast<int>(c.choice) << " " << c.desktop.value_or(99);
    }
}

TEST(ColourScheme, TheStoredChoiceIsReadInAnyCaseAndOtherTextFollowsTheDesktopWithAReason) {
    test::TempFolder folder;
    const RegistryFile registry(RegistryFilePath(folder.Path()));
    const Settings settings(registry);
    std::string problem;
    EXPECT_EQ(StoredColourSchemeChoice(settings, problem), Choice::Desktop);
    EXPECT_EQ(problem, "");

    const struct {
        const char* stored;
        Choice expected;
        bool refused;
    } cases[] = {{"light", Choice::Light, false},
                 {"Dark", Choice::Dark, false},
                 {"DESKTOP", Choice::Desktop, false},
                 {"bright", Choice::Desktop, true},
                 {"", Choice::Desktop, true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(settings.WriteProfileString(kColourSchemeValue, c.stored));
        problem.clear();
        EXPECT_EQ(StoredColourSchemeChoice(settings, problem), c.expected) << c.stored;
        EXPECT_EQ(!problem.empty(), c.refused) << c.stored << ": " << problem;
        if (c.refused) {
            EXPECT_NE(problem.find(std::string("\"") + c.stored + "\""), std::string::npos)
                << problem;
        }
        // Reading rewrites nothing: a wrong value stays for the user to correct.
        EXPECT_EQ(settings.ReadProfileString(kColourSchemeValue, "x"), c.stored);
    }
}

}  // namespace
}  // namespace zarvin
