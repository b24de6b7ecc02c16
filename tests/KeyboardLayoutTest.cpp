#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/KeyCodes.h"
#include "model/KeyNavigation.h"
#include "model/KeyboardLayout.h"

namespace zarvin {
namespace {

TEST(KeyboardLayout, HoldsTheKeysThenTheGKeysThenFn) {
    ASSERT_EQ(KeyButtons().size(), 116u);
    ASSERT_EQ(KeyViewKeys().size(), 106u);
    ASSERT_EQ(GKeys().size(), 9u);
    for (const KeyButton& key : KeyViewKeys()) {
        EXPECT_EQ(key.kind, KeyButtonKind::Key) << key.controlId;
    }
    for (const KeyButton& g : GKeys()) {
        EXPECT_EQ(g.kind, KeyButtonKind::GKey) << g.controlId;
    }
    EXPECT_EQ(FnKey().kind, KeyButtonKind::Fn);
    for (const KeyButton& button : KeyButtons()) {
        EXPECT_STRNE(button.legend, "") << button.controlId;
    }
    EXPECT_EQ(&FnKey(), &KeyButtons().back());
}

TEST(KeyboardLayout, ControlIdsSkinEntriesKeyCodesAndKeyColoursAreUnique) {
    std::set<int> controlIds;
    std::set<std::string> entries;
    for (const KeyButton& button : KeyButtons()) {
        EXPECT_TRUE(controlIds.insert(button.controlId).second) << button.controlId;
        EXPECT_TRUE(entries.insert(SkinEntryOf(button)).second) << SkinEntryOf(button);
        EXPECT_EQ(FindKeyButton(button.controlId), &button);
    }
    std::set<uint16_t> keyCodes;
    std::set<int> colours;
    for (const KeyButton& key : KeyViewKeys()) {
        EXPECT_TRUE(keyCodes.insert(key.keyCode).second) << key.controlId;
        EXPECT_TRUE(colours.insert(key.colourIndex).second) << key.controlId;
    }
    EXPECT_EQ(FindKeyButton(1), nullptr);
}

struct KeyCase {
    size_t pick;
    int controlId;
    uint16_t keyCode;
    int colourIndex;
    const char* entry;
};

TEST(KeyboardLayout, KeysMatchTheKeyViewTable) {
    const KeyCase cases[] = {
        {0, 1058, 0x01E, 64, "KEY_01E"},    // A
        {36, 1070, 0x01C, 76, "KEY_01C"},   // Enter
        {63, 1091, 0x137, 14, "KEY_0B7"},   // Print Screen
        {64, 1093, 0x045, 16, "KEY_045"},   // Pause
        {71, 1103, 0x148, 99, "KEY_0C8"},   // Up
        {79, 1089, 0x11D, 113, "KEY_09D"},  // Right Ctrl
        {96, 1104, 0x145, 38, "KEY_0C5"},   // Num Lock
        {97, 1118, 0x11C, 104, "KEY_09C"},  // Num Enter
        {105, 1200, 0x073, 96, "KEY_073"},  // International 1
    };
    for (const KeyCase& c : cases) {
        const KeyButton& key = KeyViewKeys()[c.pick];
        EXPECT_EQ(key.controlId, c.controlId) << c.pick;
        EXPECT_EQ(key.keyCode, c.keyCode) << c.pick;
        EXPECT_EQ(key.colourIndex, c.colourIndex) << c.pick;
        EXPECT_EQ(SkinEntryOf(key), c.entry) << c.pick;
    }
}

TEST(KeyboardLayout, GKeysAndFnHaveTheirControlsColoursAndEntries) {
    const int controls[] = {1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};
    for (int n = 1; n <= 9; ++n) {
        const KeyButton& g = GKeys()[static_cast<size_t>(n - 1)];
        EXPECT_EQ(g.controlId, controls[n - 1]);
        EXPECT_EQ(g.colourIndex, 125);
        EXPECT_EQ(SlotOfKeyCode(g.keyCode), 255 + n);
        EXPECT_EQ(SkinEntryOf(g), "FUNC_G" + std::to_string(n));
    }
    EXPECT_EQ(FnKey().controlId, 1174);
    EXPECT_EQ(FnKey().colourIndex, 110);
    EXPECT_EQ(SkinEntryOf(FnKey()), "KEY_FN");
}

bool Overlap(const KeyRect& a, const KeyRect& b) {
    constexpr double kEpsilon = 1e-9;
    return !a.Empty() && !b.Empty() && a.x + kEpsilon < b.Right() && b.x + kEpsilon < a.Right() &&
           a.y + kEpsilon < b.Bottom() && b.y + kEpsilon < a.Bottom();
}

bool OnQuarterGrid(double value) {
    return std::fabs(value * 4 - std::round(value * 4)) < 1e-9;
}

TEST(KeyboardLayout, KeysLieOnTheQuarterGridInsideTheBoundsWithoutOverlapping) {
    const KeyRect bounds = KeyboardBounds();
    EXPECT_DOUBLE_EQ(bounds.width, 24);  // the G column, the main block, navigation, keypad
    EXPECT_DOUBLE_EQ(bounds.height, 7.75);
    const auto buttons = KeyButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        const KeyButton& a = buttons[i];
        for (const KeyRect& part : {a.place, a.flange}) {
            if (part.Empty()) {
                continue;
            }
            EXPECT_TRUE(OnQuarterGrid(part.x) && OnQuarterGrid(part.y) &&
                        OnQuarterGrid(part.width) && OnQuarterGrid(part.height))
                << a.controlId;
            EXPECT_TRUE(part.x >= 0 && part.y >= 0 && part.Right() <= bounds.width &&
                        part.Bottom() <= bounds.height)
                << a.controlId;
        }
        EXPECT_FALSE(Overlap(a.place, a.flange)) << a.controlId;
        for (size_t j = i + 1; j < buttons.size(); ++j) {
            const KeyButton& b = buttons[j];
            for (const KeyRect& partA : {a.place, a.flange}) {
                for (const KeyRect& partB : {b.place, b.flange}) {
                    EXPECT_FALSE(Overlap(partA, partB)) << a.controlId << " and " << b.controlId;
                }
            }
        }
    }
}

// Each row of the main block is 15 units wide with no holes: the sum of the widths of the keys
// that start in it (the ISO Enter counts in the row of its flange and its stem).
TEST(KeyboardLayout, MainBlockRowsAreFullWithoutGaps) {
    const double rows[] = {2.75, 3.75, 4.75, 5.75, 6.75};
    for (double row : rows) {
        double covered = 0;
        for (const KeyButton& key : KeyButtons()) {
            for (const KeyRect& part : {key.place, key.flange}) {
                const bool inRow = !part.Empty() && part.y <= row && row < part.Bottom();
                if (inRow && part.x >= 1.5 && part.Right() <= 16.5) {
                    covered += part.width;
                }
            }
        }
        EXPECT_DOUBLE_EQ(covered, 15) << "row at " << row;
    }
}

const KeyButton& KeyWithLegend(std::string_view legend) {
    for (const KeyButton& button : KeyButtons()) {
        if (legend == button.legend) {
            return button;
        }
    }
    ADD_FAILURE() << "no key " << legend;
    return KeyButtons().front();
}

TEST(KeyNavigation, ArrowsMoveToTheNeighbourOnTheSameRowOrColumn) {
    std::vector<KeyRect> places;
    for (const KeyButton& button : KeyButtons()) {
        places.push_back(button.place);
    }
    const auto indexOf = [](const KeyButton& button) {
        return static_cast<size_t>(&button - KeyButtons().data());
    };
    const struct {
        const char* from;
        KeyDirection direction;
        const char* to;  // nullptr: the edge of the keyboard
    } cases[] = {
        {"Caps Lock", KeyDirection::Right, "A"}, {"A", KeyDirection::Left, "Caps Lock"},
        {"A", KeyDirection::Up, "Q"},            {"Caps Lock", KeyDirection::Up, "Tab"},
        {"Tab", KeyDirection::Down, "Caps Lock"}, {"Esc", KeyDirection::Up, "G6"},
        {"G1", KeyDirection::Left, nullptr},
    };
    for (const auto& move : cases) {
        const std::optional<size_t> reached =
            NearestKeyInDirection(places, indexOf(KeyWithLegend(move.from)), move.direction);
        if (move.to == nullptr) {
            EXPECT_FALSE(reached) << move.from;
        } else {
            ASSERT_TRUE(reached) << move.from << " towards " << move.to;
            EXPECT_STREQ(KeyButtons()[*reached].legend, move.to) << move.from;
        }
    }
    // A key out of sight is passed over.
    places[indexOf(KeyWithLegend("A"))] = KeyRect{};
    const std::optional<size_t> overA =
        NearestKeyInDirection(places, indexOf(KeyWithLegend("Caps Lock")), KeyDirection::Right);
    ASSERT_TRUE(overA);
    EXPECT_STREQ(KeyButtons()[*overA].legend, "S");
}

}  // namespace
}  // namespace zarvin
