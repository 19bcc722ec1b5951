// The analysis window's recomputation: every curve and figure of the default low-pass design
// with an op-amp (the target is 5 ms), and the poles of every response preset.
#include <benchmark/benchmark.h>

#include <mirelto/response/analysis.h>
#include <mirelto/tools/presets.h>

namespace {

// Request fa = fo = 1420 Hz, Q = 1; the E6-rounded circuit; 400 points; a 1 MHz op-amp.
void BM_AnalyseDefaultLowPassWithOpAmp(benchmark::State& state) {
    mirelto::AnalysisInput input;
    input.isLpf = true;
    input.requested = {1420, 1420, 1};
    input.built = {22e3, 22e3, 22e3, 6.8e-9, 15e-9, 1e-9, true};
    input.opAmpGbw = 1e6;
    input.points = 400;
    for (auto _ : state) {
        mirelto::AnalysisResult result = mirelto::Analyse(input);
        benchmark::DoNotOptimize(result.opAmp.groupDelay.data());
    }
}
BENCHMARK(BM_AnalyseDefaultLowPassWithOpAmp)->Unit(benchmark::kMillisecond);

void BM_PresetPolesAll(benchmark::State& state) {
    for (auto _ : state) {
        for (const mirelto::Preset& preset : mirelto::Presets()) {
            benchmark::DoNotOptimize(mirelto::PresetPoles(preset, 1420, true));
        }
    }
}
BENCHMARK(BM_PresetPolesAll)->Unit(benchmark::kMicrosecond);

}  // namespace
