// Several programs on one keyboard, and replies that come late: each exchange takes its own
// reply or fails, never another request's.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "device/CommandProtocol.h"
#include "device/HidDevice.h"
#include "sim/SimFirmware.h"
#include "sim/SimModel.h"
#include "support/BroadcastKernel.h"
#include "support/CommandInterface.h"

namespace zarvin {
namespace {

using namespace std::chrono_literals;
using test_support::BroadcastKernel;
using test_support::KernelOptions;

constexpr auto kModel = sim::SimModel::Keyboard128;

// One program's connection to the keyboard: its own descriptor on the node and its own link.
struct Program {
    explicit Program(BroadcastKernel& kernel, ExchangeTiming timing = {})
        : device(kernel), link(device, timing) {
        opened = test_support::OpenCommandInterface(device);
        const uint16_t keyMapLength = sim::InfoOf(kModel).keyMapLength;
        link.SetGeometry({keyMapLength, keyMapLength});
        link.SetConnected(true);
    }

    HidDevice device;
    CommandLink link;
    bool opened = false;
};

// Contents no shifted or crossed chunk could reproduce.
void FillWithCounting(sim::SimMemory& memory) {
    for (size_t i = 0; i < memory.keyMaps.size(); ++i) {
        memory.keyMaps[i] = static_cast<uint8_t>(i * 7 + i / 251);
    }
    for (size_t i = 0; i < memory.macroArea.size(); ++i) {
        memory.macroArea[i] = static_cast<uint8_t>(i * 13 + i / 241 + 1);
    }
}

struct Backup {
    int result = CommandResult::NoReply;
    std::vector<uint8_t> bytes;
};

// What zarvinctl backup reads, as one hold of the command lock.
Backup TakeBackup(CommandLink& link, size_t macroBytes) {
    const std::lock_guard whole(link.Lock());
    Backup backup;
    std::array<uint8_t, kDeviceInfoSize> info{};
    backup.result = ReadDeviceInfo(link, info);
    backup.bytes.assign(info.begin(), info.end());
    for (int profile = 0; profile < kProfileCount && backup.result == CommandResult::Success;
         ++profile) {
        std::vector<uint8_t> keyMap(link.Geometry().blockLength);
        backup.result = ReadKeyMap(link, keyMap, profile);
        backup.bytes.insert(backup.bytes.end(), keyMap.begin(), keyMap.end());
    }
    if (backup.result == CommandResult::Success) {
        std::vector<uint8_t> macros(macroBytes);
        backup.result = ReadMacroArea(link, macros, macroBytes);
        backup.bytes.insert(backup.bytes.end(), macros.begin(), macros.end());
    }
    return backup;
}

TEST(SharedKeyboard, TwoBackupsAtOnceEachMatchABackupMadeAlone) {
    struct Case {
        const char* name;
        KernelOptions kernel;
    };
    // A keyboard that echoes is safe by the replies alone, even beside a program that takes no
    // lock; one that does not echo is safe by the lock.
    const Case cases[] = {
        {"echoing keyboard, programs without a common lock", {.echo = true, .sharedLock = false}},
        {"keyboard without echo, programs that lock the node", {.echo = false, .sharedLock = true}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        BroadcastKernel kernel(kModel, test.kernel);
        kernel.EditMemory(FillWithCounting);
        const size_t macroBytes = kernel.Memory().macroArea.size();

        Backup alone;
        {
            Program program(kernel);
            ASSERT_TRUE(program.opened);
            alone = TakeBackup(program.link, macroBytes);
        }
        ASSERT_EQ(alone.result, CommandResult::Success);

        for (int round = 0; round < 3; ++round) {
            Program first(kernel);
            Program second(kernel);
            ASSERT_TRUE(first.opened && second.opened);
            Backup firstBackup;
            Backup secondBackup;
            std::thread other([&] { secondBackup = TakeBackup(second.link, macroBytes); });
            firstBackup = TakeBackup(first.link, macroBytes);
            other.join();

            int succeeded = 0;
            for (const Backup* backup : {&firstBackup, &secondBackup}) {
                if (backup->result == CommandResult::Success) {
                    ++succeeded;
                    EXPECT_EQ(backup->bytes, alone.bytes) << "round " << round;
                }
            }
            EXPECT_GE(succeeded, 1) << "round " << round;
        }
    }
}

// The reply to the second request (chunk 1) is held back until the fourth: the read times out
// and sends chunk 1 again, whose reply comes at once, and the late reply arrives while chunk 2
// is awaited.
TEST(SharedKeyboard, ALateReplyNeverLandsInAnotherChunk) {
    struct Case {
        const char* name;
        bool echo;
        int result;
        ReplyEcho learnt;
    };
    const Case cases[] = {
        {"echoing keyboard: the late reply is dropped", true, CommandResult::Success,
         ReplyEcho::Echoed},
        {"keyboard without echo: the read fails", false, CommandResult::NoReply,
         ReplyEcho::NotEchoed},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        BroadcastKernel kernel(kModel, {.echo = test.echo});
        kernel.EditMemory(FillWithCounting);
        kernel.HoldReply(2, 4);
        Program program(kernel, ExchangeTiming{.writeTimeout = 200ms, .readTimeout = 30ms});
        ASSERT_TRUE(program.opened);
        EXPECT_EQ(program.link.Echo(), ReplyEcho::Unknown);

        std::vector<uint8_t> keyMap(program.link.Geometry().blockLength);
        ASSERT_EQ(ReadKeyMap(program.link, keyMap, 1), test.result);
        EXPECT_EQ(program.link.Echo(), test.learnt);
        const std::vector<BroadcastKernel::Request> received = kernel.Received();
        ASSERT_GE(received.size(), 3u);
        EXPECT_EQ(received[2].packet, received[1].packet);
        if (test.result == CommandResult::Success) {
            const std::vector<uint8_t>& keyMaps = kernel.Memory().keyMaps;
            const auto profile1 = keyMaps.begin() + static_cast<std::ptrdiff_t>(keyMap.size());
            EXPECT_EQ(keyMap, std::vector<uint8_t>(profile1, profile1 + static_cast<std::ptrdiff_t>(
                                                                            keyMap.size())));
        } else {
            EXPECT_EQ(received.size(), 3u) << "the read goes on after chunk 1 was sent twice";
        }

        program.link.SetConnected(true);
        EXPECT_EQ(program.link.Echo(), ReplyEcho::Unknown) << "a new connection learns again";
    }
}

// A new connection learns the echo again, and the first reply it sees may be a late one from
// before it: the reply to the first request (device information) is held back until the third,
// the key map's first chunk, whose own reply is held until the fifth. That late reply echoes an
// earlier request of this program, so the keyboard echoes: it is dropped, not taken as the
// chunk, and the chunk is sent again.
TEST(SharedKeyboard, AReplyFromBeforeANewConnectionIsNeverTakenForTheKeyboardsWay) {
    BroadcastKernel kernel(kModel);
    kernel.EditMemory(FillWithCounting);
    kernel.HoldReply(1, 3);
    kernel.HoldReply(3, 5);
    Program program(kernel, ExchangeTiming{.writeTimeout = 200ms, .readTimeout = 30ms});
    ASSERT_TRUE(program.opened);
    std::array<uint8_t, kDeviceInfoSize> info{};
    ASSERT_EQ(ReadDeviceInfo(program.link, info), CommandResult::Success);
    ASSERT_EQ(program.link.Echo(), ReplyEcho::Echoed);

    program.link.SetConnected(true);
    std::vector<uint8_t> keyMap(program.link.Geometry().blockLength);
    ASSERT_EQ(ReadKeyMap(program.link, keyMap, 1), CommandResult::Success);
    EXPECT_EQ(program.link.Echo(), ReplyEcho::Echoed);
    const std::vector<uint8_t>& keyMaps = kernel.Memory().keyMaps;
    const auto profile1 = keyMaps.begin() + static_cast<std::ptrdiff_t>(keyMap.size());
    EXPECT_EQ(keyMap, std::vector<uint8_t>(profile1, profile1 + static_cast<std::ptrdiff_t>(
                                                                    keyMap.size())));
}

// A program that holds the keyboard keeps another one waiting, for the whole of its hold; one
// that holds it past the other's time-out makes the other fail with nothing sent.
TEST(SharedKeyboard, ProgramsQueueForTheKeyboardWithinTheTimeOut) {
    BroadcastKernel kernel(kModel);
    Program holder(kernel);
    Program impatient(kernel, ExchangeTiming{.nodeLockTimeout = 30ms});
    Program waiting(kernel);
    ASSERT_TRUE(holder.opened && impatient.opened && waiting.opened);
    std::array<uint8_t, kDeviceInfoSize> info{};

    int waitingResult = CommandResult::NoReply;
    std::thread waiter;
    {
        const std::lock_guard batch(holder.link.Lock());
        ASSERT_EQ(BeginTransfer(holder.link), CommandResult::Success);
        EXPECT_EQ(ReadDeviceInfo(impatient.link, info), CommandResult::Busy);
        waiter = std::thread([&] {
            std::array<uint8_t, kDeviceInfoSize> waited{};
            waitingResult = ReadDeviceInfo(waiting.link, waited);
        });
        std::this_thread::sleep_for(20ms);
        ASSERT_EQ(EndTransfer(holder.link), CommandResult::Success);
    }
    waiter.join();
    EXPECT_EQ(waitingResult, CommandResult::Success);
    EXPECT_EQ(ReadDeviceInfo(impatient.link, info), CommandResult::Success);

    std::vector<std::pair<int, uint8_t>> order;
    for (const BroadcastKernel::Request& request : kernel.Received()) {
        order.emplace_back(request.reader, request.packet[PacketByte::Command]);
    }
    EXPECT_EQ(order, (std::vector<std::pair<int, uint8_t>>{{0, Command::BeginTransfer},
                                                           {0, Command::EndTransfer},
                                                           {2, Command::ReadDeviceInfo},
                                                           {1, Command::ReadDeviceInfo}}));
}

TEST(SharedKeyboard, ClosingTheDeviceEndsAWaitForTheNodeLock) {
    BroadcastKernel kernel(kModel);
    Program holder(kernel);
    Program waiting(kernel);
    ASSERT_TRUE(holder.opened && waiting.opened);
    ASSERT_EQ(holder.device.LockNode(0), HidError::None);
    ASSERT_TRUE(holder.device.NodeLocked());

    HidError waited = HidError::None;
    std::thread waiter([&] { waited = waiting.device.LockNode(60'000); });
    std::this_thread::sleep_for(20ms);
    waiting.device.Close();
    waiter.join();
    // Stopped, or NotFound when the close came before the wait began; never the time-out.
    EXPECT_TRUE(waited == HidError::Stopped || waited == HidError::NotFound)
        << static_cast<int>(waited);
    EXPECT_FALSE(waiting.device.NodeLocked());

    // Closing gives the lock up, as UnlockNode does.
    holder.device.Close();
    Program next(kernel);
    ASSERT_TRUE(next.opened);
    EXPECT_EQ(next.device.LockNode(0), HidError::None);
}

}  // namespace
}  // namespace zarvin
