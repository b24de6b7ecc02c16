#include <gtest/gtest.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "device/CommandProtocol.h"
#include "device/HidDevice.h"
#include "keyboard/KeyboardIds.h"
#include "sim/SimKeyboard.h"
#include "support/CommandInterface.h"
#include "support/LinkRig.h"
#include "support/SocketNodeSource.h"

namespace zarvin {
namespace {

using namespace std::chrono_literals;
using sim::SimFirmware;
using sim::SimKeyboard;
using sim::SimMemory;
using sim::SimModel;

using test_support::kQuickTiming;
using test_support::OpenCommandInterface;

// The stand-in keyboard, the command interface opened on it and a connected link, with the
// program's own exchange timing unless a test asks for another.
struct Rig : test_support::LinkRig {
    explicit Rig(SimModel model = SimModel::Keyboard126, ExchangeTiming timing = {})
        : LinkRig(model, timing) {}

    // For a request that gets no reply, whose arrival nothing else waits for.
    std::vector<Packet> SentOnceArrived(size_t count) const {
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (Sent().size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        return Sent();
    }
};

// Bytes that differ from their neighbours and from the stand-in's factory contents.
std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(seed + i * 7);
    }
    return bytes;
}

uint16_t SumOfBytes3To63(const Packet& packet) {
    return static_cast<uint16_t>(std::accumulate(packet.begin() + 3, packet.end(), 0U));
}

uint16_t ChecksumField(const Packet& packet) {
    return static_cast<uint16_t>(packet[1] | packet[2] << 8);
}

uint16_t OffsetField(const Packet& packet) {
    return static_cast<uint16_t>(packet[5] | packet[6] << 8);
}

std::vector<uint8_t> Slice(std::span<const uint8_t> bytes, size_t from, size_t count) {
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(from);
    return {first, first + static_cast<std::ptrdiff_t>(count)};
}

struct Operation {
    std::string name;
    std::function<int(CommandLink&)> run;
};

std::vector<Operation> AllOperations() {
    return {
        {"BeginTransfer", [](CommandLink& l) { return BeginTransfer(l); }},
        {"EndTransfer", [](CommandLink& l) { return EndTransfer(l); }},
        {"ReadDeviceInfo",
         [](CommandLink& l) {
             std::array<uint8_t, kDeviceInfoSize> info{};
             return ReadDeviceInfo(l, info);
         }},
        {"WriteDeviceInfo",
         [](CommandLink& l) {
             const std::array<uint8_t, kDeviceInfoSize> info{};
             return WriteDeviceInfo(l, info);
         }},
        {"ReadLighting",
         [](CommandLink& l) {
             std::array<uint8_t, kPacketDataSize> buffer{};
             return ReadLighting(l, buffer, 42, 0);
         }},
        {"WriteLighting",
         [](CommandLink& l) {
             const std::array<uint8_t, 2> data{1, 2};
             return WriteLighting(l, data, 2, 0);
         }},
        {"ReadKeyMap",
         [](CommandLink& l) {
             std::vector<uint8_t> buffer(512);
             return ReadKeyMap(l, buffer, 0);
         }},
        {"WriteKeyMap",
         [](CommandLink& l) {
             const std::vector<uint8_t> data(512);
             return WriteKeyMap(l, data, 0);
         }},
        {"ReadMacroArea",
         [](CommandLink& l) {
             std::vector<uint8_t> buffer(100);
             return ReadMacroArea(l, buffer, buffer.size());
         }},
        {"WriteMacroArea",
         [](CommandLink& l) {
             const std::vector<uint8_t> data(100);
             return WriteMacroArea(l, data, data.size());
         }},
        {"Command0B", [](CommandLink& l) { return Command0B(l); }},
        {"Command0C", [](CommandLink& l) { return Command0C(l); }},
        {"Command0D", [](CommandLink& l) { return Command0D(l); }},
        {"Command0E", [](CommandLink& l) { return Command0E(l); }},
        {"ReadDefaultKeyMap",
         [](CommandLink& l) {
             std::vector<uint8_t> buffer(512);
             return ReadDefaultKeyMap(l, buffer);
         }},
        {"ReadKeyColours",
         [](CommandLink& l) {
             std::array<uint8_t, kPacketDataSize> buffer{};
             return ReadKeyColours(l, buffer, 54, 0, 0);
         }},
        {"WriteKeyColours",
         [](CommandLink& l) {
             const std::array<uint8_t, 3> data{1, 2, 3};
             return WriteKeyColours(l, data, 3, 0, 0);
         }},
        {"ReadLightingWord",
         [](CommandLink& l) {
             uint16_t value = 0;
             return ReadLightingWord(l, value);
         }},
        {"WriteLightingWord", [](CommandLink& l) { return WriteLightingWord(l, 0x0102); }},
        {"EnterBootMode", [](CommandLink& l) { return EnterBootMode(l); }},
        {"ExchangeCommand",
         [](CommandLink& l) {
             Packet request{kCommandReportId, 1, 0, Command::BeginTransfer};
             Packet reply{};
             return l.ExchangeCommand(request.data(), request.size(), reply.data(), reply.size());
         }},
        {"SendCommand",
         [](CommandLink& l) {
             Packet request{kCommandReportId, 1, 0, Command::BeginTransfer};
             return l.SendCommand(request.data(), request.size());
         }},
    };
}

TEST(CommandProtocolTest, EveryOperationReturnsZeroAndSendsNothingWhenNotConnected) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    rig.link.SetConnected(false);
    for (const Operation& operation : AllOperations()) {
        EXPECT_EQ(operation.run(rig.link), CommandResult::NoReply) << operation.name;
    }
    // Packets arrive in order, so once this one is answered any stray one would be logged.
    rig.link.SetConnected(true);
    ASSERT_EQ(Command0D(rig.link), CommandResult::Success);
    ASSERT_EQ(rig.Sent().size(), 1u);
    EXPECT_EQ(rig.Sent()[0][PacketByte::Command], Command::Command0D);
}

TEST(CommandProtocolTest, BeginTransferPacketIsExact) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    ASSERT_EQ(BeginTransfer(rig.link), CommandResult::Success);
    const Packet expected{0x04, 0x01, 0x00, 0x01};
    ASSERT_EQ(rig.Sent().size(), 1u);
    EXPECT_EQ(rig.Sent()[0], expected);
}

TEST(CommandProtocolTest, EnterBootModePacketKeepsItsChecksumZero) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    EXPECT_EQ(EnterBootMode(rig.link), 1);
    const Packet expected{0x04, 0x00, 0x00, 0xEE, 0xEE};
    const std::vector<Packet> sent = rig.SentOnceArrived(1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], expected);
}

// Command, byte 4, offset and data of each single-packet operation, and a checksum the
// keyboard accepts.
TEST(CommandProtocolTest, SinglePacketOperationsFillTheirFields) {
    struct Case {
        Operation operation;
        uint8_t command;
        uint8_t lengthByte;
        uint16_t offset;
        std::vector<uint8_t> data;
    };
    const std::vector<uint8_t> info = [] {
        std::vector<uint8_t> bytes(kDeviceInfoSize);
        for (size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<uint8_t>(i % 3);
        }
        return bytes;
    }();
    const std::vector<Case> cases = {
        {{"EndTransfer", [](CommandLink& l) { return EndTransfer(l); }}, 0x02, 0, 0, {}},
        {{"ReadDeviceInfo",
          [](CommandLink& l) {
              std::array<uint8_t, kDeviceInfoSize> buffer{};
              return ReadDeviceInfo(l, buffer);
          }},
         0x03,
         0x2C,
         0,
         {}},
        {{"WriteDeviceInfo",
          [&info](CommandLink& l) {
              return WriteDeviceInfo(l, std::span<const uint8_t, kDeviceInfoSize>(info));
          }},
         0x04,
         0x2C,
         0,
         info},
        {{"ReadLighting",
          [](CommandLink& l) {
              std::array<uint8_t, kPacketDataSize> buffer{};
              return ReadLighting(l, buffer, 42, 84);
          }},
         0x05,
         42,
         84,
         {}},
        {{"WriteLighting",
          [](CommandLink& l) {
              const std::array<uint8_t, 8> data{9, 8, 7, 6, 5, 4, 3, 2};
              return WriteLighting(l, data, 5, 43);
          }},
         0x06,
         5,
         43,
         {9, 8, 7, 6, 5}},
        {{"Command0B", [](CommandLink& l) { return Command0B(l); }}, 0x0B, 0, 0, {}},
        {{"Command0C", [](CommandLink& l) { return Command0C(l); }}, 0x0C, 0, 0, {}},
        {{"Command0D", [](CommandLink& l) { return Command0D(l); }}, 0x0D, 0, 0, {}},
        {{"Command0E", [](CommandLink& l) { return Command0E(l); }}, 0x0E, 0, 0, {}},
        {{"ReadKeyColours",
          [](CommandLink& l) {
              std::array<uint8_t, kPacketDataSize> buffer{};
              return ReadKeyColours(l, buffer, 9, 4, 2);
          }},
         0x10,
         9,
         512 * 2 + 3 * 4,
         {}},
        {{"WriteKeyColours",
          [](CommandLink& l) {
              const std::array<uint8_t, 6> data{0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
              return WriteKeyColours(l, data, 6, 10, 1);
          }},
         0x11,
         6,
         512 * 1 + 3 * 10,
         {0x10, 0x20, 0x30, 0x40, 0x50, 0x60}},
        {{"ReadLightingWord",
          [](CommandLink& l) {
              uint16_t value = 0;
              return ReadLightingWord(l, value);
          }},
         0x05,
         0x02,
         0,
         {}},
        {{"WriteLightingWord", [](CommandLink& l) { return WriteLightingWord(l, 0x1234); }},
         0x06,
         0x02,
         0,
         {0x34, 0x12}},
    };
    for (const Case& c : cases) {
        Rig rig;
        ASSERT_TRUE(rig.opened);
        EXPECT_EQ(c.operation.run(rig.link), CommandResult::Success) << c.operation.name;
        Packet expected{kCommandReportId,
                        0,
                        0,
                        c.command,
                        c.lengthByte,
                        static_cast<uint8_t>(c.offset & 0xFF),
                        static_cast<uint8_t>(c.offset >> 8)};
        std::copy(c.data.begin(), c.data.end(), expected.begin() + 8);
        const uint16_t checksum = SumOfBytes3To63(expected);
        expected[1] = static_cast<uint8_t>(checksum & 0xFF);
        expected[2] = static_cast<uint8_t>(checksum >> 8);
        ASSERT_EQ(rig.Sent().size(), 1u) << c.operation.name;
        EXPECT_EQ(rig.Sent()[0], expected) << c.operation.name;
    }
}

TEST(CommandProtocolTest, ExchangePadsShortRequestsAndCutsLongOnes) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    const std::vector<uint8_t> shortRequest{0x04, 0x01, 0x00, 0x01};
    std::vector<uint8_t> longRequest(70, 0xEE);
    std::fill(longRequest.begin(), longRequest.begin() + 64, 0);
    std::copy(shortRequest.begin(), shortRequest.end(), longRequest.begin());
    Packet reply{};

    for (const auto& request : {shortRequest, longRequest}) {
        rig.keyboard.ClearLog();
        EXPECT_EQ(
            rig.link.ExchangeCommand(request.data(), request.size(), reply.data(), reply.size()),
            CommandResult::Success);
        const Packet expected{0x04, 0x01, 0x00, 0x01};
        ASSERT_EQ(rig.Sent().size(), 1u);
        EXPECT_EQ(rig.Sent()[0], expected);
        EXPECT_EQ(reply[PacketByte::ReportId], kCommandReportId);
        EXPECT_EQ(reply[PacketByte::Command], Command::BeginTransfer);
    }
}

// Offsets base + chunk offset, 56-byte chunks and a short last one that still carries the
// previous chunk's bytes past its length, summed into its checksum.
TEST(CommandProtocolTest, KeyMapWriteTravelsInChunks) {
    struct Case {
        SimModel model;
        int profile;
        size_t packets;
        size_t lastLength;
    };
    for (const Case c :
         {Case{SimModel::Keyboard126, 2, 7, 42}, Case{SimModel::Keyboard128, 1, 10, 8}}) {
        Rig rig(c.model);
        ASSERT_TRUE(rig.opened);
        const size_t blockLength = sim::InfoOf(c.model).keyMapLength;
        const size_t base = blockLength * static_cast<size_t>(c.profile);
        const std::vector<uint8_t> keyMap = Pattern(blockLength, 0x31);

        EXPECT_EQ(WriteKeyMap(rig.link, keyMap, c.profile), CommandResult::Success);

        const std::vector<Packet> sent = rig.Sent();
        ASSERT_EQ(sent.size(), c.packets);
        for (size_t k = 0; k < sent.size(); ++k) {
            const Packet& packet = sent[k];
            const size_t length = k + 1 < sent.size() ? 56 : c.lastLength;
            EXPECT_EQ(packet[PacketByte::Command], Command::WriteKeyMap);
            EXPECT_EQ(packet[PacketByte::Length], length) << "chunk " << k;
            EXPECT_EQ(OffsetField(packet), base + 56 * k) << "chunk " << k;
            EXPECT_EQ(ChecksumField(packet), SumOfBytes3To63(packet)) << "chunk " << k;
            EXPECT_EQ(Slice(packet, 8, length), Slice(keyMap, 56 * k, length)) << "chunk " << k;
        }
        const Packet& last = sent.back();
        const Packet& previous = sent[sent.size() - 2];
        EXPECT_EQ(Slice(last, 8 + c.lastLength, 56 - c.lastLength),
                  Slice(previous, 8 + c.lastLength, 56 - c.lastLength));
        EXPECT_EQ(Slice(rig.Memory().keyMaps, base, blockLength), keyMap);
    }
}

TEST(CommandProtocolTest, KeyMapTransfersRefuseProfilesOutsideZeroToTwo) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    std::vector<uint8_t> buffer(378);
    EXPECT_EQ(ReadKeyMap(rig.link, buffer, 3), CommandResult::BadProfile);
    EXPECT_EQ(ReadKeyMap(rig.link, buffer, -1), CommandResult::BadProfile);
    EXPECT_EQ(WriteKeyMap(rig.link, buffer, 3), CommandResult::BadProfile);
    EXPECT_TRUE(rig.Sent().empty());
}

TEST(CommandProtocolTest, EmptyMacroTransferSucceedsWithoutSending) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    std::vector<uint8_t> buffer(56);
    EXPECT_EQ(ReadMacroArea(rig.link, buffer, 0), CommandResult::Success);
    EXPECT_EQ(WriteMacroArea(rig.link, buffer, 0), CommandResult::Success);
    EXPECT_TRUE(rig.Sent().empty());
}

// Calls whose buffers cannot hold what they ask for are turned away before anything is sent.
TEST(CommandProtocolTest, CallsThatWouldOverrunTheirBuffersSendNothing) {
    const std::vector<Operation> calls = {
        {"ReadKeyMap into 377 bytes",
         [](CommandLink& l) {
             std::vector<uint8_t> buffer(377);
             return ReadKeyMap(l, buffer, 0);
         }},
        {"WriteKeyMap from 377 bytes",
         [](CommandLink& l) {
             const std::vector<uint8_t> data(377);
             return WriteKeyMap(l, data, 0);
         }},
        {"ReadDefaultKeyMap into 377 bytes",
         [](CommandLink& l) {
             std::vector<uint8_t> buffer(377);
             return ReadDefaultKeyMap(l, buffer);
         }},
        {"ReadMacroArea count past the buffer",
         [](CommandLink& l) {
             std::vector<uint8_t> buffer(100);
             return ReadMacroArea(l, buffer, 101);
         }},
        {"WriteMacroArea count past the data",
         [](CommandLink& l) {
             const std::vector<uint8_t> data(100);
             return WriteMacroArea(l, data, 101);
         }},
        {"WriteMacroArea past the 16-bit offsets",
         [](CommandLink& l) {
             const std::vector<uint8_t> data(0x10001);
             return WriteMacroArea(l, data, data.size());
         }},
        {"WriteLighting length past the data",
         [](CommandLink& l) {
             const std::array<uint8_t, 4> data{};
             return WriteLighting(l, data, 5, 0);
         }},
        {"WriteLighting length 57",
         [](CommandLink& l) {
             const std::vector<uint8_t> data(64);
             return WriteLighting(l, data, 57, 0);
         }},
        {"ReadLighting length 57",
         [](CommandLink& l) {
             std::array<uint8_t, kPacketDataSize> buffer{};
             return ReadLighting(l, buffer, 57, 0);
         }},
        {"WriteKeyColours length past the data",
         [](CommandLink& l) {
             const std::array<uint8_t, 3> data{};
             return WriteKeyColours(l, data, 6, 0, 0);
         }},
        {"WriteKeyColours before offset 0",
         [](CommandLink& l) {
             const std::array<uint8_t, 3> data{};
             return WriteKeyColours(l, data, 3, -1, 0);
         }},
        {"ReadKeyColours past the 16-bit offsets",
         [](CommandLink& l) {
             std::array<uint8_t, kPacketDataSize> buffer{};
             return ReadKeyColours(l, buffer, 3, 30000, 2);
         }},
    };
    Rig rig;
    ASSERT_TRUE(rig.opened);
    for (const Operation& call : calls) {
        EXPECT_EQ(call.run(rig.link), CommandResult::NoReply) << call.name;
    }
    EXPECT_TRUE(rig.Sent().empty());
}

TEST(CommandProtocolTest, RefusedChunkEndsTheTransferAtOnce) {
    struct Case {
        uint8_t status;
        int result;
    };
    for (const Case c :
         {Case{0xFE, CommandResult::RefusedFE}, Case{0xFF, CommandResult::RefusedFF}}) {
        Rig rig;
        ASSERT_TRUE(rig.opened);
        const SimMemory before = rig.Memory();
        const std::vector<uint8_t> keyMap = Pattern(378, 0x55);
        rig.keyboard.RefusePacket(2, c.status);

        EXPECT_EQ(WriteKeyMap(rig.link, keyMap, 1), c.result);

        EXPECT_EQ(rig.Sent().size(), 2u);
        // The first chunk stays written; nothing is rolled back.
        const SimMemory after = rig.Memory();
        EXPECT_EQ(Slice(after.keyMaps, 378, 56), Slice(keyMap, 0, 56));
        EXPECT_EQ(Slice(after.keyMaps, 378 + 56, 56), Slice(before.keyMaps, 378 + 56, 56));
    }
}

TEST(CommandProtocolTest, KeyMapLengthIsReadAgainBeforeEachChunk) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    // The model changes under a transfer after its first chunk went out.
    rig.device.SetReportObserver([&](bool outgoing, std::span<const uint8_t>) {
        if (outgoing) {
            rig.link.SetGeometry({112, 112});
        }
    });
    std::vector<uint8_t> buffer(378);
    EXPECT_EQ(ReadDefaultKeyMap(rig.link, buffer), CommandResult::Success);
    EXPECT_EQ(rig.Sent().size(), 2u);
}

TEST(CommandProtocolTest, UnansweredRequestIsSentAgainUntilAnswered) {
    Rig rig(SimModel::Keyboard126, kQuickTiming);
    ASSERT_TRUE(rig.opened);
    rig.keyboard.StaySilentFor(2);
    std::array<uint8_t, kDeviceInfoSize> info{};

    EXPECT_EQ(ReadDeviceInfo(rig.link, info), CommandResult::Success);

    const std::vector<Packet> sent = rig.Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0][PacketByte::Command], Command::ReadDeviceInfo);
    EXPECT_EQ(sent[1], sent[0]);
    EXPECT_EQ(sent[2], sent[0]);
    EXPECT_EQ(Slice(info, 0, kDeviceInfoSize), Slice(rig.Memory().deviceInfo, 0, kDeviceInfoSize));
}

TEST(CommandProtocolTest, SilentKeyboardGivesNoReplyAfterFourSends) {
    Rig rig(SimModel::Keyboard126, kQuickTiming);
    ASSERT_TRUE(rig.opened);
    rig.keyboard.StaySilentFor(1000);

    EXPECT_EQ(BeginTransfer(rig.link), CommandResult::NoReply);
    EXPECT_EQ(rig.Sent().size(), 4u);
}

TEST(CommandProtocolTest, FailedWriteIsNotRetried) {
    Rig rig(SimModel::Keyboard126, kQuickTiming);
    ASSERT_TRUE(rig.opened);
    rig.keyboard.FailWrites(true);
    EXPECT_EQ(BeginTransfer(rig.link), CommandResult::WriteFailed);
    std::vector<uint8_t> keyMap(378);
    EXPECT_EQ(WriteKeyMap(rig.link, keyMap, 0), CommandResult::WriteFailed);
    EXPECT_TRUE(rig.Sent().empty());
}

// A reply that comes after its exchange gave up is not taken for the next request's reply.
TEST(CommandProtocolTest, LateReplyIsNotTakenForTheNextOne) {
    Rig rig(SimModel::Keyboard126, kQuickTiming);
    ASSERT_TRUE(rig.opened);
    rig.EditMemory([](SimMemory& memory) {
        for (size_t i = 0; i < memory.lighting.size(); ++i) {
            memory.lighting[i] = static_cast<uint8_t>(i + 1);
        }
    });
    // Each reply comes a little after the read gives up: the second send's read takes the
    // first send's reply, and the second reply is left over.
    rig.keyboard.SetReportDelay(kQuickTiming.readTimeout * 3 / 2);
    std::array<uint8_t, kPacketDataSize> data{};
    ASSERT_EQ(ReadLighting(rig.link, data, 42, 0), CommandResult::Success);
    EXPECT_EQ(data[0], 1);
    std::this_thread::sleep_for(kQuickTiming.readTimeout * 5);
    rig.keyboard.SetReportDelay(0ms);

    ASSERT_EQ(ReadLighting(rig.link, data, 42, 84), CommandResult::Success);
    EXPECT_EQ(data[0], 85);
}

// Reports of another id can share the command node; the reply is the next report of id 4.
TEST(CommandProtocolTest, ReportsOfAnotherIdAreNotTheReply) {
    SimKeyboard keyboard;
    std::vector<HidNodeInfo> nodes;
    ASSERT_TRUE(keyboard.EnumerateNodes(nodes));
    test_support::SocketNodeSource source;
    for (const HidNodeInfo& node : nodes) {
        source.AddNode(node);
    }
    HidDevice device(source);
    ASSERT_TRUE(OpenCommandInterface(device));
    // The program's own time-outs: the keyboard side answers one request only, so a thread that
    // starts late must not make the link send again and drain the reply as stale.
    CommandLink link(device, ExchangeTiming{});
    link.SetConnected(true);
    const std::string node = device.DevicePath().substr(0, device.DevicePath().find('#'));

    std::thread keyboardSide([&] {
        Packet request{};
        if (::recv(source.DeviceEnd(node), request.data(), request.size(), 0) != 64) {
            return;
        }
        Packet foreign{};
        foreign.fill(0x01);
        Packet reply = request;
        reply[PacketByte::Status] = 0;
        reply[PacketByte::Data] = 0x5A;
        ::send(source.DeviceEnd(node), foreign.data(), foreign.size(), 0);
        ::send(source.DeviceEnd(node), reply.data(), reply.size(), 0);
    });
    std::array<uint8_t, kPacketDataSize> data{};
    EXPECT_EQ(ReadLighting(link, data, 2, 0), CommandResult::Success);
    keyboardSide.join();
    EXPECT_EQ(data[0], 0x5A);
}

TEST(CommandProtocolTest, SingleReadsCopyTheirWholeRecordAndNoMore) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    rig.EditMemory([](SimMemory& memory) {
        const std::vector<uint8_t> lighting = Pattern(memory.lighting.size(), 0x11);
        std::copy(lighting.begin(), lighting.end(), memory.lighting.begin());
        const std::vector<uint8_t> colours = Pattern(memory.keyColours.size(), 0x22);
        std::copy(colours.begin(), colours.end(), memory.keyColours.begin());
        memory.deviceInfo[kDeviceInfoSize - 1] = 0x77;
    });
    const SimMemory memory = rig.Memory();
    constexpr uint8_t kGuard = 0xAA;

    std::array<uint8_t, kDeviceInfoSize + 4> info{};
    info.fill(kGuard);
    EXPECT_EQ(
        ReadDeviceInfo(rig.link, std::span<uint8_t, kDeviceInfoSize>(info.data(), kDeviceInfoSize)),
        CommandResult::Success);
    EXPECT_EQ(Slice(info, 0, kDeviceInfoSize), Slice(memory.deviceInfo, 0, kDeviceInfoSize));
    EXPECT_EQ(Slice(info, kDeviceInfoSize, 4), std::vector<uint8_t>(4, kGuard));

    std::array<uint8_t, kPacketDataSize> lighting{};
    EXPECT_EQ(ReadLighting(rig.link, lighting, 2, 42), CommandResult::Success);
    EXPECT_EQ(Slice(lighting, 0, kPacketDataSize), Slice(memory.lighting, 42, kPacketDataSize));

    std::array<uint8_t, kPacketDataSize> colours{};
    EXPECT_EQ(ReadKeyColours(rig.link, colours, 3, 5, 2), CommandResult::Success);
    EXPECT_EQ(Slice(colours, 0, kPacketDataSize),
              Slice(memory.keyColours, 512 * 2 + 15, kPacketDataSize));
}

TEST(CommandProtocolTest, KeyMapsAndDefaultMatrixReadBackFromTheKeyboard) {
    for (const SimModel model : {SimModel::Keyboard126, SimModel::Keyboard128}) {
        Rig rig(model);
        ASSERT_TRUE(rig.opened);
        const size_t blockLength = sim::InfoOf(model).keyMapLength;
        const std::vector<uint8_t> keyMap = Pattern(blockLength, 0x40);
        ASSERT_EQ(WriteKeyMap(rig.link, keyMap, 1), CommandResult::Success);

        std::vector<uint8_t> readBack(blockLength);
        EXPECT_EQ(ReadKeyMap(rig.link, readBack, 1), CommandResult::Success);
        EXPECT_EQ(readBack, keyMap);
        EXPECT_EQ(ReadKeyMap(rig.link, readBack, 2), CommandResult::Success);
        EXPECT_EQ(readBack, Slice(rig.Memory().keyMaps, 2 * blockLength, blockLength));

        std::vector<uint8_t> matrix(blockLength);
        EXPECT_EQ(ReadDefaultKeyMap(rig.link, matrix), CommandResult::Success);
        std::vector<uint8_t> factory;
        rig.keyboard.WithFirmware([&](SimFirmware& firmware) {
            const auto bytes = firmware.DefaultKeyMatrix();
            factory.assign(bytes.begin(), bytes.end());
        });
        EXPECT_EQ(matrix, factory);
    }
}

TEST(CommandProtocolTest, MacroAreaRoundTrips) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    const std::vector<uint8_t> macros = Pattern(300, 0x03);
    ASSERT_EQ(WriteMacroArea(rig.link, macros, macros.size()), CommandResult::Success);
    EXPECT_EQ(Slice(rig.Memory().macroArea, 0, macros.size()), macros);

    std::vector<uint8_t> readBack(macros.size());
    EXPECT_EQ(ReadMacroArea(rig.link, readBack, readBack.size()), CommandResult::Success);
    EXPECT_EQ(readBack, macros);
}

TEST(CommandProtocolTest, LightingAndKeyColoursRoundTrip) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    const std::vector<uint8_t> record = Pattern(42, 0x61);
    const std::vector<uint8_t> colours = Pattern(54, 0x72);
    ASSERT_EQ(BeginTransfer(rig.link), CommandResult::Success);
    ASSERT_EQ(WriteLighting(rig.link, record, 42, 42), CommandResult::Success);
    ASSERT_EQ(WriteKeyColours(rig.link, colours, 54, 7, 2), CommandResult::Success);
    ASSERT_EQ(WriteLightingWord(rig.link, 0xA5C3), CommandResult::Success);
    ASSERT_EQ(EndTransfer(rig.link), CommandResult::Success);

    const SimMemory memory = rig.Memory();
    EXPECT_EQ(Slice(memory.lighting, 42, 42), record);
    EXPECT_EQ(Slice(memory.keyColours, 512 * 2 + 21, 54), colours);

    std::array<uint8_t, kPacketDataSize> buffer{};
    EXPECT_EQ(ReadLighting(rig.link, buffer, 42, 42), CommandResult::Success);
    EXPECT_EQ(Slice(buffer, 0, 42), record);
    EXPECT_EQ(ReadKeyColours(rig.link, buffer, 54, 7, 2), CommandResult::Success);
    EXPECT_EQ(Slice(buffer, 0, 54), colours);
    uint16_t word = 0;
    EXPECT_EQ(ReadLightingWord(rig.link, word), CommandResult::Success);
    EXPECT_EQ(word, 0xA5C3);
}

TEST(CommandProtocolTest, HoldingTheLockKeepsABatchTogether) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    int otherResult = 0;
    std::thread other;
    {
        std::lock_guard batch(rig.link.Lock());
        EXPECT_EQ(BeginTransfer(rig.link), CommandResult::Success);
        other = std::thread([&] { otherResult = Command0D(rig.link); });
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(EndTransfer(rig.link), CommandResult::Success);
    }
    other.join();
    EXPECT_EQ(otherResult, CommandResult::Success);
    std::vector<uint8_t> commands;
    for (const Packet& packet : rig.Sent()) {
        commands.push_back(packet[PacketByte::Command]);
    }
    EXPECT_EQ(commands, (std::vector<uint8_t>{Command::BeginTransfer, Command::EndTransfer,
                                              Command::Command0D}));
}

TEST(CommandProtocolTest, ConcurrentExchangesEachGetTheirOwnReply) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    rig.EditMemory([](SimMemory& memory) {
        for (size_t i = 0; i < memory.lighting.size(); ++i) {
            memory.lighting[i] = static_cast<uint8_t>(i + 1);
        }
    });
    // A USB frame before each reply gives the other thread time to come between.
    rig.keyboard.SetReportDelay(1ms);
    const auto readManyTimes = [&rig](uint16_t offset, int& mismatches) {
        for (int i = 0; i < 100; ++i) {
            std::array<uint8_t, kPacketDataSize> buffer{};
            if (ReadLighting(rig.link, buffer, 56, offset) != CommandResult::Success ||
                buffer[0] != offset + 1) {
                ++mismatches;
            }
        }
    };
    int mismatchesAt0 = 0;
    int mismatchesAt60 = 0;
    std::thread first(readManyTimes, uint16_t{0}, std::ref(mismatchesAt0));
    std::thread second(readManyTimes, uint16_t{60}, std::ref(mismatchesAt60));
    first.join();
    second.join();
    EXPECT_EQ(mismatchesAt0, 0);
    EXPECT_EQ(mismatchesAt60, 0);
}

}  // namespace
}  // namespace zarvin
