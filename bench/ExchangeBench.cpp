// How fast the keyboard link runs over the stand-in keyboard.
//   ExchangeNoDelay: request/reply round trips per second with a stand-in that answers at once,
//     so the figure is the software's own cost (protocol, transport, the stand-in's thread).
//   BackupReadAt1msPerReport: three key maps and a full macro area, the reads of a backup, with
//     each reply held back 1 ms as a USB full-speed frame would; the counter is the time taken
//     over the lower bound of one millisecond per report.
//   ExchangeCpuOverBarePingPong: the calling thread's CPU time per exchange with a stand-in that
//     answers at once, over that of the least a request and its reply can cost here: a 64-byte
//     message sent to a second thread over a socketpair and sent back, taken in turn in the
//     same run so that both meet the same machine.
//   ExchangeInBatchCpuOverBarePingPong: the same with the exchanges under one hold of the
//     command lock, as in a backup or an apply.

#include <benchmark/benchmark.h>

#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <mutex>
#include <thread>
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
    state.counters["ratio"] = taken / lowerBound;
}
BENCHMARK(BackupReadAt1msPerReport)
    ->Arg(static_cast<int>(sim::SimModel::Keyboard126))
    ->Arg(static_cast<int>(sim::SimModel::Keyboard128))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// CPU time of the calling thread.
std::chrono::nanoseconds ThreadCpuTime() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// A second thread that sends back every message it receives, until its end is closed.
class EchoThread {
public:
    EchoThread() {
        int ends[2] = {-1, -1};
        ok_ = ::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) == 0;
        if (!ok_) {
            return;
        }
        mine_ = ends[0];
        echo_ = std::thread([end = ends[1]] {
            std::array<uint8_t, kPacketSize> message{};
            for (;;) {
                const ssize_t got = ::recv(end, message.data(), message.size(), 0);
                if (got <= 0 || ::send(end, message.data(), static_cast<size_t>(got),
                                       MSG_NOSIGNAL) != got) {
                    break;
                }
            }
            ::close(end);
        });
    }
    EchoThread(const EchoThread&) = delete;
    EchoThread& operator=(const EchoThread&) = delete;
    ~EchoThread() {
        if (ok_) {
            ::shutdown(mine_, SHUT_RDWR);
            echo_.join();
            ::close(mine_);
        }
    }

    bool Ok() const { return ok_; }

    bool RoundTrip(std::array<uint8_t, kPacketSize>& message) {
        return ::send(mine_, message.data(), message.size(), MSG_NOSIGNAL) ==
                   static_cast<ssize_t>(message.size()) &&
               ::recv(mine_, message.data(), message.size(), 0) ==
                   static_cast<ssize_t>(message.size());
    }

private:
    bool ok_ = false;
    int mine_ = -1;
    std::thread echo_;
};

// `inBatch`: each turn's exchanges under one hold of the command lock, as a backup's or an
// apply's are, so the node is locked and unlocked once a turn rather than once an exchange.
void MeasureExchangeCpuOverBarePingPong(benchmark::State& state, bool inBatch) {
    constexpr int kRoundsPerTurn = 500;
    StandInLink standIn(sim::SimModel::Keyboard126);
    EchoThread echo;
    if (!echo.Ok()) {
        state.SkipWithError("no socketpair");
        return;
    }
    DeviceInfo info;
    std::array<uint8_t, kPacketSize> message{};
    std::chrono::nanoseconds exchangeCpu{0};
    std::chrono::nanoseconds bareCpu{0};
    for (auto _ : state) {
        const auto exchangeStart = ThreadCpuTime();
        {
            std::unique_lock batch(standIn.Link().Lock(), std::defer_lock);
            if (inBatch) {
                batch.lock();
            }
            for (int round = 0; round < kRoundsPerTurn; ++round) {
                if (ReadDeviceInfo(standIn.Link(), info.bytes) != CommandResult::Success) {
                    state.SkipWithError("no reply");
                    return;
                }
            }
        }
        const auto bareStart = ThreadCpuTime();
        for (int round = 0; round < kRoundsPerTurn; ++round) {
            if (!echo.RoundTrip(message)) {
                state.SkipWithError("the echo thread stopped");
                return;
            }
        }
        const auto end = ThreadCpuTime();
        exchangeCpu += bareStart - exchangeStart;
        bareCpu += end - bareStart;
    }
    const double rounds = static_cast<double>(state.iterations()) * kRoundsPerTurn;
    state.counters["exchange_cpu_us"] =
        std::chrono::duration<double, std::micro>(exchangeCpu).count() / rounds;
    state.counters["bare_cpu_us"] =
        std::chrono::duration<double, std::micro>(bareCpu).count() / rounds;
    state.counters["ratio"] = static_cast<double>(exchangeCpu.count()) /
                              static_cast<double>(bareCpu.count());
}

void ExchangeCpuOverBarePingPong(benchmark::State& state) {
    MeasureExchangeCpuOverBarePingPong(state, false);
}
BENCHMARK(ExchangeCpuOverBarePingPong)->Unit(benchmark::kMillisecond)->UseRealTime();

void ExchangeInBatchCpuOverBarePingPong(benchmark::State& state) {
    MeasureExchangeCpuOverBarePingPong(state, true);
}
BENCHMARK(ExchangeInBatchCpuOverBarePingPong)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
