#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "model/EditorPlacement.h"
#include "model/KeyAssignment.h"
#include "model/KeyCaptureRule.h"
#include "model/KeyEditRecord.h"

namespace zarvin {
namespace {

constexpr uint16_t Type(AssignmentType type) { return static_cast<uint16_t>(type); }

constexpr size_t kSlotA = 0x1E;
constexpr size_t kSlotG9 = 264;
const KeyAssignment kPrevious{.type = Type(AssignmentType::Media), .gId = 7, .value = 3,
                              .mark = 0x11, .reserved = 0x22};

struct RecordCase {
    std::string name;
    KeyEdit edit;
    uint16_t type;
    uint16_t gId;
    int32_t value;
};

class KeyEditRecordTest : public testing::TestWithParam<RecordCase> {};

TEST_P(KeyEditRecordTest, BuildsTheRecordAndKeepsMarkAndReserved) {
    const RecordCase& c = GetParam();
    const KeyAssignment record = BuildKeyEditRecord(c.edit, kPrevious);
    EXPECT_EQ(record.type, c.type);
    EXPECT_EQ(record.gId, c.gId);
    EXPECT_EQ(record.value, c.value);
    EXPECT_EQ(record.mark, kPrevious.mark);
    EXPECT_EQ(record.reserved, kPrevious.reserved);
}

KeyEdit Edit(size_t slot, AssignmentType type) {
    return KeyEdit{.targetSlot = slot, .pageType = Type(type)};
}

KeyEdit Captured(size_t slot, KeyCode key) {
    KeyEdit edit = Edit(slot, AssignmentType::Key);
    edit.capturedKey = key;
    return edit;
}

KeyEdit MouseEntry(int entry) {
    KeyEdit edit = Captured(kSlotA, 0x030);
    edit.source = KeySource::Mouse;
    edit.mouseEntry = entry;
    return edit;
}

KeyEdit Macro(size_t slot, bool empty, int32_t id, int cycles) {
    KeyEdit edit = Edit(slot, AssignmentType::PlayMacro);
    edit.macroListEmpty = empty;
    edit.currentMacroId = id;
    edit.cycles = cycles;
    return edit;
}

KeyEdit Media(int entry) {
    KeyEdit edit = Edit(kSlotA, AssignmentType::Media);
    edit.mediaEntry = entry;
    return edit;
}

KeyEdit Function(int entry) {
    KeyEdit edit = Edit(kSlotA, AssignmentType::Function);
    edit.functionEntry = entry;
    return edit;
}

const uint16_t kKey = Type(AssignmentType::Key);
const uint16_t kDefault = Type(AssignmentType::Default);

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyEditRecordTest,
    testing::Values(
        RecordCase{"AnotherKey", Captured(kSlotA, 0x030), kKey, 0, 0x030},
        RecordCase{"KeyGivenToItself", Captured(kSlotA, 0x01E), kDefault, 0, 0},
        // Up (0x148) sits on slot 0xC8: giving it to itself is recognised by slot.
        RecordCase{"ExtendedKeyGivenToItself", Captured(0xC8, 0x148), kDefault, 0, 0},
        RecordCase{"NoKeyCaptured", Captured(kSlotA, 0), kDefault, 0, 0},
        RecordCase{"KeyOnAGKey", Captured(256, 0x01E), kKey, 0x0301, 0x01E},
        RecordCase{"SecondBankGKey", Captured(273, 0x01E), kKey, 0x1309, 0x01E},
        RecordCase{"MouseLeft", MouseEntry(0), kKey, 0, 0x171},
        RecordCase{"WheelUp", MouseEntry(3), kKey, 0, 0x161},
        RecordCase{"WheelDown", MouseEntry(4), kKey, 0, 0x162},
        RecordCase{"MouseEntryOutside", MouseEntry(5), kDefault, 0, 0},
        RecordCase{"MacroCyclesInGId", Macro(kSlotG9, false, 12, 5), Type(AssignmentType::PlayMacro),
                   5, 12},
        RecordCase{"MacroOnAKey", Macro(kSlotA, false, 3, 255), Type(AssignmentType::PlayMacro),
                   255, 3},
        // No macro chosen: the key keeps what it had (KeyEditRefusal says why).
        RecordCase{"NoMacroCurrent", Macro(kSlotA, false, 0, 1), kPrevious.type, kPrevious.gId,
                   kPrevious.value},
        RecordCase{"EmptyMacroList", Macro(kSlotG9, true, 0, 4), kPrevious.type, kPrevious.gId,
                   kPrevious.value},
        RecordCase{"Media", Media(17), Type(AssignmentType::Media), 0, 17},
        RecordCase{"Function", Function(10), Type(AssignmentType::Function), 0, 10},
        RecordCase{"LaunchKeepsItsType", Edit(kSlotA, AssignmentType::LaunchProgram),
                   Type(AssignmentType::LaunchProgram), 0, 0},
        RecordCase{"UnknownTypeKept", KeyEdit{.targetSlot = kSlotA, .pageType = 9}, 9, 0, 0}),
    [](const testing::TestParamInfo<RecordCase>& param) { return param.param.name; });

TEST(KeyEditRefusalTest, OnlyTheMacroPageWithoutAChosenMacroIsRefused) {
    EXPECT_EQ(KeyEditRefusal(Macro(kSlotA, false, 0, 1)), "KEY_NO_MACRO_CHOSEN");
    EXPECT_EQ(KeyEditRefusal(Macro(kSlotA, true, 0, 1)), "KEY_NO_MACRO_CHOSEN");
    EXPECT_EQ(KeyEditRefusal(Macro(kSlotA, false, 3, 1)), std::nullopt);
    EXPECT_EQ(KeyEditRefusal(Captured(kSlotA, 0)), std::nullopt);
    EXPECT_EQ(KeyEditRefusal(Media(2)), std::nullopt);
}

TEST(MouseChoiceTest, EntriesOfTheMouseDropDown) {
    EXPECT_EQ(MouseChoiceOf(0x171), 0);
    EXPECT_EQ(MouseChoiceOf(0x173), 2);
    EXPECT_EQ(MouseChoiceOf(0x162), 4);
    EXPECT_EQ(MouseChoiceOf(0x01E), std::nullopt);
    EXPECT_EQ(MouseChoiceOf(0), std::nullopt);
}

constexpr uint32_t kRelease = 1U << 31;
constexpr uint32_t kRepeat = 1U << 30;
constexpr uint32_t kExtended = 1U << 24;

uint32_t Word(uint8_t makeCode, uint32_t flags = 0) {
    return (static_cast<uint32_t>(makeCode) << 16) | flags;
}

struct CaptureCase {
    std::string name;
    CapturedKeyEvent event;
    bool mouse;
    KeyCaptureDecision::Action action;
    KeyCode key;
};

class KeyCaptureTest : public testing::TestWithParam<CaptureCase> {};

TEST_P(KeyCaptureTest, Decides) {
    const CaptureCase& c = GetParam();
    const KeyCaptureDecision decision = DecideKeyCapture(c.event, c.mouse);
    EXPECT_EQ(decision.action, c.action);
    EXPECT_EQ(decision.key, c.key);
}

using Action = KeyCaptureDecision::Action;

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyCaptureTest,
    testing::Values(
        CaptureCase{"PressOfA", {0x41, Word(0x1E)}, false, Action::Capture, 0x01E},
        CaptureCase{"ReleaseOfA", {0x41, Word(0x1E, kRelease)}, false, Action::Swallow, 0},
        CaptureCase{"RepeatOfA", {0x41, Word(0x1E, kRepeat)}, false, Action::Swallow, 0},
        CaptureCase{"AWithMouseChosen", {0x41, Word(0x1E)}, true, Action::Swallow, 0},
        CaptureCase{"ExtendedKey", {0x26, Word(0x48, kExtended)}, false, Action::Capture, 0x148},
        CaptureCase{"PrintScreenRelease", {0x2C, Word(0x37, kExtended | kRelease)}, false,
                    Action::Capture, 0x137},
        CaptureCase{"PrintScreenWithMouse", {0x2C, Word(0x37, kExtended)}, true, Action::Swallow,
                    0},
        CaptureCase{"VolumeUp", {0xAF, Word(0x30, kExtended)}, false, Action::PassOn, 0},
        CaptureCase{"MuteWithMouse", {0xAD, Word(0x20, kExtended)}, true, Action::PassOn, 0},
        CaptureCase{"NoKeyCode", {0, 0}, false, Action::PassOn, 0},
        CaptureCase{"LeftWindows", {0x5B, Word(0x5B, kExtended)}, false, Action::Capture, 0x15B},
        CaptureCase{"RightWindowsWithMouse", {0x5C, Word(0x5C, kExtended)}, true, Action::Capture,
                    0x15C},
        CaptureCase{"MenuRelease", {0x5D, Word(0x5D, kExtended | kRelease)}, false,
                    Action::Capture, 0x15D}),
    [](const testing::TestParamInfo<CaptureCase>& param) { return param.param.name; });

struct PlacementCase {
    std::string name;
    ScreenRect button;
    ScreenPoint expected;
};

class EditorPlacementTest : public testing::TestWithParam<PlacementCase> {};

// A 600 × 440 dialog on a 1920 × 1080 screen.
TEST_P(EditorPlacementTest, OpensBesideTheButton) {
    const PlacementCase& c = GetParam();
    EXPECT_EQ(EditorPositionBeside(c.button, 600, 440, 1920, 1080), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorPlacementTest,
    testing::Values(
        PlacementCase{"BelowRight", {100, 100, 140, 140}, {140, 140}},
        PlacementCase{"ExactFit", {100, 100, 1320, 640}, {1320, 640}},
        PlacementCase{"AboveRight", {100, 700, 140, 740}, {140, 260}},
        PlacementCase{"BelowLeft", {1400, 100, 1440, 140}, {800, 140}},
        PlacementCase{"AboveLeft", {1400, 700, 1440, 740}, {800, 260}},
        // Too close to the right edge and no room to the left: below right regardless.
        PlacementCase{"NoRoomLeft", {500, 700, 1400, 740}, {1400, 740}},
        // Room neither below nor above on the left side either.
        PlacementCase{"NoRoomAnywhere", {1400, 300, 1440, 800}, {1440, 800}}),
    [](const testing::TestParamInfo<PlacementCase>& param) { return param.param.name; });

}  // namespace
}  // namespace zarvin
