// Encoding and decoding a macro area as large as the keyboard keeps (12,800 bytes): four macros
// of 790 actions of every event kind, with 15-character names. Throughput in bytes of area per
// second; encoding runs from the applied store under its lock, as an apply does.

#include <benchmark/benchmark.h>

#include <mutex>
#include <string>
#include <vector>

#include "FullMacroArea.h"
#include "control/ProfileMacros.h"
#include "model/MacroArea.h"
#include "store/ProfileStore.h"

namespace {

using namespace zarvin;

using bench::FullCapacityMacros;
using bench::kFullAreaMacros;
constexpr size_t kFullCapacity = bench::kFullMacroAreaBytes;

// A working store holding the macros, and the applied snapshot of it.
struct Stores {
    Stores() {
        working.SetMacros(FullCapacityMacros());
        applied.TakeSnapshotOf(working);
    }
    std::recursive_mutex workingLock;
    std::recursive_mutex appliedLock;
    WorkingStore working{workingLock};
    AppliedStore applied{appliedLock};
};

void EncodeMacroAreaAtFullCapacity(benchmark::State& state) {
    Stores stores;
    if (MacroAreaSizes(stores.applied).withNames != kFullCapacity) {
        state.SkipWithError("the macros do not fill the capacity");
        return;
    }
    std::vector<uint8_t> area(kFullCapacity);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeMacroArea(stores.applied, area, true));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kFullCapacity));
}
BENCHMARK(EncodeMacroAreaAtFullCapacity)->Unit(benchmark::kMicrosecond);

void DecodeMacroAreaAtFullCapacity(benchmark::State& state) {
    std::vector<uint8_t> area(kFullCapacity);
    if (!EncodeMacroArea(FullCapacityMacros(), area, true)) {
        state.SkipWithError("the macros do not fill the capacity");
        return;
    }
    const auto texts = [](std::string_view) { return std::string("Macro "); };
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeMacroArea(area, kFullAreaMacros, texts));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kFullCapacity));
}
BENCHMARK(DecodeMacroAreaAtFullCapacity)->Unit(benchmark::kMicrosecond);

}  // namespace
