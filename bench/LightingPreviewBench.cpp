// One lighting preview frame of each effect, as timer 1052 draws it every 50 ms, with the
// time-seeded C generator the program uses. "periodShare" is the frame's CPU time as a share
// of the 50 ms timer period.

#include <benchmark/benchmark.h>

#include "model/LightingPreview.h"

namespace {

using namespace zarvin;

constexpr double kTimerPeriodSeconds = 0.050;

void PreviewFrameOfEffect(benchmark::State& state) {
    const PreviewSettings settings{static_cast<uint8_t>(state.range(0)), 255, state.range(1) != 0,
                                   0x4080FF};
    LightingPreview preview;
    preview.ResetPreview();
    for (auto _ : state) {
        PreviewColours frame = preview.PreviewFrame(settings);
        benchmark::DoNotOptimize(frame);
    }
    // Rate of (iterations x period), inverted: seconds per frame / period.
    state.counters["periodShare"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kTimerPeriodSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Every animated effect in its multicolour form (the costlier one where the flag matters), the
// main-colour forms of the curve effects, and a cleared frame.
BENCHMARK(PreviewFrameOfEffect)
    ->ArgNames({"effect", "multicolour"})
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16, 18, 7}, {1}})
    ->ArgsProduct({{1, 2, 3, 5}, {0}});

}  // namespace
