// The macro page's plain rules: where recorded actions go and which delays they take, fresh and
// typed macro names, and the cycles and delay fields.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/MacroActionList.h"
#include "model/MacroFieldRules.h"
#include "model/MacroNames.h"

namespace zarvin {
namespace {

constexpr KeyCode kA = 0x01E;
constexpr KeyCode kB = 0x030;
constexpr KeyCode kC = 0x02E;
constexpr uint16_t kDown = MacroAction::kPress;
constexpr uint16_t kUp = MacroAction::kRelease;

MacroAction Act(KeyCode key, uint16_t state, int32_t delay) {
    return MacroAction{.delay = delay, .key = key, .state = state};
}

TEST(MacroActionList, RecordingGivesEachRowTheTimeToTheNextAndTheLastRowZero) {
    struct Case {
        bool keepMeasured;
        std::vector<MacroAction> rows;
    };
    // A pressed 300 ms after Record, released 120 ms later, B pressed 40 ms after that.
    const Case cases[] = {
        {true, {Act(kA, kDown, 120), Act(kA, kUp, 40), Act(kB, kDown, 0)}},
        {false, {Act(kA, kDown, 50), Act(kA, kUp, 50), Act(kB, kDown, 0)}},
    };
    for (const Case& c : cases) {
        MacroActionList list;
        std::optional<size_t> selected;
        selected = list.AddRecorded(selected, kA, kDown, 300, c.keepMeasured);
        selected = list.AddRecorded(selected, kA, kUp, 120, c.keepMeasured);
        selected = list.AddRecorded(selected, kB, kDown, 40, c.keepMeasured);
        EXPECT_EQ(selected, 2u);
        EXPECT_EQ(list.Rows(), c.rows) << "measured " << c.keepMeasured;
    }
}

// The keyboard holds at most 40950 ms; a longer pause is shown and kept as that.
TEST(MacroActionList, ARecordedPauseLongerThanTheKeyboardHoldsIsCut) {
    MacroActionList list;
    list.AddRecorded(std::nullopt, kA, kDown, 0, true);
    list.AddRecorded(0, kA, kUp, 50000, true);
    list.AddRecorded(1, kB, kDown, 40950, true);
    EXPECT_EQ(list.Rows(), (std::vector<MacroAction>{Act(kA, kDown, 40950), Act(kA, kUp, 40950),
                                                     Act(kB, kDown, 0)}));
}

TEST(MacroActionList, ARowRecordedInTheMiddleTakesThePreviousRowsDelay) {
    MacroActionList list;
    list.AddRecorded(std::nullopt, kA, kDown, 0, true);
    list.AddRecorded(0, kA, kUp, 100, true);             // (A↓,100) (A↑,0)
    list.AddRecorded(std::nullopt, kB, kDown, 7, true);  // no selection: to the end
    // C goes after the first row: that row takes the new time, C its old 100.
    EXPECT_EQ(list.AddRecorded(0, kC, kDown, 30, true), 1u);
    EXPECT_EQ(list.Rows(), (std::vector<MacroAction>{Act(kA, kDown, 30), Act(kC, kDown, 100),
                                                     Act(kA, kUp, 7), Act(kB, kDown, 0)}));
}

TEST(MacroActionList, AFullListDropsRecordedActions) {
    MacroActionList list;
    std::optional<size_t> selected;
    for (size_t i = 0; i < MacroActionList::kMaxRows; ++i) {
        selected = list.AddRecorded(selected, kA, kDown, 10, true);
    }
    EXPECT_EQ(list.AddRecorded(selected, kB, kDown, 10, true), std::nullopt);
    EXPECT_EQ(list.Size(), MacroActionList::kMaxRows);
    EXPECT_EQ(list.Rows().back().key, kA);
}

TEST(MacroActionList, LoadTakesOddStatesAsPressesAndClampsTheCount) {
    MacroRecord record;
    record.SetActionCount(0xFFFF);  // more than a record holds
    record.SetAction(0, Act(kA, 7, 20));
    record.SetAction(1, Act(kA, kUp, 0));
    MacroActionList list;
    list.Load(record);
    ASSERT_EQ(list.Size(), MacroActionList::kMaxRows);
    EXPECT_EQ(list.Rows()[0], Act(kA, kDown, 20));
    EXPECT_EQ(list.Rows()[1], Act(kA, kUp, 0));

    list.Clear();
    list.AddRecorded(std::nullopt, kB, kUp, 0, true);
    list.StoreInto(record);
    EXPECT_EQ(record.ActionCount(), 1);
    EXPECT_EQ(record.Action(0), Act(kB, kUp, 0));
}

TEST(MacroActionList, MovesCarryTheActionWithItsDelay) {
    const std::vector<MacroAction> rows = {Act(kA, kDown, 1), Act(kB, kDown, 2), Act(kC, kDown, 3)};
    MacroRecord record;
    record.SetActionCount(3);
    for (size_t i = 0; i < rows.size(); ++i) {
        record.SetAction(i, rows[i]);
    }
    MacroActionList list;
    list.Load(record);
    list.Move(0, 2);
    EXPECT_EQ(list.Rows(), (std::vector<MacroAction>{rows[1], rows[2], rows[0]}));
    list.Move(2, 0);
    EXPECT_EQ(list.Rows(), rows);
    list.Remove(1);
    list.Remove(9);  // no such row
    EXPECT_EQ(list.Rows(), (std::vector<MacroAction>{rows[0], rows[2]}));
}

TEST(MacroNames, FreshNamesSkipEveryNameAnEntryBeginsWithIgnoringCase) {
    MacroNamer namer;
    const std::vector<std::u16string> entries = {u"m1", u"M2"};
    EXPECT_EQ(namer.NextUnused(u"M", entries), u"M3");
    EXPECT_EQ(namer.Counter(), 3);
    // "M1" is taken by "M10": an entry that begins with the name counts.
    MacroNamer second;
    EXPECT_EQ(second.NextUnused(u"M", std::vector<std::u16string>{u"M10"}), u"M2");
    namer.Reset();
    EXPECT_EQ(namer.Next(u"Macro "), u"Macro 1");
}

TEST(MacroNames, TypedNames) {
    struct Case {
        std::u16string typed;
        std::u16string name;
    };
    const std::vector<std::u16string> others = {u"Macro 1", u"Copy"};
    const Case cases[] = {
        {u"Paste", u"Paste"},
        {u"co", u"Macro 1"},  // an entry begins with it: one fresh name, not checked further
        {u"", u"Macro 2"},    // empty: the first fresh name no entry begins with
    };
    for (const Case& c : cases) {
        MacroNamer namer;
        EXPECT_EQ(namer.NameForTyped(c.typed, u"Macro ", others), c.name);
    }
    MacroNamer namer;
    EXPECT_EQ(namer.NameForTyped(std::u16string(300, u'x'), u"M", others).size(), 259u);
}

TEST(MacroFieldRules, CyclesFieldKeepsOneTo255) {
    struct Case {
        const char* text;
        std::optional<std::string_view> corrected;
        uint8_t cycles;
    };
    const Case cases[] = {
        {"300", "255", 255},
        {"0", "1", 1},
        {"", "1", 1},
        {"abc", "1", 1},
        {"-4", "1", 1},
        {"17", std::nullopt, 17},
        {"255", std::nullopt, 255},
        {"99999999999999", "255", 255},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CorrectedCyclesText(c.text), c.corrected) << c.text;
        EXPECT_EQ(CyclesOfText(c.text), c.cycles) << c.text;
    }
}

TEST(MacroFieldRules, EditedDelaysRoundDownAndStopAt40000) {
    struct Case {
        const char* text;
        int32_t delay;
        bool overMaximum;
    };
    const Case cases[] = {
        {"12345", 12340, false},          {"40000", 40000, false}, {"40001", 40000, true},
        {"50000", 40000, true},           {"9", 0, false},         {"", 0, false},
        {"123456789012345", 40000, true},
    };
    for (const Case& c : cases) {
        const EditedDelay edited = EditedDelayOf(c.text);
        EXPECT_EQ(edited.delay, c.delay) << c.text;
        EXPECT_EQ(edited.overMaximum, c.overMaximum) << c.text;
    }
}

}  // namespace
}  // namespace zarvin
