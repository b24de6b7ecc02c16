// Encoding and decoding a macro area as large as the keyboard keeps (12,800 bytes): four macros
// of 790 actions of every event kind, with 15-character names. Throughput in bytes of area per
// second; encoding runs from the applied store under its lock, as an apply does.

#include <benchmark/benchmark.h>

#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "control/ProfileMacros.h"
#include "model/MacroArea.h"
#include "store/ProfileStore.h"

namespace {

using namespace zarvin;

constexpr size_t kFullCapacity = 12800;
constexpr size_t kMacros = 4;
constexpr size_t kActionsPerMacro = 790;

std::vector<MacroRecord> FullCapacityMacros() {
    // A key, a modifier, a mouse button, a wheel step, a system control and a multimedia key.
    constexpr std::array<KeyCode, 6> kKeys = {0x01E, 0x01D, 0x171, 0x162, 0x15E, 0x130};
    std::vector<MacroRecord> macros(kMacros);
    for (size_t m = 0; m < kMacros; ++m) {
        MacroRecord& macro = macros[m];
        macro.SetId(static_cast<uint16_t>(m + 1));
        macro.SetCycles(1);
        macro.SetName(u"Full macro no." + std::u16string(1, static_cast<char16_t>(u'1' + m)));
        for (size_t a = 0; a < kActionsPerMacro; ++a) {
            macro.SetAction(a, {.delay = static_cast<int32_t>(10 * (a % 4096)),
                                .key = kKeys[a % kKeys.size()],
                                .state = static_cast<uint16_t>(a % 2)});
        }
        macro.SetActionCount(kActionsPerMacro);
    }
    return macros;
}

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
        benchmark::DoNotOptimize(DecodeMacroArea(area, kMacros, texts));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kFullCapacity));
}
BENCHMARK(DecodeMacroAreaAtFullCapacity)->Unit(benchmark::kMicrosecond);

}  // namespace
