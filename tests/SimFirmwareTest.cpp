#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "model/LightingEffects.h"
#include "sim/SimFirmware.h"
#include "support/RequestPacket.h"

namespace zarvin::sim {
namespace {

uint16_t SumOf(const Packet& packet) {
    return static_cast<uint16_t>(std::accumulate(packet.begin() + 3, packet.end(), 0u));
}

Packet Request(uint8_t command, uint8_t length, uint16_t offset,
               const std::vector<uint8_t>& data = {}) {
    return test_support::MakeRequest(command, length, offset, data);
}

std::vector<uint8_t> Pattern(size_t count, uint8_t seed) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(seed + 7 * i);
    }
    return bytes;
}

std::vector<uint8_t> ReplyData(const Packet& reply) {
    return std::vector<uint8_t>(reply.begin() + 8, reply.end());
}

Packet Exchange(SimFirmware& firmware, const Packet& request) {
    const std::optional<Packet> reply = firmware.HandleRequest(request);
    EXPECT_TRUE(reply.has_value());
    return reply.value_or(Packet{});
}

struct StatusCase {
    const char* name;
    SimModel model;
    Packet request;
    uint8_t status;
};

Packet WithBadChecksum(Packet packet) {
    packet[1] ^= 0x01;
    return packet;
}

std::vector<uint8_t> DeviceInfoWithProfile(uint8_t profile) {
    std::vector<uint8_t> info = Pattern(kDeviceInfoSize, 1);
    info[DeviceInfoByte::ActiveProfile] = profile;
    return info;
}

class FirmwareStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(FirmwareStatus, AnswersWithTheStatusAndEchoesTheHeader) {
    const StatusCase& c = GetParam();
    SimFirmware firmware(c.model);
    const Packet reply = Exchange(firmware, c.request);
    EXPECT_EQ(reply[7], c.status);
    EXPECT_EQ(reply[0], 0x04);
    EXPECT_EQ(reply[3], c.request[3]);
    EXPECT_EQ(reply[4], c.request[4]);
    EXPECT_EQ(reply[5], c.request[5]);
    EXPECT_EQ(reply[6], c.request[6]);
    EXPECT_EQ(reply[1] | reply[2] << 8, SumOf(reply));
}

const SimModel k126 = SimModel::Keyboard126;
const SimModel k128 = SimModel::Keyboard128;

INSTANTIATE_TEST_SUITE_P(
    Requests, FirmwareStatus,
    testing::Values(
        StatusCase{"BeginTransfer", k126, Request(0x01, 0, 0), 0x00},
        StatusCase{"EndTransfer", k126, Request(0x02, 0, 0), 0x00},
        StatusCase{"Command0B", k126, Request(0x0B, 0, 0), 0x00},
        StatusCase{"Command0E", k126, Request(0x0E, 0, 0), 0x00},
        StatusCase{"BadChecksum", k126, WithBadChecksum(Request(0x03, 0x2C, 0)), 0xFF},
        StatusCase{"UnknownCommand12", k126, Request(0x12, 0, 0), 0xFF},
        StatusCase{"UnknownCommand00", k126, Request(0x00, 0, 0), 0xFF},
        StatusCase{"LengthAbove56", k126, Request(0x05, 57, 0), 0xFE},
        StatusCase{"LengthAbove56OnBracket", k126, Request(0x01, 0xEE, 0), 0xFE},
        StatusCase{"DeviceInfoRead", k126, Request(0x03, 0x2C, 0), 0x00},
        StatusCase{"DeviceInfoShortLength", k126, Request(0x03, 0x20, 0), 0xFE},
        StatusCase{"DeviceInfoOffset", k126, Request(0x03, 0x2C, 1), 0xFE},
        StatusCase{"DeviceInfoWriteProfile2", k126,
                   Request(0x04, 0x2C, 0, DeviceInfoWithProfile(2)), 0x00},
        StatusCase{"DeviceInfoWriteProfile3", k126,
                   Request(0x04, 0x2C, 0, DeviceInfoWithProfile(3)), 0xFE},
        StatusCase{"LightingReadOfLastRecordOverrunsArea", k126, Request(0x05, 56, 84), 0x00},
        StatusCase{"LightingReadPastArea", k126, Request(0x05, 1, 126), 0xFE},
        StatusCase{"LightingWriteToLastByte", k126, Request(0x06, 6, 120, Pattern(6, 1)), 0x00},
        StatusCase{"LightingWritePastArea", k126, Request(0x06, 7, 120, Pattern(7, 1)), 0xFE},
        StatusCase{"KeyMapLastChunk126", k126, Request(0x08, 42, 1092, Pattern(42, 1)), 0x00},
        StatusCase{"KeyMapPastArea126", k126, Request(0x08, 42, 1093, Pattern(42, 1)), 0xFE},
        StatusCase{"KeyMapLastChunk128", k128, Request(0x08, 8, 1528, Pattern(8, 1)), 0x00},
        StatusCase{"KeyMapReadPastArea128", k128, Request(0x07, 8, 1536), 0xFE},
        StatusCase{"MacroLastBytes", k126, Request(0x0A, 2, 12798, Pattern(2, 1)), 0x00},
        StatusCase{"MacroPastCapacity", k126, Request(0x0A, 2, 12799, Pattern(2, 1)), 0xFE},
        StatusCase{"DefaultMatrixPastBlock126", k126, Request(0x0F, 56, 378), 0xFE},
        StatusCase{"DefaultMatrixLastChunk128", k128, Request(0x0F, 8, 504), 0x00},
        StatusCase{"KeyColoursLastBytes", k126, Request(0x11, 6, 1530, Pattern(6, 1)), 0x00},
        StatusCase{"KeyColoursPastArea", k126, Request(0x11, 6, 1531, Pattern(6, 1)), 0xFE}),
    [](const testing::TestParamInfo<StatusCase>& param) { return param.param.name; });

TEST(SimFirmware, WriteThenReadGivesBackTheBytesOfEachArea) {
    struct Area {
        const char* name;
        uint8_t readCommand;
        uint8_t writeCommand;
        uint16_t offset;
        size_t length;
    };
    const Area areas[] = {
        {"lighting", 0x05, 0x06, 42 + 3, 39},
        {"key maps", 0x07, 0x08, 2 * 378 + 56, 56},
        {"macro area", 0x09, 0x0A, 12800 - 56, 56},
        {"key colours", 0x10, 0x11, 512 + 150, 3},
    };
    for (const Area& area : areas) {
        SCOPED_TRACE(area.name);
        SimFirmware firmware(SimModel::Keyboard126);
        const std::vector<uint8_t> data = Pattern(area.length, 0x31);
        const uint8_t length = static_cast<uint8_t>(area.length);
        EXPECT_EQ(Exchange(firmware, Request(area.writeCommand, length, area.offset, data))[7], 0);
        const std::vector<uint8_t> read =
            ReplyData(Exchange(firmware, Request(area.readCommand, length, area.offset)));
        EXPECT_EQ(std::vector<uint8_t>(read.begin(), read.begin() + length), data);
    }
}

TEST(SimFirmware, KeyMapsOfEachProfileLieAtTheModelStride) {
    for (SimModel model : {SimModel::Keyboard126, SimModel::Keyboard128}) {
        const size_t stride = InfoOf(model).keyMapLength;
        SimFirmware firmware(model);
        const std::vector<uint8_t> data = Pattern(56, 0x40);
        EXPECT_EQ(Exchange(firmware, Request(0x08, 56, static_cast<uint16_t>(2 * stride), data))[7],
                  0);
        const std::vector<uint8_t>& keyMaps = firmware.Memory().keyMaps;
        ASSERT_EQ(keyMaps.size(), 3 * stride);
        EXPECT_TRUE(
            std::equal(data.begin(), data.end(), keyMaps.begin() + std::ptrdiff_t(2 * stride)));
    }
}

TEST(SimFirmware, ReadsAnswerFiftySixBytesFromTheOffsetWithZerosPastTheArea) {
    SimFirmware firmware(SimModel::Keyboard126);
    const std::vector<uint8_t> data = ReplyData(Exchange(firmware, Request(0x05, 2, 84)));
    const auto& lighting = firmware.Memory().lighting;
    EXPECT_TRUE(std::equal(lighting.begin() + 84, lighting.end(), data.begin()));
    EXPECT_EQ(std::vector<uint8_t>(data.begin() + 42, data.end()), std::vector<uint8_t>(14, 0));
    EXPECT_EQ(data[0], 20) << "profile 2 lights its keys one by one";
}

TEST(SimFirmware, LightingWordIsEffectAndBrightnessOfProfileZero) {
    SimFirmware firmware(SimModel::Keyboard126);
    const std::vector<uint8_t> word = ReplyData(Exchange(firmware, Request(0x05, 2, 0)));
    EXPECT_EQ(word[0], 1);
    EXPECT_EQ(word[1], 5);
    EXPECT_EQ(Exchange(firmware, Request(0x06, 2, 0, {0x07, 0x03}))[7], 0);
    EXPECT_EQ(firmware.Memory().lighting[0], 0x07);
    EXPECT_EQ(firmware.Memory().lighting[1], 0x03);
    EXPECT_EQ(firmware.Memory().lighting[2], 2) << "only the two bytes of the word change";
}

TEST(SimFirmware, FactoryDeviceInformation) {
    for (SimModel model : {SimModel::Keyboard126, SimModel::Keyboard128}) {
        SimFirmware firmware(model);
        const std::vector<uint8_t> info = ReplyData(Exchange(firmware, Request(0x03, 0x2C, 0)));
        EXPECT_EQ(info[8] | info[9] << 8, 0x0110);
        EXPECT_EQ(info[10], 0) << "active profile";
        EXPECT_EQ(info[11], 100) << "macro capacity in 128-byte units";
        const std::vector<uint8_t> effects(info.begin() + 12, info.begin() + 44);
        // Every effect the program knows, in the order of their codes.
        std::vector<uint8_t> expected;
        for (const LightingEffect& effect : LightingEffects())
            expected.push_back(effect.code);
        expected.resize(32, 0);
        EXPECT_EQ(effects, expected);
        EXPECT_EQ(std::vector<uint8_t>(info.begin() + 44, info.end()), std::vector<uint8_t>(12, 0))
            << "nothing after the 44-byte record";
        EXPECT_EQ(info[4], InfoOf(model).keyCount);
    }
}

TEST(SimFirmware, FactoryAreas) {
    SimFirmware firmware(SimModel::Keyboard128);
    const SimMemory& memory = firmware.Memory();
    const std::vector<uint8_t> profile0(memory.lighting.begin(), memory.lighting.begin() + 8);
    EXPECT_EQ(profile0, (std::vector<uint8_t>{1, 5, 2, 255, 1, 0xFF, 0x00, 0x00}));
    EXPECT_NE(memory.lighting[42], memory.lighting[0]) << "profiles start out different";
    EXPECT_EQ(memory.macroArea, std::vector<uint8_t>(12800, 0));
    const std::span<const uint8_t> matrix = firmware.DefaultKeyMatrix();
    ASSERT_EQ(matrix.size(), 512u);
    for (std::ptrdiff_t profile = 0; profile < 3; ++profile) {
        EXPECT_TRUE(
            std::equal(matrix.begin(), matrix.end(), memory.keyMaps.begin() + 512 * profile));
    }
    for (size_t key = 0; key < 170; ++key) {
        const size_t at = 3 * key;
        EXPECT_EQ(memory.keyColours[at] | memory.keyColours[at + 1] << 8 |
                      memory.keyColours[at + 2] << 16,
                  0xFFAA00)
            << "key " << key;
    }
}

TEST(SimFirmware, DefaultMatrixReadsBackInChunks) {
    for (SimModel model : {SimModel::Keyboard126, SimModel::Keyboard128}) {
        SimFirmware firmware(model);
        const uint16_t length = InfoOf(model).keyMapLength;
        std::vector<uint8_t> read;
        for (uint16_t offset = 0; offset < length; offset += 56) {
            const uint8_t chunk = static_cast<uint8_t>(std::min<int>(56, length - offset));
            const std::vector<uint8_t> data =
                ReplyData(Exchange(firmware, Request(0x0F, chunk, offset)));
            read.insert(read.end(), data.begin(), data.begin() + chunk);
        }
        const std::span<const uint8_t> matrix = firmware.DefaultKeyMatrix();
        EXPECT_EQ(read, std::vector<uint8_t>(matrix.begin(), matrix.end()));
    }
}

TEST(SimFirmware, DeviceInfoWriteTakesTheProfileAndKeepsWhatTheFirmwareOwns) {
    SimFirmware firmware(SimModel::Keyboard126);
    std::vector<uint8_t> info = Pattern(kDeviceInfoSize, 0x90);
    info[10] = 2;
    EXPECT_EQ(Exchange(firmware, Request(0x04, 0x2C, 0, info))[7], 0);
    const std::vector<uint8_t> read = ReplyData(Exchange(firmware, Request(0x03, 0x2C, 0)));
    EXPECT_TRUE(std::equal(info.begin(), info.begin() + 8, read.begin()));
    EXPECT_EQ(read[10], 2);
    EXPECT_EQ(read[8] | read[9] << 8, 0x0110);
    EXPECT_EQ(read[11], 100);
    EXPECT_EQ(read[12], 1);
    EXPECT_EQ(firmware.ActiveProfile(), 2);
}

TEST(SimFirmware, RefusedRequestsLeaveMemoryUnchanged) {
    const Packet refused[] = {
        Request(0x04, 0x2C, 0, DeviceInfoWithProfile(3)),
        WithBadChecksum(Request(0x06, 4, 0, {9, 9, 9, 9})),
        Request(0x06, 7, 120, Pattern(7, 1)),
        Request(0x08, 57, 0, Pattern(56, 1)),
        Request(0x0A, 56, 12790, Pattern(56, 1)),
        Request(0x11, 56, 1500, Pattern(56, 1)),
    };
    for (const Packet& request : refused) {
        SimFirmware firmware(SimModel::Keyboard126);
        const SimMemory before = firmware.Memory();
        const Packet reply = Exchange(firmware, request);
        EXPECT_NE(reply[7], 0) << "command " << int{request[3]};
        EXPECT_EQ(firmware.Memory(), before) << "command " << int{request[3]};
        EXPECT_EQ(ReplyData(reply), std::vector<uint8_t>(56, 0));
    }
}

TEST(SimFirmware, TransferBracketIsTrackedNotEnforced) {
    SimFirmware firmware(SimModel::Keyboard126);
    EXPECT_EQ(Exchange(firmware, Request(0x06, 1, 1, {4}))[7], 0) << "a write outside a bracket";
    Exchange(firmware, Request(0x01, 0, 0));
    EXPECT_TRUE(firmware.InTransfer());
    Exchange(firmware, Request(0x02, 0, 0));
    EXPECT_FALSE(firmware.InTransfer());
}

TEST(SimFirmware, BootModeAnswersNothingUntilPowerCycle) {
    SimFirmware firmware(SimModel::Keyboard126);
    Packet enter{};
    enter[0] = 0x04;
    enter[3] = 0xEE;
    enter[4] = 0xEE;
    const SimMemory before = firmware.Memory();
    EXPECT_FALSE(firmware.HandleRequest(enter).has_value());
    EXPECT_TRUE(firmware.InBootMode());
    EXPECT_FALSE(firmware.HandleRequest(Request(0x03, 0x2C, 0)).has_value());
    EXPECT_FALSE(firmware.HandleRequest(Request(0x06, 1, 0, {9})).has_value());
    firmware.PowerCycle();
    EXPECT_FALSE(firmware.InBootMode());
    EXPECT_EQ(Exchange(firmware, Request(0x03, 0x2C, 0))[7], 0);
    EXPECT_EQ(firmware.Memory(), before);
}

TEST(SimFirmware, RequestsOfAnotherReportIdOrShortAreHandledSafely) {
    SimFirmware firmware(SimModel::Keyboard126);
    Packet other = Request(0x03, 0x2C, 0);
    other[0] = 0x05;
    EXPECT_FALSE(firmware.HandleRequest(other).has_value());
    const Packet full = Request(0x01, 0, 0);
    const std::optional<Packet> reply = firmware.HandleRequest(std::span(full).first(8));
    ASSERT_TRUE(reply.has_value()) << "a short request reads as padded with zeros";
    EXPECT_EQ((*reply)[7], 0);
    EXPECT_FALSE(firmware.HandleRequest({}).has_value());
}

TEST(SimFirmware, KeyboardButtonsChangeProfileAndEffectOfTheActiveProfile) {
    SimFirmware firmware(SimModel::Keyboard126);
    EXPECT_TRUE(firmware.SelectProfile(1));
    EXPECT_EQ(firmware.Memory().deviceInfo[10], 1);
    EXPECT_FALSE(firmware.SelectProfile(3));
    EXPECT_FALSE(firmware.SelectProfile(-1));
    EXPECT_EQ(firmware.ActiveProfile(), 1);

    EXPECT_TRUE(firmware.SelectEffect(12));
    EXPECT_EQ(firmware.Memory().lighting[42], 12);
    EXPECT_EQ(firmware.Memory().lighting[0], 1) << "other profiles keep their effect";
    EXPECT_FALSE(firmware.SelectEffect(19)) << "not offered";
    EXPECT_FALSE(firmware.SelectEffect(0));
    EXPECT_EQ(firmware.Memory().lighting[42], 12);
}

TEST(SimFirmware, MacroCapacityFollowsByteEleven) {
    SimFirmware firmware(SimModel::Keyboard126);
    firmware.SetMacroCapacity(2);
    EXPECT_EQ(firmware.Memory().macroArea.size(), 256u);
    EXPECT_EQ(ReplyData(Exchange(firmware, Request(0x03, 0x2C, 0)))[11], 2);
    EXPECT_EQ(Exchange(firmware, Request(0x0A, 1, 255, {1}))[7], 0);
    EXPECT_EQ(Exchange(firmware, Request(0x0A, 1, 256, {1}))[7], 0xFE);
}

}  // namespace
}  // namespace zarvin::sim
