// A connection's load and an apply with the keyboard's macro area full, over the stand-in
// keyboard holding each reply 1 ms as a USB full-speed frame would. The counter `ratio` is the
// time taken over the least the keyboard allows: one millisecond per report plus the fixed
// pauses of the exchanges (before EndTransfer and command 0x0C). The reports are counted from
// what the stand-in received.

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

#include "FullMacroArea.h"
#include "control/DeviceSync.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/HidDevice.h"
#include "device/UserMessages.h"
#include "keyboard/KeyboardIds.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/ProfileStore.h"
#include "store/ProfileStores.h"

namespace {

using namespace zarvin;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kReportTime = std::chrono::milliseconds(1);

class QuietMessages : public UserMessages {
public:
    void ShowMessage(std::string_view) override {}
};

std::string Text(std::string_view key) {
    return std::string(key);
}

// A folder of its own for the user's files, removed at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "zarvin-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// The 126-key stand-in connected as the device monitor connects it, with the user's stores,
// and its macro area filled by an apply.
struct ConnectedStandIn {
    ConnectedStandIn()
        : keyboard(sim::SimModel::Keyboard126),
          device(keyboard),
          link(device),
          context(AppRoots{folder.Path() / "bin/zarvin", folder.Path() / "data",
                           folder.Path() / "config", folder.Path() / "run"}),
          stores(context.workingConfigLock, context.appliedConfigLock),
          sync(context, link, image, stores, messages, Text) {
        fs::create_directories(folder.Path() / "data");
        Connect();
        {
            const std::lock_guard lock(stores.Working().Lock());
            stores.Working().SetMacros(bench::FullCapacityMacros());
        }
        filled = sync.ApplyToDevice(true) == CommandResult::Success;
    }

    // What a new connection does: open the command interface and load the connection's data.
    bool Connect() {
        device.Close();
        bool opened = false;
        device.RefreshPaths();
        while (const auto path = device.NextPath()) {
            if (device.Open(*path, true, true) && device.Caps().usagePage == kCommandUsagePage &&
                device.Caps().usage == kCommandUsage) {
                opened = true;
                break;
            }
        }
        link.SetConnected(opened);
        image.SetModel(sim::InfoOf(keyboard.Model()));
        link.SetGeometry(image.Model().Geometry());
        image.LoadConnectionData(link, messages);
        return opened;
    }

    // Reports the stand-in received since the log was cleared, and the pauses they called for.
    std::chrono::duration<double> LeastTime() const {
        std::chrono::duration<double> least{0};
        for (const Packet& packet : keyboard.ReceivedPackets()) {
            least += kReportTime;
            const uint8_t command = packet[PacketByte::Command];
            if (command == Command::EndTransfer || command == Command::Command0C) {
                least += link.Timing().settle;
            }
        }
        return least;
    }

    ScratchFolder folder;
    sim::SimKeyboard keyboard;
    HidDevice device;
    CommandLink link;
    DeviceImage image;
    AppContext context;
    ProfileStores stores;
    QuietMessages messages;
    DeviceSync sync;
    bool filled = false;
};

// Times `operation` at 1 ms per report, each run against the least time of its own reports.
template <typename Operation>
void RunAt1msPerReport(benchmark::State& state, ConnectedStandIn& standIn, Operation operation) {
    if (!standIn.filled) {
        state.SkipWithError("the stand-in's macro area could not be filled");
        return;
    }
    operation();  // the profile cache file is written once, as after any earlier connection
    standIn.keyboard.SetReportDelay(kReportTime);
    std::chrono::duration<double> taken{0};
    std::chrono::duration<double> least{0};
    double reports = 0;
    for (auto _ : state) {
        standIn.keyboard.ClearLog();
        const auto start = Clock::now();
        if (!operation()) {
            state.SkipWithError("the operation failed");
            return;
        }
        taken += Clock::now() - start;
        least += standIn.LeastTime();
        reports = static_cast<double>(standIn.keyboard.ReceivedPackets().size());
    }
    state.counters["reports"] = reports;
    state.counters["ratio"] = taken / least;
}

void ConnectionLoadAt1msPerReport(benchmark::State& state) {
    ConnectedStandIn standIn;
    RunAt1msPerReport(state, standIn, [&standIn] {
        return standIn.Connect() && standIn.sync.LoadFromDevice() == FileResult::Success;
    });
}
BENCHMARK(ConnectionLoadAt1msPerReport)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

void ApplyFullMacroAreaAt1msPerReport(benchmark::State& state) {
    ConnectedStandIn standIn;
    RunAt1msPerReport(state, standIn, [&standIn] {
        return standIn.sync.ApplyToDevice(true) == CommandResult::Success;
    });
}
BENCHMARK(ApplyFullMacroAreaAt1msPerReport)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
