// Best standard values and tolerance analysis on the default LPF request: the runs the window
// will hand to a worker thread, and the analysis each of their steps repeats.
#include <benchmark/benchmark.h>

#include <mirelto/core.h>

namespace {

const mirelto::PoleSet kDefaultRequest{1420, 1420, 1};
const mirelto::Circuit kDefaultLowPass{22e3, 22e3, 22e3, 6.8e-9, 15e-9, 1e-9, true};

// One combination of the optimiser, one step of every trial.
void BM_CircuitPoles(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::CircuitPoles(kDefaultLowPass));
    }
}
BENCHMARK(BM_CircuitPoles);

mirelto::OptimiseInput DefaultLowPassInput(std::int32_t resistorSeries, int steps,
                                           mirelto::Ranking ranking = mirelto::Ranking::Poles) {
    const mirelto::IdealDesign ideal =
        mirelto::DesignIdeal(kDefaultRequest, true, {22e3, 22e3, 22e3});
    mirelto::OptimiseInput input;
    input.requested = kDefaultRequest;
    input.ideal = ideal.circuit;
    input.series = {resistorSeries, resistorSeries, resistorSeries, 6, 6, 6};
    input.steps = steps;
    input.ranking = ranking;
    return input;
}

// E6 capacitors and the given resistors free on E24, +-k steps: 15625 combinations at 2 steps
// (the target: 20 ms on one core), 117649 at 3.
void BM_OptimiseFreeResistors(benchmark::State& state) {
    const mirelto::OptimiseInput input = DefaultLowPassInput(24, static_cast<int>(state.range(0)));
    std::int64_t combinations = 0;
    for (auto _ : state) {
        const mirelto::OptimiseResult result = mirelto::OptimiseValues(input);
        combinations = result.combinations;
        benchmark::DoNotOptimize(result.best.data());
    }
    state.counters["combinations"] = static_cast<double>(combinations);
    state.SetItemsProcessed(state.iterations() * combinations);
}
// The runs that spread over the cores are timed by the clock, with the CPU time of all threads.
BENCHMARK(BM_OptimiseFreeResistors)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The same neighbourhoods ranked by the response figure (targets: 30 ms at 2 steps, 200 ms at 3)
// and by the -3 dB frequency.
void BM_OptimiseRanked(benchmark::State& state) {
    const auto ranking = static_cast<mirelto::Ranking>(state.range(0));
    const mirelto::OptimiseInput input =
        DefaultLowPassInput(24, static_cast<int>(state.range(1)), ranking);
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::OptimiseValues(input).best.data());
    }
}
BENCHMARK(BM_OptimiseRanked)
    ->ArgNames({"ranking", "steps"})
    ->Args({static_cast<int>(mirelto::Ranking::Response), 2})
    ->Args({static_cast<int>(mirelto::Ranking::Response), 3})
    ->Args({static_cast<int>(mirelto::Ranking::Cutoff), 2})
    ->Args({static_cast<int>(mirelto::Ranking::Cutoff), 3})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// One evaluation of the response figure.
void BM_ResponseDeviation(benchmark::State& state) {
    const mirelto::ResponseReference reference(kDefaultRequest, true);
    const mirelto::PoleSet built = mirelto::CircuitPoles(kDefaultLowPass);
    for (auto _ : state) {
        benchmark::DoNotOptimize(reference.DeviationDb(built));
    }
}
BENCHMARK(BM_ResponseDeviation);

// Resistors fixed: 343 combinations at 3 steps, the window's everyday case.
void BM_OptimiseFixedResistors(benchmark::State& state) {
    const mirelto::OptimiseInput input = DefaultLowPassInput(0, 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::OptimiseValues(input).best.data());
    }
}
BENCHMARK(BM_OptimiseFixedResistors)->Unit(benchmark::kMicrosecond);

// 100 000 trials with the default tolerances, the -3 dB frequency of each included (the target:
// 100 ms on one core).
void BM_Tolerance(benchmark::State& state) {
    mirelto::ToleranceInput input;
    input.nominal = kDefaultLowPass;
    input.trials = 100000;
    input.distribution =
        state.range(0) == 0 ? mirelto::Distribution::Uniform : mirelto::Distribution::Normal;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::AnalyseTolerance(input).fo.p50);
    }
    state.SetItemsProcessed(state.iterations() * input.trials);
}
BENCHMARK(BM_Tolerance)
    ->ArgName("normal")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The same run without keeping the trials' values, as runs of millions of trials go: the seed
// replayed for the spread, the histograms and the percentiles.
void BM_ToleranceReplayed(benchmark::State& state) {
    mirelto::ToleranceInput input;
    input.nominal = kDefaultLowPass;
    input.trials = 100000;
    input.trialsKept = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::AnalyseTolerance(input).fo.p50);
    }
    state.SetItemsProcessed(state.iterations() * input.trials);
}
BENCHMARK(BM_ToleranceReplayed)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// Time per trial of a run too long to keep its trials (3 M, replayed), against the 100 000
// trials above: the counter per_trial_ns beside BM_Tolerance/normal:0's.
void BM_ToleranceLongPerTrial(benchmark::State& state) {
    mirelto::ToleranceInput input;
    input.nominal = kDefaultLowPass;
    input.trials = state.range(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::AnalyseTolerance(input).fo.p50);
    }
    state.counters["per_trial_ns"] =
        benchmark::Counter(static_cast<double>(state.iterations() * input.trials) * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ToleranceLongPerTrial)
    ->Arg(100'000)
    ->Arg(3'000'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_SpiceNetlist(benchmark::State& state) {
    mirelto::NetlistOptions options;
    options.range = {20, 1e5};
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirelto::SpiceNetlist(kDefaultLowPass, options));
    }
}
BENCHMARK(BM_SpiceNetlist);

}  // namespace
