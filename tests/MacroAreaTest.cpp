#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "control/ProfileMacros.h"
#include "control/UserQuestions.h"
#include "model/KeyAssignment.h"
#include "model/LittleEndian.h"
#include "model/MacroArea.h"
#include "store/ProfileStore.h"

namespace zarvin {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr KeyCode kKeyA = 0x01E;
constexpr KeyCode kLeftCtrl = 0x01D;
constexpr KeyCode kWheelDown = 0x162;
constexpr KeyCode kPower = 0x15E;
constexpr KeyCode kSysReq = 0x054;

std::string PrefixText(std::string_view key) {
    return key == "MACRO_NEW_PREFIX" ? "Macro " : "#Error";
}

MacroAction Press(KeyCode key, int32_t delay) {
    return {.delay = delay, .key = key, .state = MacroAction::kPress};
}
MacroAction Release(KeyCode key, int32_t delay) {
    return {.delay = delay, .key = key, .state = MacroAction::kRelease};
}

MacroRecord Macro(uint16_t id, std::u16string_view name, uint8_t cycles,
                  const std::vector<MacroAction>& actions) {
    MacroRecord macro;
    macro.SetId(id);
    macro.SetName(name);
    macro.SetCycles(cycles);
    for (size_t i = 0; i < actions.size(); ++i) {
        macro.SetAction(i, actions[i]);
    }
    macro.SetActionCount(static_cast<uint16_t>(actions.size()));
    return macro;
}

Bytes Encode(const std::vector<MacroRecord>& macros, bool withNames) {
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    Bytes area(withNames ? sizes.withNames : sizes.withoutNames);
    EXPECT_TRUE(EncodeMacroArea(macros, area, withNames));
    return area;
}

std::vector<MacroAction> ActionsOf(const MacroRecord& macro) {
    std::vector<MacroAction> actions;
    for (size_t i = 0; i < macro.ActionCount(); ++i) {
        actions.push_back(macro.Action(i));
    }
    return actions;
}

TEST(MacroArea, EncodesOneNamedMacroByteForByte) {
    const MacroRecord macro = Macro(1, u"ab", 1, {Press(kKeyA, 120)});
    EXPECT_EQ(Encode({macro}, true),
              (Bytes{0xAA, 0x55, 30,   0,    1,    0,    1,    0,    0,    0,
                     0,    0,    0,    0,    0,    0,    0x12, 0x00, 0x01, 0x00,
                     0x01, 0x02, 0x0C, 0xA0, 0x02, 0x04, 0x61, 0x00, 0x62, 0x00}));
    EXPECT_EQ(Encode({macro}, false),
              (Bytes{0xAA, 0x55, 26, 0,    1,    0,    0,    0,    0,    0,    0,    0,    0,
                     0,    0,    0,  0x12, 0x00, 0x01, 0x00, 0x01, 0x00, 0x0C, 0xA0, 0x02, 0x04}));
}

struct ActionCase {
    const char* what;
    MacroAction action;
    std::array<uint8_t, 4> encoded;
    MacroAction decoded;
};

TEST(MacroArea, EncodesAndDecodesEachEventKind) {
    const ActionCase cases[] = {
        {"release of Left Ctrl",
         Release(kLeftCtrl, 0),
         {0x00, 0x20, 0x01, 0x01},
         Release(kLeftCtrl, 0)},
        {"press of wheel down",
         Press(kWheelDown, 30),
         {0x03, 0x90, 0x05, 0xFF},
         Press(kWheelDown, 30)},
        {"press of Power", Press(kPower, 0), {0x00, 0xC0, 0x81, 0x00}, Press(kPower, 0)},
        {"left button", Press(0x171, 10), {0x01, 0x90, 0x01, 0x01}, Press(0x171, 10)},
        {"volume up as a key", Release(0x130, 0), {0x00, 0x20, 0x02, 0xC0}, Release(0x130, 0)},
        {"longest typed delay", Press(kKeyA, 40000), {0xA0, 0xAF, 0x02, 0x04}, Press(kKeyA, 40000)},
        {"delay rounded down", Press(kKeyA, 125), {0x0C, 0xA0, 0x02, 0x04}, Press(kKeyA, 120)},
        {"longest delay the area holds",
         Press(kKeyA, 40950),
         {0xFF, 0xAF, 0x02, 0x04},
         Press(kKeyA, 40950)},
        // Longer pauses, recorded or from a file, are cut to the longest instead of wrapping.
        {"delay just past 12 bits", Press(kKeyA, 40960 + 50), {0xFF, 0xAF, 0x02, 0x04},
         Press(kKeyA, 40950)},
        {"recorded 50 s pause", Release(kKeyA, 50000), {0xFF, 0x2F, 0x02, 0x04},
         Release(kKeyA, 40950)},
        {"negative delay", Press(kKeyA, -20), {0x00, 0xA0, 0x02, 0x04}, Press(kKeyA, 0)},
        {"no device code", Press(kSysReq, 0), {0x00, 0x80, 0x00, 0x00}, Press(0, 0)},
    };
    for (const ActionCase& c : cases) {
        const Bytes area = Encode({Macro(1, u"", 1, {c.action})}, false);
        ASSERT_EQ(area.size(), 26u);
        EXPECT_EQ((std::array{area[22], area[23], area[24], area[25]}), c.encoded) << c.what;
        const auto decoded = DecodeMacroArea(area, 1, PrefixText);
        ASSERT_EQ(decoded.size(), 1u);
        EXPECT_EQ(ActionsOf(decoded[0]), std::vector{c.decoded}) << c.what;
    }
}

std::vector<MacroRecord> ThreeMacros() {
    return {
        Macro(7, u"Copy", 1,
              {Press(kLeftCtrl, 10), Press(0x02E, 20), Release(0x02E, 0), Release(kLeftCtrl, 0)}),
        Macro(2, u"", 255, {}),
        Macro(9, u"Sal\u00e9 \u4e2d", 3, {Press(0x172, 500), Release(0x172, 40950)}),
    };
}

TEST(MacroArea, RoundTripsWithNames) {
    const std::vector<MacroRecord> macros = ThreeMacros();
    const std::vector<MacroRecord> decoded =
        DecodeMacroArea(Encode(macros, true), macros.size(), PrefixText);
    ASSERT_EQ(decoded.size(), 3u);
    const std::u16string names[] = {u"Copy", u"Macro 2", u"Sal\u00e9 \u4e2d"};
    for (size_t i = 0; i < decoded.size(); ++i) {
        EXPECT_EQ(decoded[i].Id(), i + 1);
        EXPECT_EQ(decoded[i].Name(), names[i]);  // an empty name is stored as none
        EXPECT_EQ(decoded[i].Cycles(), macros[i].Cycles());
        EXPECT_EQ(decoded[i].NewFlag(), 0u);
        EXPECT_EQ(ActionsOf(decoded[i]), ActionsOf(macros[i]));
    }
}

TEST(MacroArea, RoundTripsWithoutNamesUnderNumberedNames) {
    const std::vector<MacroRecord> macros = ThreeMacros();
    const Bytes area = Encode(macros, false);
    EXPECT_EQ(LoadLe16(area, 6), 0);
    const std::vector<MacroRecord> decoded = DecodeMacroArea(area, 3, PrefixText);
    ASSERT_EQ(decoded.size(), 3u);
    for (size_t i = 0; i < decoded.size(); ++i) {
        EXPECT_EQ(decoded[i].Id(), i + 1);
        EXPECT_EQ(decoded[i].Name(),
                  u"Macro " + std::u16string(1, static_cast<char16_t>(u'1' + i)));
        EXPECT_EQ(ActionsOf(decoded[i]), ActionsOf(macros[i]));
    }
}

TEST(MacroArea, SizesDecideWhetherNamesFitTheCapacity) {
    const std::vector<MacroRecord> macros = ThreeMacros();
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    EXPECT_EQ(sizes.withoutNames, 16u + 2 * 3 + (4 + 16) + 4 + (4 + 8));
    EXPECT_EQ(sizes.withNames, sizes.withoutNames + 2 * (4 + 6));

    const auto exact = ChooseMacroAreaLayout(sizes, sizes.withNames);
    ASSERT_TRUE(exact);
    EXPECT_TRUE(exact->withNames);
    EXPECT_EQ(exact->length, sizes.withNames);
    const auto tight = ChooseMacroAreaLayout(sizes, sizes.withNames - 1);
    ASSERT_TRUE(tight);
    EXPECT_FALSE(tight->withNames);
    EXPECT_EQ(tight->length, sizes.withoutNames);
    EXPECT_FALSE(ChooseMacroAreaLayout(sizes, sizes.withoutNames - 1));
    EXPECT_FALSE(ChooseMacroAreaLayout(MacroAreaSizes({}), 0));
}

TEST(MacroArea, EncoderRefusesAnAreaTooSmallOrTooLong) {
    const std::vector<MacroRecord> macros = ThreeMacros();
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    Bytes small(sizes.withNames - 1, 0xEE);
    EXPECT_FALSE(EncodeMacroArea(macros, small, true));
    EXPECT_EQ(small, Bytes(sizes.withNames - 1, 0xEE));
    Bytes huge(0x10000);
    EXPECT_FALSE(EncodeMacroArea(macros, huge, false));
    // Room to spare: the header gives the area's size and the rest is zero.
    Bytes roomy(sizes.withNames + 8, 0xEE);
    ASSERT_TRUE(EncodeMacroArea(macros, roomy, true));
    EXPECT_EQ(LoadLe16(roomy, 2), roomy.size());
    EXPECT_EQ(Bytes(roomy.end() - 8, roomy.end()), Bytes(8, 0));
}

TEST(MacroArea, StoredActionCountBeyondTheRecordCountsAsFull) {
    MacroRecord macro = Macro(1, u"x", 1, {});
    macro.SetActionCount(0xFFFF);
    EXPECT_EQ(MacroAreaSizes(std::vector{macro}).withoutNames, 16u + 2 + 4 + 4 * 4000);
}

// Writes a 16-bit number into an area under test.
void Put16(Bytes& area, size_t at, uint16_t value) {
    StoreLe16(area, at, value);
}

struct HostileCase {
    const char* what;
    Bytes area;
    size_t count;
    size_t macros;          // decoded
    size_t actionsOfFirst;  // decoded actions of macro 1
    std::u16string nameOfFirst;
};

// Each area is exactly as long as its vector, so a read past it shows under the sanitizers.
std::vector<HostileCase> HostileCases() {
    const Bytes good = Encode(ThreeMacros(), true);  // first block at 22: 4 actions, "Copy"
    std::vector<HostileCase> cases;
    {
        Bytes area = good;
        Put16(area, 16, static_cast<uint16_t>(area.size()));
        cases.push_back({"offset at the end", area, 3, 3, 0, u"Macro 1"});
        Put16(area, 16, 0xFFFF);
        cases.push_back({"offset far outside", area, 3, 3, 0, u"Macro 1"});
        Put16(area, 16, static_cast<uint16_t>(area.size() - 3));
        cases.push_back({"block header cut", area, 3, 3, 0, u"Macro 1"});
    }
    {
        Bytes area = good;
        Put16(area, 22, 0xFFFF);  // action count running past the end
        const size_t inside = (area.size() - 22 - 4) / 4;
        cases.push_back({"action count past the end", area, 3, 3, inside, u"Macro 1"});
    }
    {
        Bytes area(good.begin(), good.begin() + 22 + 4 + 16 + 3);  // name cut after one unit
        cases.push_back({"name cut", area, 1, 1, 4, u"C"});
        area[25] = 249;
        cases.push_back({"name length past the end", area, 1, 1, 4, u"C"});
    }
    {
        Bytes area(good.begin(), good.begin() + 19);  // the table holds one whole offset
        cases.push_back({"count past the offset table", area, 3, 1, 0, u"Macro 1"});
    }
    cases.push_back({"count beyond 100", Bytes(16 + 2 * 300, 0), 300, 100, 0, u"Macro 1"});
    cases.push_back({"header only", Bytes(good.begin(), good.begin() + 16), 3, 0, 0, u""});
    cases.push_back({"shorter than a header", Bytes(5, 0xAA), 3, 0, 0, u""});
    cases.push_back({"empty", Bytes(), 3, 0, 0, u""});
    return cases;
}

TEST(MacroArea, HostileAreasDecodeOnlyWhatLiesInside) {
    for (const HostileCase& c : HostileCases()) {
        const std::vector<MacroRecord> decoded = DecodeMacroArea(c.area, c.count, PrefixText);
        ASSERT_EQ(decoded.size(), c.macros) << c.what;
        if (decoded.empty()) {
            continue;
        }
        EXPECT_EQ(decoded[0].ActionCount(), c.actionsOfFirst) << c.what;
        EXPECT_EQ(decoded[0].Name(), c.nameOfFirst) << c.what;
        EXPECT_EQ(decoded.back().Id(), decoded.size()) << c.what;
    }
}

TEST(NewMacro, TakesTheSmallestFreeId) {
    const std::vector<MacroRecord> list = {Macro(1, u"", 1, {}), Macro(2, u"", 1, {}),
                                           Macro(4, u"", 1, {})};
    const auto macro = NewMacro(std::u16string(300, u'n'), list);
    ASSERT_TRUE(macro);
    EXPECT_EQ(macro->Id(), 3);
    EXPECT_EQ(macro->Name(), std::u16string(249, u'n'));
    EXPECT_EQ(macro->Cycles(), 1);
    EXPECT_EQ(macro->NewFlag(), 1u);
    EXPECT_EQ(macro->ActionCount(), 0);

    std::vector<MacroRecord> full;
    for (uint16_t id = 100; id >= 1; --id) {
        full.push_back(Macro(id, u"", 1, {}));
    }
    EXPECT_FALSE(NewMacro(u"x", full));
    full.erase(full.begin());  // id 100
    EXPECT_EQ(NewMacro(u"x", full)->Id(), 100);
}

class ScriptedQuestions : public UserQuestions {
public:
    explicit ScriptedQuestions(bool answer) : answer_(answer) {}
    bool AskYesNo(std::string_view textKey) override {
        asked.emplace_back(textKey);
        return answer_;
    }
    std::vector<std::string> asked;

private:
    bool answer_;
};

KeyAssignment PlayMacro(int32_t id) {
    return KeyAssignment{.type = static_cast<uint16_t>(AssignmentType::PlayMacro), .value = id};
}

class MacroListFixture : public ::testing::Test {
protected:
    std::recursive_mutex lock_;
    WorkingStore working_{lock_};
};

TEST_F(MacroListFixture, DeletingAMacroInUseAsksFirst) {
    const MacroRecord used = Macro(2, u"", 1, {});
    ASSERT_TRUE(working_.SetAssignment(KeyRecordNumber(2, 0x03A), PlayMacro(2)));
    for (const bool answer : {true, false}) {
        ScriptedQuestions questions(answer);
        EXPECT_EQ(ConfirmMacroDelete(used, working_, questions), answer);
        EXPECT_EQ(questions.asked, std::vector<std::string>{"MACRO_DELETE_CONFIRM_OF_KEYS"});
    }

    ScriptedQuestions no(false);
    MacroRecord created = used;
    created.SetNewFlag(1);
    EXPECT_TRUE(ConfirmMacroDelete(created, working_, no));
    EXPECT_TRUE(ConfirmMacroDelete(Macro(3, u"", 1, {}), working_, no));
    EXPECT_TRUE(no.asked.empty());
}

// Every record is searched: the first and last G key of each profile, table 3 included.
TEST_F(MacroListFixture, AMacroThatOnlyOneKeyPlaysAsksFirstWhicheverKeyThatIs) {
    for (const size_t record : {KeyRecordNumber(0, kFirstGKeySlot), KeyRecordNumber(0, 0),
                                KeyRecordNumber(1, kFirstGKeySlot), KeyRecordNumber(2, 273),
                                KeyRecordNumber(3, kKeyTableRecords - 1)}) {
        WorkingStore working(lock_);
        ASSERT_TRUE(working.SetAssignment(record, PlayMacro(5)));
        ScriptedQuestions no(false);
        EXPECT_FALSE(ConfirmMacroDelete(Macro(5, u"", 1, {}), working, no)) << record;
        EXPECT_EQ(no.asked.size(), 1u) << record;
    }
}

TEST_F(MacroListFixture, CommitRepairsPlayMacroAssignments) {
    ASSERT_TRUE(
        working_.SetMacros({Macro(1, u"", 1, {}), Macro(2, u"", 1, {}), Macro(3, u"", 1, {})}));
    ASSERT_TRUE(working_.SetAssignment(KeyRecordNumber(0, 0x010), PlayMacro(2)));
    ASSERT_TRUE(working_.SetAssignment(KeyRecordNumber(3, 0x011), PlayMacro(2)));
    ASSERT_TRUE(working_.SetAssignment(KeyRecordNumber(1, 0x012), PlayMacro(3)));
    ASSERT_TRUE(working_.SetAssignment(KeyRecordNumber(1, 0x013), PlayMacro(1)));
    ASSERT_TRUE(working_.SetAssignment(KeyRecordNumber(2, 0x014), PlayMacro(0)));
    KeyAssignment marked = PlayMacro(1);
    marked.mark = 7;
    ASSERT_TRUE(working_.SetAssignment(KeyRecordNumber(2, 0x015), marked));

    // Macro 2 is deleted; macro 3 too, and its id went to a macro made in the open editor.
    MacroRecord reused = Macro(3, u"new", 1, {});
    reused.SetNewFlag(1);
    const std::vector<MacroRecord> edited = {Macro(1, u"", 1, {}), reused};
    const MacroCommit commit = CommitMacroList(working_, edited);

    ASSERT_TRUE(commit.committed);
    const std::vector<size_t> defaulted = {KeyRecordNumber(0, 0x010), KeyRecordNumber(1, 0x012),
                                           KeyRecordNumber(3, 0x011)};
    EXPECT_EQ(commit.defaultedRecords, defaulted);
    for (const size_t record : defaulted) {
        EXPECT_EQ(working_.Assignment(record), KeyAssignment{}) << record;
    }
    EXPECT_EQ(working_.Assignment(KeyRecordNumber(1, 0x013)), PlayMacro(1));
    EXPECT_EQ(working_.Assignment(KeyRecordNumber(2, 0x014)), PlayMacro(1));
    EXPECT_EQ(working_.Assignment(KeyRecordNumber(2, 0x015)), marked);

    const std::lock_guard guard(working_.Lock());
    ASSERT_EQ(working_.Macros().size(), 2u);
    EXPECT_EQ(working_.Macros()[1].Name(), u"new");
    EXPECT_EQ(working_.Macros()[1].NewFlag(), 0u);
}

TEST_F(MacroListFixture, CommitOfMoreThanAHundredChangesNothing) {
    ASSERT_TRUE(working_.SetMacros({Macro(1, u"", 1, {})}));
    ASSERT_TRUE(working_.SetAssignment(5, PlayMacro(1)));
    std::vector<MacroRecord> edited;
    for (uint16_t id = 2; id <= 102; ++id) {
        edited.push_back(Macro(id, u"", 1, {}));
    }
    EXPECT_FALSE(CommitMacroList(working_, edited).committed);
    EXPECT_EQ(working_.Assignment(5), PlayMacro(1));
    EXPECT_EQ(working_.MacroCount(), 1);
}

}  // namespace
}  // namespace zarvin
