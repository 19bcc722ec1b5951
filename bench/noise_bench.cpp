// One noise analysis of the worked job: a 20 kHz Butterworth low-pass with an NE5532 (all five
// sources, 1/f corners, a single-pole op-amp with DC gain), 400 density points over the plotted
// range and the band integral over it. The target is 2 ms.
#include <benchmark/benchmark.h>

#include <mirelto/tools/noise.h>
#include <mirelto/tools/opamp_table.h>

namespace {

void BM_NoiseAnalysisWithOpAmp(benchmark::State& state) {
    mirelto::NoiseInput input;
    input.circuit = {22e3, 22e3, 22e3, 470e-12, 1.5e-9, 68e-12, true};
    input.opAmp = *mirelto::FindOpAmp(mirelto::BuiltInOpAmps(), "NE5532");
    input.points = 400;
    for (auto _ : state) {
        mirelto::NoiseResult result = mirelto::AnalyseNoise(input);
        benchmark::DoNotOptimize(result.total.data());
    }
}
BENCHMARK(BM_NoiseAnalysisWithOpAmp)->Unit(benchmark::kMillisecond);

}  // namespace
