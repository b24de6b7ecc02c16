#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "control/ProfileKeyMaps.h"
#include "device/DeviceImage.h"
#include "model/KeyMapCodec.h"
#include "model/SpokenNames.h"
#include "sim/SimModel.h"
#include "store/ProfileStore.h"
#include "store/ProfileStores.h"

namespace zarvin {
namespace {

using sim::SimModel;

constexpr KeyCode kCapsLock = 0x03A;
constexpr KeyCode kLeftAlt = 0x038;

KeyAssignment Record(AssignmentType type, int32_t value = 0) {
    return KeyAssignment{.type = static_cast<uint16_t>(type), .value = value};
}

MacroRecord Macro(uint16_t id, std::u16string_view name = u"") {
    MacroRecord macro;
    macro.SetId(id);
    macro.SetName(name);
    return macro;
}

// Texts are their keys in brackets, so a caption shows which texts it was built from.
std::string BracketText(std::string_view key) {
    return "[" + std::string(key) + "]";
}

KeyMapEntry EntryAt(std::span<const uint8_t> bytes, size_t position) {
    return {bytes[3 * position], bytes[3 * position + 1], bytes[3 * position + 2]};
}

// A device image holding a stand-in keyboard's factory matrix, and the two stores.
class KeyMapFixture : public ::testing::Test {
protected:
    void UseModel(SimModel model) {
        const KeyboardModel& info = sim::InfoOf(model);
        device_.SetModel(info);
        DefaultKeyMatrix matrix{};
        const auto factory = info.factoryKeyMatrix;
        std::copy(factory.begin(), factory.end(), matrix.begin());
        device_.SetKeyMatrix(matrix);
    }

    // The position whose default entry is the key `code`.
    size_t PositionOf(KeyCode code) const {
        const DefaultKeyMatrix matrix = device_.KeyMatrix();
        for (size_t i = 0; i < static_cast<size_t>(device_.Model().keyCount); ++i) {
            if (EntryKeyCode(EntryAt(matrix, i)) == code) {
                return i;
            }
        }
        ADD_FAILURE() << "no position for key " << code;
        return 0;
    }

    void Assign(int profile, KeyCode code, const KeyAssignment& record,
                std::u16string launchString = {}) {
        ASSERT_TRUE(working_.SetAssignment(
            KeyRecordNumber(static_cast<size_t>(profile), SlotOfKeyCode(code)), record,
            std::move(launchString)));
    }

    std::vector<uint8_t> Build(int profile) {
        EXPECT_TRUE(applied_.TakeSnapshotOf(working_));
        std::vector<uint8_t> block(device_.Model().keyMapLength, 0xEE);
        BuildKeyMap(profile, block, device_, stores_);
        return block;
    }

    std::recursive_mutex workingLock_;
    std::recursive_mutex appliedLock_;
    ProfileStores stores_{workingLock_, appliedLock_};
    WorkingStore& working_ = stores_.Working();
    AppliedStore& applied_ = stores_.Applied();
    DeviceImage device_;
};

struct EncodeCase {
    const char* what;
    KeyAssignment record;
    KeyMapEntry expected;  // all zeros here means "the default entry"
};

TEST_F(KeyMapFixture, BuildWritesEachAssignmentTypeAsItsEntry) {
    UseModel(SimModel::Keyboard126);
    ASSERT_TRUE(working_.SetMacros({Macro(1), Macro(2), Macro(4)}));
    const size_t caps = PositionOf(kCapsLock);
    const KeyMapEntry capsDefault{0x02, 0x02, 0x39};
    const EncodeCase cases[] = {
        {"Right Alt", Record(AssignmentType::Key, 0x138), {0x02, 0x01, 0x40}},
        {"Left Ctrl", Record(AssignmentType::Key, 0x01D), {0x02, 0x01, 0x01}},
        {"A", Record(AssignmentType::Key, 0x01E), {0x02, 0x02, 0x04}},
        {"Num Lock", Record(AssignmentType::Key, 0x145), {0x02, 0x02, 0x53}},
        {"volume up as a key", Record(AssignmentType::Key, 0x130), {0x02, 0x02, 0xC0}},
        {"Power", Record(AssignmentType::Key, 0x15E), {0x02, 0x02, 0x00}},
        {"Sys Req", Record(AssignmentType::Key, 0x054), {0x02, 0x02, 0x00}},
        {"left button", Record(AssignmentType::Key, 0x171), {0x01, 0x01, 0x01}},
        {"middle button", Record(AssignmentType::Key, 0x173), {0x01, 0x01, 0x04}},
        {"wheel up", Record(AssignmentType::Key, 0x161), {0x01, 0x05, 0x01}},
        {"wheel down", Record(AssignmentType::Key, 0x162), {0x01, 0x05, 0xFF}},
        {"key code out of range", Record(AssignmentType::Key, 0x10000), {0x02, 0x02, 0x00}},
        {"disabled", Record(AssignmentType::Disabled), {0x00, 0x00, 0x00}},
        {"text block", Record(AssignmentType::TextBlock), {0x00, 0x00, 0x00}},
        {"stop macro", Record(AssignmentType::StopMacro), {0x05, 0x02, 0x00}},
        {"macro 4, third in the list", Record(AssignmentType::PlayMacro, 4), {0x05, 0x01, 0x02}},
        {"vanished macro plays the first",
         Record(AssignmentType::PlayMacro, 3),
         {0x05, 0x01, 0x00}},
        {"volume up", Record(AssignmentType::Media, 6), {0x03, 0xE9, 0x00}},
        {"my computer", Record(AssignmentType::Media, 15), {0x03, 0x94, 0x01}},
        {"media row out of range", Record(AssignmentType::Media, 18), capsDefault},
        {"function 10", Record(AssignmentType::Function, 10), {0x05, 0x05, 0x0A}},
        {"launch program", Record(AssignmentType::LaunchProgram), capsDefault},
        {"default", Record(AssignmentType::Default), capsDefault},
        {"unknown type", KeyAssignment{.type = 9, .value = 1}, capsDefault},
    };
    for (const EncodeCase& c : cases) {
        const bool launch = c.record.CarriesLaunchString();
        Assign(0, kCapsLock, c.record, launch ? u"C:\\a.exe" : u"");
        EXPECT_EQ(EntryAt(Build(0), caps), c.expected) << c.what;
    }
}

TEST_F(KeyMapFixture, BuildTouchesOnlyTheProfileAndPositionsWithAKey) {
    UseModel(SimModel::Keyboard126);
    const DefaultKeyMatrix matrix = device_.KeyMatrix();
    // Positions whose default entry gives no key code (Fn, gaps) belong to slot 0.
    working_.SetAssignment(KeyRecordNumber(0, 0), Record(AssignmentType::StopMacro));
    Assign(1, kCapsLock, Record(AssignmentType::Disabled));

    const std::vector<uint8_t> block = Build(0);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), matrix.begin()));
    const std::vector<uint8_t> other = Build(1);
    EXPECT_EQ(EntryAt(other, PositionOf(kCapsLock)), (KeyMapEntry{0, 0, 0}));
}

TEST_F(KeyMapFixture, BuildCopiesEntry106Over99InTheMatrixItself) {
    DefaultKeyMatrix matrix = BuiltInDefaultKeyMatrix();
    const KeyMapEntry escape{0x02, 0x02, 0x29};
    const KeyMapEntry tab{0x02, 0x02, 0x2B};
    std::copy(tab.begin(), tab.end(), matrix.begin() + 3 * 99);
    std::copy(escape.begin(), escape.end(), matrix.begin() + 3 * 106);
    device_.SetKeyMatrix(matrix);
    Assign(0, 0x001, Record(AssignmentType::Disabled));  // Escape

    const std::vector<uint8_t> block = Build(0);
    EXPECT_EQ(EntryAt(device_.KeyMatrix(), 99), escape);
    EXPECT_EQ(EntryAt(block, 99), (KeyMapEntry{0, 0, 0}));
    EXPECT_EQ(EntryAt(block, 106), (KeyMapEntry{0, 0, 0}));

    // Still in effect for decoding: position 99 now stands for Escape as well.
    ProfileImage image{};
    std::vector<uint8_t> sent(device_.Model().keyMapLength);
    const DefaultKeyMatrix changed = device_.KeyMatrix();
    std::copy_n(changed.begin(), sent.size(), sent.begin());
    sent[3 * 99 + 2] = 0x04;  // A
    DecodeKeyMap(sent, device_, KeyTableOf(image, 0));
    EXPECT_EQ(LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(0, 0x001))),
              Record(AssignmentType::Key, 0x01E));
}

TEST_F(KeyMapFixture, BuildFillsTheWholeBlockOfTheLargerModel) {
    UseModel(SimModel::Keyboard128);
    Assign(2, 0x04F, Record(AssignmentType::Key, kLeftAlt));  // Num 1

    const std::vector<uint8_t> block = Build(2);
    ASSERT_EQ(block.size(), 512u);
    const DefaultKeyMatrix matrix = device_.KeyMatrix();
    EXPECT_EQ(EntryAt(block, PositionOf(0x04F)), (KeyMapEntry{0x02, 0x01, 0x04}));
    EXPECT_TRUE(std::equal(block.begin() + 384, block.end(), matrix.begin() + 384));
}

TEST(EntryKeyCode, NamesKeysMouseMediaAndGKeys) {
    const std::pair<KeyMapEntry, KeyCode> cases[] = {
        {{0x02, 0x02, 0x04}, 0x01E}, {{0x02, 0x01, 0x40}, 0x138},
        {{0x02, 0x01, 0x06}, 0x02A},  // the lowest bit counts
        {{0x01, 0x01, 0x02}, 0x172}, {{0x01, 0x05, 0xFF}, 0x162},
        {{0x01, 0x03, 0x00}, 0},     {{0x03, 0xE9, 0x00}, 0x130},
        {{0x04, 0x81, 0x00}, 0x15E}, {{0x06, 0xA2, 0x01}, 0x200},
        {{0x06, 0xA2, 0x12}, 0x211}, {{0x06, 0xA1, 0x01}, 0},
        {{0x05, 0x01, 0x00}, 0},     {{0x00, 0x00, 0x00}, 0},
    };
    for (const auto& [entry, code] : cases) {
        EXPECT_EQ(EntryKeyCode(entry), code)
            << int{entry[0]} << " " << int{entry[1]} << " " << int{entry[2]};
    }
    EXPECT_EQ(SlotOfKeyCode(EntryKeyCode({0x06, 0xA2, 0x01})), 256);
    EXPECT_EQ(SlotOfKeyCode(EntryKeyCode({0x06, 0xA2, 0x0A})), 265);
}

struct DecodeCase {
    KeyMapEntry sent;
    KeyAssignment expected;
};

TEST_F(KeyMapFixture, DecodeRefinesDisabledByTheEntry) {
    UseModel(SimModel::Keyboard126);
    const size_t caps = PositionOf(kCapsLock);
    const DecodeCase cases[] = {
        {{0x02, 0x02, 0x39}, Record(AssignmentType::Default)},
        {{0x05, 0x01, 0x03}, Record(AssignmentType::PlayMacro, 4)},
        {{0x05, 0x02, 0x07}, Record(AssignmentType::StopMacro)},
        {{0x05, 0x05, 0x0A}, Record(AssignmentType::Function, 10)},
        {{0x05, 0x03, 0x00}, Record(AssignmentType::Disabled)},
        {{0x03, 0xE9, 0x00}, Record(AssignmentType::Media, 6)},
        {{0x03, 0x34, 0x12}, Record(AssignmentType::Disabled)},
        {{0x02, 0x01, 0x04}, Record(AssignmentType::Key, kLeftAlt)},
        {{0x02, 0x01, 0x00}, Record(AssignmentType::Disabled)},
        {{0x02, 0x02, 0x53}, Record(AssignmentType::Key, 0x145)},
        {{0x02, 0x02, 0x00}, Record(AssignmentType::Disabled)},
        {{0x01, 0x05, 0xFF}, Record(AssignmentType::Key, 0x162)},
        {{0x01, 0x01, 0x04}, Record(AssignmentType::Key, 0x173)},
        {{0x01, 0x01, 0x08}, Record(AssignmentType::Disabled)},
        {{0x04, 0x81, 0x00}, Record(AssignmentType::Disabled)},
        {{0x06, 0xA2, 0x01}, Record(AssignmentType::Disabled)},
        {{0x00, 0x00, 0x00}, Record(AssignmentType::Disabled)},
    };
    const DefaultKeyMatrix matrix = device_.KeyMatrix();
    for (const DecodeCase& c : cases) {
        std::vector<uint8_t> sent(matrix.begin(), matrix.begin() + 378);
        std::copy(c.sent.begin(), c.sent.end(), sent.begin() + 3 * static_cast<ptrdiff_t>(caps));
        ProfileImage image{};
        DecodeKeyMap(sent, device_, KeyTableOf(image, 1));
        EXPECT_EQ(
            LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(1, SlotOfKeyCode(kCapsLock)))),
            c.expected)
            << int{c.sent[0]} << " " << int{c.sent[1]} << " " << int{c.sent[2]};
    }
}

TEST_F(KeyMapFixture, DecodeClearsTheTableKeepsGIdsAndSkipsPositionsWithoutAKey) {
    UseModel(SimModel::Keyboard126);
    ProfileImage image{};
    const KeyTableBytes table = KeyTableOf(image, 2);
    std::fill(table.begin(), table.end(), uint8_t{0x5A});

    std::vector<uint8_t> sent(378, 0x00);  // every position disabled
    DecodeKeyMap(sent, device_, table);

    // G1 at position 0: its record is Disabled and keeps its identifier.
    EXPECT_EQ(LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(2, 256))),
              (KeyAssignment{.type = 1, .gId = 0x0301}));
    EXPECT_EQ(LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(2, 273))).gId, 0x1309);
    // Fn and the gaps give no key: slot 0 stays cleared.
    EXPECT_EQ(LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(2, 0))), KeyAssignment{});
    EXPECT_EQ(LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(2, 300))), KeyAssignment{});
}

TEST_F(KeyMapFixture, DecodeReadsOnlyWholeEntriesOfAShortBlock) {
    UseModel(SimModel::Keyboard126);
    const size_t caps = PositionOf(kCapsLock);  // position 11
    std::vector<uint8_t> sent(3 * caps + 2, 0x00);
    ProfileImage image{};
    DecodeKeyMap(sent, device_, KeyTableOf(image, 0));
    EXPECT_EQ(LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(0, 0x00F))).type, 1);  // Tab
    EXPECT_EQ(LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(0, kCapsLock))).type, 0);
}

// What the editors can assign comes back from the keyboard as it went out, on both models.
TEST_F(KeyMapFixture, BuildThenDecodeGivesBackTheAssignments) {
    for (const SimModel model : {SimModel::Keyboard126, SimModel::Keyboard128}) {
        UseModel(model);
        ASSERT_TRUE(working_.SetMacros({Macro(1), Macro(2), Macro(3)}));
        const std::pair<KeyCode, KeyAssignment> assignments[] = {
            {kCapsLock, Record(AssignmentType::Key, 0x01D)},
            {0x01E, Record(AssignmentType::Key, 0x162)},
            {0x01F, Record(AssignmentType::Key, 0x145)},
            {0x020, Record(AssignmentType::Disabled)},
            {0x011, Record(AssignmentType::StopMacro)},
            {0x012, Record(AssignmentType::PlayMacro, 3)},
            {0x013, Record(AssignmentType::Media, 17)},
            {0x014, Record(AssignmentType::Function, 0)},
            {0x200, Record(AssignmentType::Key, 0x171)},  // G1
        };
        for (const auto& [code, record] : assignments) {
            Assign(1, code, record);
        }
        Assign(1, 0x015, Record(AssignmentType::Key, 0x015));  // Y as itself

        const std::vector<uint8_t> block = Build(1);
        ProfileImage image{};
        DecodeKeyMap(block, device_, KeyTableOf(image, 1));
        for (const auto& [code, record] : assignments) {
            KeyAssignment expected = record;
            expected.gId = code == 0x200 ? uint16_t{0x0301} : uint16_t{0};
            EXPECT_EQ(
                LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(1, SlotOfKeyCode(code)))),
                expected)
                << "key " << code;
        }
        EXPECT_EQ(LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(1, 0x015))).type, 0);
    }
}

TEST_F(KeyMapFixture, MacroPositionFindsTheIdInListOrder) {
    EXPECT_EQ(MacroPosition(1, working_), 0);
    ASSERT_TRUE(working_.SetMacros({Macro(4), Macro(1), Macro(2)}));
    EXPECT_EQ(MacroPosition(2, working_), 2);
    EXPECT_EQ(MacroPosition(4, working_), 0);
    EXPECT_EQ(MacroPosition(3, working_), 0);
    EXPECT_EQ(MacroPosition(0x10001, working_), 0);
}

TEST_F(KeyMapFixture, CaptionsDescribeTheAssignment) {
    ASSERT_TRUE(working_.SetMacros({Macro(2, u"Sal\u00e9")}));
    const std::string set = "Caps[KEY_PROMPT_SET]";
    const std::pair<KeyAssignment, AssignmentCaptionText> cases[] = {
        {Record(AssignmentType::Default), {"Caps", false}},
        {Record(AssignmentType::Disabled), {set, true}},
        {Record(AssignmentType::StopMacro), {set, true}},
        {Record(AssignmentType::TextBlock), {set, true}},
        {KeyAssignment{.type = 9}, {set, true}},
        {Record(AssignmentType::Key, kLeftAlt),
         {set + "[KEY_PROMPT_SINGLE][IDS_KEYBOARD_LALT])", true}},
        {Record(AssignmentType::PlayMacro, 2), {set + "[KEY_PROMPT_MACRO]Sal\u00e9)", true}},
        {Record(AssignmentType::PlayMacro, 7), {set + "[KEY_PROMPT_MACRO])", true}},
        {Record(AssignmentType::Media, 6), {set + "[KEY_PROMPT_MEDIA][MEDIA_V_ADD_7])", true}},
        {Record(AssignmentType::Function, 0),
         {set + "[KEY_PROMPT_FUNCTION][FUNC_KEY_DESC1])", true}},
        {Record(AssignmentType::Function, 10),
         {set + "[KEY_PROMPT_FUNCTION][FUNC_KEY_DESC11])", true}},
        {Record(AssignmentType::Function, 11), {set + "[KEY_PROMPT_FUNCTION])", true}},
    };
    for (const auto& [record, expected] : cases) {
        const AssignmentCaptionText caption =
            AssignmentCaption("Caps", record, working_, BracketText);
        EXPECT_EQ(caption.caption, expected.caption);
        EXPECT_EQ(caption.assigned, expected.assigned) << expected.caption;
    }
}

TEST_F(KeyMapFixture, CaptionFitsTheNameBuffer) {
    const std::string longName(300, 'x');
    const AssignmentCaptionText caption =
        AssignmentCaption(longName, Record(AssignmentType::Disabled), working_, BracketText);
    EXPECT_EQ(caption.caption, std::string(kKeyNameCapacity - 1, 'x'));
}

TEST_F(KeyMapFixture, SpokenNamesSayTheKeyAndWhatItDoesNow) {
    ASSERT_TRUE(working_.SetMacros({Macro(2, u"Copy")}));
    // Each spoken text names its kind and shows where its two arguments go.
    const TextLookup texts = [](std::string_view key) -> std::string {
        if (key.starts_with("ACCESS_KEY_")) {
            return std::string(key.substr(11)) + "(%s|%s)";
        }
        return BracketText(key);
    };
    const std::pair<KeyAssignment, std::string> cases[] = {
        {Record(AssignmentType::Default), "Caps"},
        {Record(AssignmentType::Key, kLeftAlt), "REMAPPED(Caps|[IDS_KEYBOARD_LALT])"},
        {Record(AssignmentType::PlayMacro, 2), "MACRO(Caps|Copy)"},
        {Record(AssignmentType::Media, 6), "MEDIA(Caps|[MEDIA_V_ADD_7])"},
        {Record(AssignmentType::Function, 0), "FUNCTION(Caps|[FUNC_KEY_DESC1])"},
        {Record(AssignmentType::Disabled), "DISABLED(Caps|)"},
        {Record(AssignmentType::StopMacro), "STOP_MACRO(Caps|)"},
        {Record(AssignmentType::LaunchProgram), "LAUNCH(Caps|)"},
        {Record(AssignmentType::TextBlock), "TEXT(Caps|)"},
        {KeyAssignment{.type = 9}, "CHANGED(Caps|)"},
    };
    for (const auto& [record, expected] : cases) {
        EXPECT_EQ(KeySpokenName("Caps", record, working_, texts), expected);
    }
}

TEST(SpokenColourTest, ColoursAreCalledByTheNameTheirHueSuggests) {
    const std::pair<ColourValue, std::string_view> cases[] = {
        {MakeColour(0, 0, 0), "COLOUR_BLACK"},       {MakeColour(30, 20, 35), "COLOUR_BLACK"},
        {MakeColour(128, 128, 128), "COLOUR_GREY"},  {MakeColour(250, 250, 240), "COLOUR_WHITE"},
        {MakeColour(255, 0, 0), "COLOUR_RED"},       {MakeColour(250, 10, 20), "COLOUR_RED"},
        {MakeColour(255, 130, 0), "COLOUR_ORANGE"},  {MakeColour(255, 255, 0), "COLOUR_YELLOW"},
        {MakeColour(0, 255, 0), "COLOUR_GREEN"},     {MakeColour(0, 255, 255), "COLOUR_CYAN"},
        {MakeColour(0, 0, 255), "COLOUR_BLUE"},      {MakeColour(128, 0, 255), "COLOUR_PURPLE"},
        {MakeColour(255, 0, 160), "COLOUR_PINK"},
    };
    for (const auto& [colour, expected] : cases) {
        EXPECT_EQ(ColourNameKey(colour), expected) << std::hex << colour;
    }
    const TextLookup texts = [](std::string_view key) -> std::string {
        return key == "ACCESS_COLOUR" ? "%s (%s, %s, %s)" : std::string(key);
    };
    EXPECT_EQ(ColourSpokenName(MakeColour(255, 130, 0), texts), "COLOUR_ORANGE (255, 130, 0)");
}

}  // namespace
}  // namespace zarvin
