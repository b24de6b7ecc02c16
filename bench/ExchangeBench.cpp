// How fast the keyboard link runs over the stand-in keyboard.
//   ExchangeNoDelay: request/reply round trips per second with a stand-in that answers at once,
//     so the figure is the software's own cost (protocol, transport, the stand-in's thread).
//   BackupReadAt1msPerReport: three key maps and a full macro area, the reads of a backup, with
//     each reply held back 1 ms as a USB full-speed frame would; the counter is the time taken
//     over the lower bound of one millisecond per report.

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "device/CommandProtocol.h"
#include "device/DeviceInfo.h"
#include "device/HidDevice.h"
#include "keyboard/KeyboardIds.h"
#include "sim/SimKeyboard.h"

namespace {

using namespace zarvin;

// Opens the stand-in's command interface and marks the link connected.
class StandInLink {
public:
    explicit StandInLink(sim::SimModel model)
        : keyboard_(model), device_(keyboard_), link_(device_) {
        device_.RefreshPaths();
        while (const auto path = device_.NextPath()) {
            if (device_.Open(*path, true, true) && device_.Caps().usagePage == kCommandUsagePage) {
                break;
            }
        }
        const uint16_t keyMap = sim::InfoOf(model).keyMapLength;
        link_.SetGeometry({keyMap, keyMap});
        link_.SetConnected(device_.IsOpen());
    }
    sim::SimKeyboard& Keyboard() { return keyboard_; }
    CommandLink& Link() { return link_; }

private:
    sim::SimKeyboard keyboard_;
    HidDevice device_;
    CommandLink link_;
};

void ExchangeNoDelay(benchmark::State& state) {
    StandInLink standIn(sim::SimModel::Keyboard126);
    DeviceInfo info;
    for (auto _ : state) {
        if (ReadDeviceInfo(standIn.Link(), info.bytes) != CommandResult::Success) {
            state.SkipWithError("no reply");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ExchangeNoDelay)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BackupReadAt1msPerReport(benchmark::State& state) {
    const auto model = static_cast<sim::SimModel>(state.range(0));
    StandInLink standIn(model);
    DeviceInfo info;
    ReadDeviceInfo(standIn.Link(), info.bytes);
    const size_t macroBytes = info.MacroCapacityBytes();
    const size_t keyMap = sim::InfoOf(model).keyMapLength;
    const size_t reports = kProfileCount * ((keyMap + kPacketDataSize - 1) / kPacketDataSize) +
                           (macroBytes + kPacketDataSize - 1) / kPacketDataSize;
    standIn.Keyboard().SetReportDelay(std::chrono::milliseconds(1));
    std::vector<uint8_t> keyMaps(512);
    std::vector<uint8_t> macros(macroBytes);
    std::chrono::duration<double> taken{0};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int profile = 0; profile < kProfileCount; ++profile) {
            ReadKeyMap(standIn.Link(), keyMaps, profile);
        }
        ReadMacroArea(standIn.Link(), macros, macroBytes);
        taken += std::chrono::steady_clock::now() - start;
    }
    const std::chrono::duration<double> lowerBound = std::chrono::milliseconds(1) *
                                                     static_cast<double>(reports) *
                                                     static_cast<double>(state.iterations());
    state.counters["reports"] = static_cast<double>(reports);
    state.counters["ratio_to_lower_bound"] = taken / lowerBound;
}
BENCHMARK(BackupReadAt1msPerReport)
    ->Arg(static_cast<int>(sim::SimModel::Keyboard126))
    ->Arg(static_cast<int>(sim::SimModel::Keyboard128))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
