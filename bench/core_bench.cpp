// Hot paths of the calculation core: a whole constant calculation, the analysis of a circuit,
// reading and writing value texts.
#include <benchmark/benchmark.h>

#include <mirelto/core.h>

namespace {

void SetDefaultLowPass() {
    mirelto::DesignRecord& s = mirelto::DesignState;
    s.IsLpf = true;
    s.R1 = s.R2 = s.R3 = 22000;
    s.ResultValid = true;
}

// Synthesis, rounding of all three capacitors to E6 and the back-analysis.
void BM_ConstantCalculation(benchmark::State& state) {
    for (auto _ : state) {
        SetDefaultLowPass();
        mirelto::SynthesizeFilter(1420, 1420, 1, 6, 6, 6, true);
        benchmark::DoNotOptimize(mirelto::DesignState.FoResult);
    }
}
BENCHMARK(BM_ConstantCalculation);

void BM_ConstantCalculationHighPass(benchmark::State& state) {
    mirelto::DesignRecord& s = mirelto::DesignState;
    for (auto _ : state) {
        s.IsLpf = false;
        s.C1 = s.C2 = s.C3 = 3.3 / 1e9;
        s.ResultValid = true;
        mirelto::SynthesizeFilter(1420, 1420, 1, 24, 24, 24, false);
        benchmark::DoNotOptimize(s.FoResult);
    }
}
BENCHMARK(BM_ConstantCalculationHighPass);

// The constant calculation as the window runs it: the request checks, the synthesis, the
// rounding to E6 and the back-analysis of the rounded circuit, over a record of its own.
void BM_CalculateConstants(benchmark::State& state) {
    mirelto::ConstantRequest request;
    request.request = {1420, 1420, 1};
    request.isLpf = state.range(0) != 0;
    request.given = request.isLpf ? std::array{22e3, 22e3, 22e3} : std::array{3.3e-9, 3.3e-9, 1e-9};
    request.series = {6, 6, 6};
    const mirelto::DesignRecord before;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::CalculateConstants(before, request).result);
    }
}
BENCHMARK(BM_CalculateConstants)->ArgName("lpf")->Arg(1)->Arg(0);

// One root-finder run as the back-analysis of the default design meets it.
void BM_CubicRealRootBackAnalysis(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            mirelto::CubicRealRoot(1, -6.411764705882353, 21.61764705882353, -33.088235294117645));
    }
}
BENCHMARK(BM_CubicRealRootBackAnalysis);

void BM_AnalyzeTransfer(benchmark::State& state) {
    mirelto::DesignState.IsLpf = true;
    for (auto _ : state) {
        mirelto::AnalyzeTransfer(22000, 22000, 22000, 33 / 1e9, 100 / 1e9, 2.2 / 1e9);
        benchmark::DoNotOptimize(mirelto::DesignState.FaResult);
    }
}
BENCHMARK(BM_AnalyzeTransfer);

// The slowest route: all nine levels of the iteration fail, then the closed form.
void BM_CubicRealRootClosedForm(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::CubicRealRoot(1, -100, 1, -1));
    }
}
BENCHMARK(BM_CubicRealRootClosedForm);

void BM_ParseValue(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::ParseValue("3.3n"));
    }
}
BENCHMARK(BM_ParseValue);

void BM_FormatSI(benchmark::State& state) {
    double value = 6.8 / 1e9;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(mirelto::FormatSI(value, 8, 3));
    }
}
BENCHMARK(BM_FormatSI);

}  // namespace

BENCHMARK_MAIN();
