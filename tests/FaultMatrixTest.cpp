// Every fault of the stand-in keyboard at every packet of a connection's load, an apply of the
// macro area and the key maps, a backup and a restore, each checked against the same operation
// without a fault:
//   - no crash and no hang;
//   - a result of success only when the keyboard's memory is exactly the fault-free result, and
//     "nothing was written" only when it is unchanged; reads never change it;
//   - a failed backup leaves the old file; the profile cache file is always a valid file;
//   - after a failed apply the user's edit is still in the working store, and an apply after
//     the keyboard is connected again writes it.
// Quick timing here; scripts/test.sh --faults runs it again with the real timing
// (ZARVIN_FAULT_TIMING=real).

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "control/DeviceSync.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/HidDevice.h"
#include "device/UserMessages.h"
#include "model/KeyAssignment.h"
#include "model/MacroRecord.h"
#include "platform/WholeFile.h"
#include "sim/SimFaultList.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"
#include "store/ProfileStorePaths.h"
#include "store/ProfileStores.h"
#include "support/CommandInterface.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using sim::SimFault;
using sim::SimFaultKind;

constexpr int kCasesAtOnce = 4;

ExchangeTiming Timing() {
    const char* timing = std::getenv("ZARVIN_FAULT_TIMING");
    if (timing != nullptr && std::string_view(timing) == "real") {
        return {};
    }
    return {.writeTimeout = 50ms, .readTimeout = 10ms, .attempts = 4, .settle = 1ms};
}

class QuietMessages : public UserMessages {
public:
    void ShowMessage(std::string_view) override {}
};

std::string Text(std::string_view key) {
    return std::string(key);
}

// The stand-in keyboard connected as the device monitor connects it, with both stores.
struct MatrixRig {
    MatrixRig()
        : device(keyboard),
          link(device, Timing()),
          context(
              AppRoots{folder / "bin/zarvin", folder / "data", folder / "config", folder / "run"}),
          stores(context.workingConfigLock, context.appliedConfigLock),
          working(stores.Working()),
          sync(context, link, image, stores, messages, Text) {
        fs::create_directories(folder / "data");
        Connect();
    }

    // What a new connection does: open the command interface and load the connection's data.
    void Connect() {
        device.Close();
        if (!keyboard.Plugged()) {
            keyboard.Plug();
        }
        link.SetConnected(test_support::OpenCommandInterface(device));
        image.SetModel(sim::InfoOf(keyboard.Model()));
        link.SetGeometry(image.Model().Geometry());
        image.LoadConnectionData(link, messages);
    }

    sim::SimMemory Memory() {
        sim::SimMemory memory;
        keyboard.WithFirmware([&](sim::SimFirmware& firmware) { memory = firmware.Memory(); });
        return memory;
    }

    size_t Packets() const { return keyboard.ReceivedPackets().size(); }

    test::TempFolder folder;
    sim::SimKeyboard keyboard;
    HidDevice device;
    CommandLink link;
    DeviceImage image;
    AppContext context;
    ProfileStores stores;
    WorkingStore& working;
    QuietMessages messages;
    DeviceSync sync;
};

// The user's edit: two keys of two profiles and a macro.
void Edit(WorkingStore& working) {
    MacroRecord macro;
    macro.SetName(u"Copy");
    macro.SetId(1);
    macro.SetCycles(1);
    macro.SetActionCount(2);
    macro.SetAction(0, {50, 0x01D, 0});
    macro.SetAction(1, {0, 0x01D, 1});
    const std::lock_guard lock(working.Lock());
    ASSERT_TRUE(working.SetMacros({macro}));
    ASSERT_TRUE(working.SetAssignment(KeyRecordNumber(0, 0x03A), {.type = 4, .gId = 0, .value = 1}));
    ASSERT_TRUE(working.SetAssignment(KeyRecordNumber(2, 0x03B), {.type = 1, .gId = 0, .value = 0}));
}

bool HoldsEdit(WorkingStore& working) {
    const std::lock_guard lock(working.Lock());
    return working.MacroCount() == 1 && working.Assignment(KeyRecordNumber(0, 0x03A)).type == 4 &&
           working.Assignment(KeyRecordNumber(2, 0x03B)).type == 1;
}

bool CacheFileValid(const MatrixRig& rig) {
    const FileContents cache = ReadWholeFile(ProfilePath(rig.context, 0));
    if (cache.status == FileReadStatus::kMissing) {
        return true;
    }
    return cache.status == FileReadStatus::kRead &&
           IsValidProfileFile({reinterpret_cast<const uint8_t*>(cache.bytes.data()),
                               cache.bytes.size()});
}

std::vector<SimFault> FaultsAt(int packet) {
    const int delayMs = static_cast<int>(Timing().readTimeout.count()) * 2;
    return {{SimFaultKind::Silent, packet},   {SimFaultKind::Lose, packet},
            {SimFaultKind::RefuseFE, packet}, {SimFaultKind::RefuseFF, packet},
            {SimFaultKind::FailWrite, packet}, {SimFaultKind::Unplug, packet},
            {SimFaultKind::Delay, packet, std::chrono::milliseconds(delayMs)}};
}

std::string Name(const SimFault& fault) {
    static const char* const kNames[] = {"silent",     "lose",   "refuse-fe", "refuse-ff",
                                         "fail-write", "unplug", "delay"};
    return std::string(kNames[static_cast<int>(fault.kind)]) + "@" + std::to_string(fault.packet);
}

// One operation of the matrix: prepares a fresh rig, then runs with the faults scheduled.
struct Operation {
    const char* name;
    std::function<void(MatrixRig&)> prepare;
    // Checks one run; `fault` is empty for the fault-free run, which gives `expected`.
    std::function<void(MatrixRig&, const sim::SimMemory& before, const sim::SimMemory& expected,
                       const std::string& fault)>
        run;
};

// Runs `operation` without a fault (for the expected memory and its number of packets), then
// with each fault at each packet.
void RunMatrix(const Operation& operation) {
    sim::SimMemory expected;
    size_t packets = 0;
    {
        MatrixRig rig;
        operation.prepare(rig);
        const sim::SimMemory before = rig.Memory();
        const size_t start = rig.Packets();
        operation.run(rig, before, before, "");
        packets = rig.Packets() - start;
        expected = rig.Memory();
    }
    ASSERT_GT(packets, 0u) << operation.name;
    std::vector<SimFault> faults;
    for (size_t packet = 1; packet <= packets; ++packet) {
        const std::vector<SimFault> atPacket = FaultsAt(static_cast<int>(packet));
        faults.insert(faults.end(), atPacket.begin(), atPacket.end());
    }
    // A case spends nearly all its time waiting for replies that do not come; several cases at
    // once, each on its own stand-in, keep the whole matrix within a minute.
    std::atomic<size_t> next{0};
    const auto runCases = [&] {
        for (size_t index = next++; index < faults.size(); index = next++) {
            MatrixRig rig;
            operation.prepare(rig);
            const sim::SimMemory before = rig.Memory();
            rig.keyboard.ScheduleFaults({faults[index]});
            operation.run(rig, before, expected, Name(faults[index]));
        }
    };
    std::vector<std::thread> workers;
    for (int worker = 0; worker < kCasesAtOnce; ++worker) {
        workers.emplace_back(runCases);
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
}

TEST(FaultMatrix, ConnectionLoad) {
    RunMatrix({"connection load", [](MatrixRig&) {},
               [](MatrixRig& rig, const sim::SimMemory& before, const sim::SimMemory&,
                  const std::string& fault) {
                   rig.Connect();
                   rig.sync.LoadFromDevice();
                   EXPECT_TRUE(rig.Memory() == before) << fault << ": a read changed the keyboard";
                   EXPECT_TRUE(CacheFileValid(rig)) << fault;
               }});
}

TEST(FaultMatrix, ApplyOfMacrosAndKeyMaps) {
    RunMatrix({"apply", [](MatrixRig& rig) { Edit(rig.working); },
               [](MatrixRig& rig, const sim::SimMemory& before, const sim::SimMemory& expected,
                  const std::string& fault) {
                   int firstFailure = CommandResult::Success;
                   bool sent = false;
                   const int result = rig.sync.ApplyToDevice(true, &firstFailure, &sent);
                   const bool succeeded = result == CommandResult::Success &&
                                          firstFailure == CommandResult::Success;
                   const bool nothingWritten = !succeeded && !sent;
                   if (fault.empty()) {
                       ASSERT_TRUE(succeeded);
                       return;
                   }
                   if (succeeded) {
                       EXPECT_TRUE(rig.Memory() == expected) << fault << ": success, but not written";
                       return;
                   }
                   if (nothingWritten) {
                       EXPECT_TRUE(rig.Memory() == before) << fault << ": \"nothing was written\"";
                   }
                   EXPECT_TRUE(HoldsEdit(rig.working)) << fault << ": the edit was lost";
                   rig.keyboard.ClearFaults();
                   rig.Connect();
                   firstFailure = CommandResult::Success;
                   EXPECT_EQ(rig.sync.ApplyToDevice(true, &firstFailure), CommandResult::Success)
                       << fault << ": after reconnecting";
                   EXPECT_TRUE(rig.Memory() == expected) << fault << ": after reconnecting";
               }});
}

TEST(FaultMatrix, Backup) {
    RunMatrix({"backup",
               [](MatrixRig& rig) {
                   Edit(rig.working);
                   ASSERT_EQ(rig.sync.ApplyToDevice(true), CommandResult::Success);
                   rig.folder.Write("backup.fwc", "an earlier backup");
               },
               [](MatrixRig& rig, const sim::SimMemory& before, const sim::SimMemory&,
                  const std::string& fault) {
                   const int result = rig.sync.BackupDeviceToFile(rig.folder / "backup.fwc");
                   EXPECT_TRUE(rig.Memory() == before) << fault << ": a backup changed the keyboard";
                   const std::string file = rig.folder.Read("backup.fwc");
                   if (result != FileResult::Success) {
                       EXPECT_EQ(file, "an earlier backup") << fault;
                       return;
                   }
                   EXPECT_TRUE(IsValidProfileFile(
                       {reinterpret_cast<const uint8_t*>(file.data()), file.size()}))
                       << fault;
                   rig.keyboard.ClearFaults();
                   rig.Connect();
                   ASSERT_EQ(rig.sync.BackupDeviceToFile(rig.folder / "again.fwc"),
                             FileResult::Success);
                   // Compared whole: the files are too large to print.
                   EXPECT_TRUE(file == rig.folder.Read("again.fwc"))
                       << fault << ": success, but not what the keyboard holds";
               }});
}

TEST(FaultMatrix, Restore) {
    RunMatrix({"restore",
               [](MatrixRig& rig) {
                   std::recursive_mutex lock;
                   WorkingStore store(lock);
                   Edit(store);
                   ASSERT_EQ(store.SaveProfileFile(rig.folder / "restore.fwc"), FileResult::Success);
                   const std::lock_guard held(rig.working.Lock());
                   ASSERT_EQ(rig.working.LoadProfileFile(rig.folder / "restore.fwc"),
                             FileResult::Success);
               },
               [](MatrixRig& rig, const sim::SimMemory& before, const sim::SimMemory& expected,
                  const std::string& fault) {
                   int firstFailure = CommandResult::Success;
                   bool sent = false;
                   const int result = rig.sync.ApplyToDevice(true, &firstFailure, &sent);
                   const bool succeeded = result == CommandResult::Success &&
                                          firstFailure == CommandResult::Success;
                   if (fault.empty()) {
                       ASSERT_TRUE(succeeded);
                       return;
                   }
                   if (succeeded) {
                       EXPECT_TRUE(rig.Memory() == expected) << fault << ": success, but not written";
                   } else if (!sent) {
                       EXPECT_TRUE(rig.Memory() == before) << fault << ": \"nothing was written\"";
                   }
               }});
}

}  // namespace
}  // namespace zarvin
