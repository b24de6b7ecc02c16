#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/HidDevice.h"
#include "device/UserMessages.h"
#include "model/MacroAreaHeader.h"
#include "sim/SimModel.h"
#include "sim/SimKeyboard.h"

#include "support/LinkRig.h"
#include "support/RecordingMessages.h"

namespace zarvin {
namespace {

using namespace std::chrono_literals;
using sim::SimFirmware;
using sim::SimModel;

using Rig = test_support::LinkRig;
using test_support::kQuickTiming;
using test_support::RecordingMessages;

DefaultKeyMatrix FactoryMatrixOf(SimModel model) {
    DefaultKeyMatrix matrix{};
    const auto factory = sim::InfoOf(model).factoryKeyMatrix;
    std::copy(factory.begin(), factory.end(), matrix.begin());
    return matrix;
}

TEST(DeviceImageTest, StartsWithTheFirstModelAndTheBuiltInMatrix) {
    const DefaultKeyMatrix& builtIn = BuiltInDefaultKeyMatrix();
    // Entries 0, 8, 53 (Fn) and 62, then zeros after the 64th.
    EXPECT_EQ((std::array{builtIn[0], builtIn[1], builtIn[2]}), (std::array<uint8_t, 3>{5, 0, 0}));
    EXPECT_EQ((std::array{builtIn[24], builtIn[25], builtIn[26]}),
              (std::array<uint8_t, 3>{0x02, 0x02, 0x29}));
    EXPECT_EQ((std::array{builtIn[159], builtIn[160], builtIn[161]}),
              (std::array<uint8_t, 3>{0x05, 0x02, 0x02}));
    EXPECT_EQ((std::array{builtIn[186], builtIn[187], builtIn[188]}),
              (std::array<uint8_t, 3>{0x02, 0x02, 0x48}));
    EXPECT_TRUE(
        std::all_of(builtIn.begin() + 189, builtIn.end(), [](uint8_t b) { return b == 0; }));

    DeviceImage image;
    EXPECT_EQ(image.KeyMatrix(), builtIn);
    EXPECT_EQ(image.Model().keyCount, 126);
    EXPECT_EQ(image.Model().keyMapLength, 378);
    EXPECT_EQ(image.MacroCapacity(), 0u);

    ASSERT_TRUE(image.SetModelFromIds(0x320F, 0x5000));
    EXPECT_EQ(image.Model().keyCount, 128);
    EXPECT_EQ(image.Model().profileStride, 512);
}

TEST(DeviceImageTest, IdsOfNoKnownModelAreRefusedAndTheModelStays) {
    DeviceImage image;
    ASSERT_TRUE(image.SetModelFromIds(0x320F, 0x5000));
    // Each id of one model with the other's: no keyboard of the table.
    for (const auto& [vendor, product] : {std::pair<uint16_t, uint16_t>{0x0C45, 0x5000},
                                          {0x320F, 0x5004}, {0x0000, 0x0000}}) {
        EXPECT_EQ(ModelForIds(vendor, product), nullptr) << std::hex << vendor << ':' << product;
        EXPECT_FALSE(image.SetModelFromIds(vendor, product));
        EXPECT_EQ(image.Model().keyCount, 128);
    }
}

TEST(DeviceImageTest, ActiveProfileIsAskedOnceUntilForgotten) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    rig.keyboard.ChangeProfileOnKeyboard(1);
    rig.keyboard.ClearLog();
    DeviceImage image;

    EXPECT_EQ(image.GetActiveProfile(rig.link), 1);
    EXPECT_EQ(image.GetActiveProfile(rig.link), 1);
    EXPECT_EQ(rig.SentCommands(), std::vector<uint8_t>{Command::ReadDeviceInfo});

    // A change on the keyboard reaches the cache only once the keyboard is asked again.
    rig.keyboard.ChangeProfileOnKeyboard(2);
    EXPECT_EQ(image.GetActiveProfile(rig.link), 1);
    image.ForgetActiveProfile();
    EXPECT_EQ(image.GetActiveProfile(rig.link), 2);
    EXPECT_EQ(rig.SentCommands().size(), 2u);
}

TEST(DeviceImageTest, UnansweredReadGivesMinusOneAndIsNotCached) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    DeviceImage image;
    rig.keyboard.StaySilentFor(kQuickTiming.attempts);
    int result = CommandResult::Success;
    EXPECT_EQ(image.GetActiveProfile(rig.link, &result), -1);
    EXPECT_EQ(result, CommandResult::NoReply);

    EXPECT_EQ(image.GetActiveProfile(rig.link, &result), 0);
    EXPECT_EQ(result, CommandResult::Success);
}

TEST(DeviceImageTest, SetActiveProfileWritesTheRecordBackAndCachesIt) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    std::array<uint8_t, kDeviceInfoSize> before{};
    rig.keyboard.WithFirmware(
        [&](SimFirmware& firmware) { before = firmware.Memory().deviceInfo; });
    DeviceImage image;

    ASSERT_EQ(image.SetActiveProfile(rig.link, 2), CommandResult::Success);
    EXPECT_EQ(rig.ActiveProfileOnKeyboard(), 2);
    const std::vector<Packet> sent = rig.keyboard.ReceivedPackets();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0][PacketByte::Command], Command::ReadDeviceInfo);
    EXPECT_EQ(sent[1][PacketByte::Command], Command::WriteDeviceInfo);
    // The whole record goes back as it was read, the active profile changed.
    std::array<uint8_t, kDeviceInfoSize> written{};
    std::copy_n(sent[1].begin() + PacketByte::Data, kDeviceInfoSize, written.begin());
    before[10] = 2;
    EXPECT_EQ(written, before);

    EXPECT_EQ(image.GetActiveProfile(rig.link), 2);
    EXPECT_EQ(rig.keyboard.ReceivedPackets().size(), 2u);
}

TEST(DeviceImageTest, RefusedWriteEmptiesTheCache) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    DeviceImage image;
    ASSERT_EQ(image.GetActiveProfile(rig.link), 0);
    rig.keyboard.ClearLog();

    rig.keyboard.RefusePacket(2, kStatusRefusedFE);
    EXPECT_EQ(image.SetActiveProfile(rig.link, 2), CommandResult::RefusedFE);
    EXPECT_EQ(rig.ActiveProfileOnKeyboard(), 0);

    EXPECT_EQ(image.GetActiveProfile(rig.link), 0);
    EXPECT_EQ(rig.SentCommands(),
              (std::vector<uint8_t>{Command::ReadDeviceInfo, Command::WriteDeviceInfo,
                                    Command::ReadDeviceInfo}));
}

TEST(DeviceImageTest, FailedReadBeforeSetChangesNothing) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    rig.keyboard.ChangeProfileOnKeyboard(1);
    DeviceImage image;
    ASSERT_EQ(image.GetActiveProfile(rig.link), 1);
    rig.keyboard.ClearLog();

    rig.keyboard.StaySilentFor(kQuickTiming.attempts);
    EXPECT_EQ(image.SetActiveProfile(rig.link, 2), CommandResult::NoReply);
    EXPECT_EQ(rig.ActiveProfileOnKeyboard(), 1);
    EXPECT_EQ(image.GetActiveProfile(rig.link), 1);
    const std::vector<uint8_t> sent = rig.SentCommands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), Command::WriteDeviceInfo), 0);
    EXPECT_EQ(sent.size(), static_cast<size_t>(kQuickTiming.attempts));
}

TEST(DeviceImageTest, ProfileThatFitsNoByteSendsNothing) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    DeviceImage image;
    for (const int profile : {-1, -201, 256}) {
        EXPECT_EQ(image.SetActiveProfile(rig.link, profile), CommandResult::BadProfile) << profile;
    }
    ASSERT_EQ(Command0D(rig.link), CommandResult::Success);
    EXPECT_EQ(rig.SentCommands(), std::vector<uint8_t>{Command::Command0D});
}

// A keyboard unplugged while its answer is on the way: the answer is returned but the next
// keyboard is asked afresh.
TEST(DeviceImageTest, AnswerArrivingAfterForgetIsNotCached) {
    Rig rig(SimModel::Keyboard126, ExchangeTiming{});
    ASSERT_TRUE(rig.opened);
    rig.keyboard.SetReportDelay(100ms);
    DeviceImage image;
    int answered = -2;
    std::thread reader([&] { answered = image.GetActiveProfile(rig.link); });
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (rig.keyboard.ReceivedPackets().empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    image.ForgetActiveProfile();
    reader.join();
    EXPECT_EQ(answered, 0);

    rig.keyboard.SetReportDelay(0us);
    EXPECT_EQ(image.GetActiveProfile(rig.link), 0);
    EXPECT_EQ(rig.keyboard.ReceivedPackets().size(), 2u);
}

TEST(DeviceImageTest, ConnectionDataFillsMatrixAndCapacity) {
    for (const SimModel model : {SimModel::Keyboard126, SimModel::Keyboard128}) {
        Rig rig(model);
        ASSERT_TRUE(rig.opened);
        DeviceImage image;
        RecordingMessages messages;
        image.LoadConnectionData(rig.link, messages);
        EXPECT_EQ(image.KeyMatrix(), FactoryMatrixOf(model)) << sim::InfoOf(model).name;
        EXPECT_EQ(image.MacroCapacity(), 12800u);
        EXPECT_TRUE(messages.Shown().empty());
    }
}

// The default matrix read fails at its first chunk or part-way: no chunk of it may reach the
// matrix, and the user hears of it once. The device information is still read.
TEST(DeviceImageTest, FailedMatrixReadKeepsTheMatrixAndTellsTheUserOnce) {
    struct Case {
        const char* name;
        std::function<void(sim::SimKeyboard&)> fault;
    };
    const std::vector<Case> cases = {
        {"silent", [](sim::SimKeyboard& k) { k.StaySilentFor(kQuickTiming.attempts); }},
        {"refused third chunk", [](sim::SimKeyboard& k) { k.RefusePacket(3, kStatusRefusedFE); }},
    };
    for (const Case& c : cases) {
        Rig rig(SimModel::Keyboard128);
        ASSERT_TRUE(rig.opened);
        DeviceImage image;
        RecordingMessages messages;
        c.fault(rig.keyboard);
        image.LoadConnectionData(rig.link, messages);
        EXPECT_EQ(image.KeyMatrix(), BuiltInDefaultKeyMatrix()) << c.name;
        EXPECT_EQ(messages.Shown(), std::vector<std::string>{"MAIN_DEFAULT_MATRIX_PROMPT"}) << c.name;
        EXPECT_EQ(image.MacroCapacity(), 12800u) << c.name;
    }
}

TEST(DeviceImageTest, FailedInfoReadKeepsThePreviousCapacity) {
    Rig rig(SimModel::Keyboard128);
    ASSERT_TRUE(rig.opened);
    DeviceImage image;
    RecordingMessages messages;
    image.LoadConnectionData(rig.link, messages);
    ASSERT_EQ(image.MacroCapacity(), 12800u);

    rig.keyboard.WithFirmware([](SimFirmware& firmware) { firmware.SetMacroCapacity(50); });
    // Ten chunks of the 512-byte matrix, then the device information.
    rig.keyboard.RefusePacket(11, kStatusRefusedFF);
    image.LoadConnectionData(rig.link, messages);
    EXPECT_EQ(image.MacroCapacity(), 12800u);
    EXPECT_TRUE(messages.Shown().empty());
}

TEST(MacroAreaHeaderTest, ParsesFieldsAndTellsAnEmptyArea) {
    const std::vector<uint8_t> filled = {0xAA, 0x55, 0x34, 0x12, 0x03, 0x00, 0x01, 0x00, 0xFF,
                                         0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x99};
    const MacroAreaHeader header = MacroAreaHeader::Parse(filled);
    EXPECT_TRUE(header.HoldsMacros());
    EXPECT_EQ(header.length, 0x1234);
    EXPECT_EQ(header.macroCount, 3);
    EXPECT_EQ(header.namesFlag, 1);

    std::vector<uint8_t> swapped = filled;
    std::swap(swapped[0], swapped[1]);
    EXPECT_FALSE(MacroAreaHeader::Parse(swapped).HoldsMacros());
    EXPECT_FALSE(MacroAreaHeader::Parse(std::vector<uint8_t>(16, 0xFF)).HoldsMacros());

    const MacroAreaHeader shortArea =
        MacroAreaHeader::Parse(std::span(filled).first(MacroAreaHeader::kSize - 1));
    EXPECT_FALSE(shortArea.HoldsMacros());
    EXPECT_EQ(shortArea.macroCount, 0);
    EXPECT_FALSE(MacroAreaHeader::Parse({}).HoldsMacros());
}

}  // namespace
}  // namespace zarvin
