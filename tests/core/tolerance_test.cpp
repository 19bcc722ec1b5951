// Tolerance analysis: the portable random numbers, percentiles and histograms, the sensitivities
// against the scaling laws every RC circuit obeys, and the Monte Carlo runs against the nominal
// circuit and against the first-order estimate from the sensitivities.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "mirelto/design/filter.h"
#include "mirelto/tools/tolerance.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::kDefaultHighPass;
using test::kDefaultLowPass;

using test::PrintTo;

// The first normal numbers of seed 1.
constexpr double kPinnedNormal0 = -0.039399956754155308;
constexpr double kPinnedNormal1 = -0.38683176162103949;
constexpr double kPinnedNormal2 = -0.24894784633514516;
constexpr double kPinnedNormal3 = 0.68682363917932521;

// Arguments spanning the double range; take the portable log; within 2 units in the last place
// of the library's logarithm (both are within about 1 of the true value).
TEST(PortableLogTest, AgreesWithTheLibraryLogarithm) {
    using Limits = std::numeric_limits<double>;
    // clang-format off
    std::vector<double> xs = {Limits::denorm_min(), Limits::min(), 1e-300, 0.5, 0.70710678118654746,
                              0.70710678118654757, 0.9999999999999999, 1, 1.0000000000000002, 2,
                              2.718281828459045, 10, 1e300, Limits::max()};
    // clang-format on
    test::Random random(42);
    for (int i = 0; i < 20000; ++i) {
        xs.push_back(random.LogUniform(1e-12, 1.0));
    }
    for (double x : xs) {
        const double expected = std::log(x);
        const double ulp = std::nextafter(std::fabs(expected), HUGE_VAL) - std::fabs(expected);
        ASSERT_LE(std::fabs(PortableLog(x) - expected), 2 * ulp) << "x = " << x;
    }
    EXPECT_EQ(PortableLog(1), 0.0);
    EXPECT_TRUE(std::isnan(PortableLog(-1)));
    EXPECT_EQ(PortableLog(0), -HUGE_VAL);
}

// A seed; draw uniform numbers; each is the top 53 bits of the standard engine's output scaled
// by 2^-53, which the standard fixes for every library.
TEST(PortableRandomTest, UniformIsTheEngineTopBits) {
    PortableRandom random(12345);
    std::mt19937_64 engine(12345);
    for (int i = 0; i < 1000; ++i) {
        const double u = random.Uniform();
        ASSERT_EQ(u, std::ldexp(static_cast<double>(engine() >> 11), -53));
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

// Seed 1; the first normal numbers; pinned values, so that a platform whose run would differ
// fails here rather than in a user's comparison of two runs.
TEST(PortableRandomTest, NormalNumbersArePinned) {
    PortableRandom random(1);
    const double expected[] = {kPinnedNormal0, kPinnedNormal1, kPinnedNormal2, kPinnedNormal3};
    for (double e : expected) {
        EXPECT_EQ(random.Normal(), e);
    }
}

// Many normal numbers; their moments and the share within 1 and 3 sigma; those of the standard
// normal distribution.
TEST(PortableRandomTest, NormalHasTheStandardMoments) {
    PortableRandom random(7);
    constexpr int kCount = 400000;
    double sum = 0, squares = 0;
    int withinOne = 0, withinThree = 0;
    for (int i = 0; i < kCount; ++i) {
        const double z = random.Normal();
        sum += z;
        squares += z * z;
        withinOne += std::fabs(z) < 1;
        withinThree += std::fabs(z) < 3;
    }
    EXPECT_NEAR(sum / kCount, 0, 0.006);
    EXPECT_NEAR(squares / kCount, 1, 0.01);
    EXPECT_NEAR(withinOne / double(kCount), 0.682689, 0.003);
    EXPECT_NEAR(withinThree / double(kCount), 0.997300, 0.0005);
}

struct PercentileCase {
    std::string name;
    std::vector<double> ascending;
    double p;
    double expected;
};

class PercentileTest : public testing::TestWithParam<PercentileCase> {};

// Sorted values and a percentage; take the percentile; linear between the closest ranks.
TEST_P(PercentileTest, InterpolatesBetweenClosestRanks) {
    const PercentileCase& c = GetParam();
    const double got = Percentile(c.ascending, c.p);
    if (std::isnan(c.expected)) {
        EXPECT_TRUE(std::isnan(got));
    } else {
        EXPECT_DOUBLE_EQ(got, c.expected);
    }
}

std::vector<double> ZeroToHundred() {
    std::vector<double> v;
    for (int i = 0; i <= 100; ++i) {
        v.push_back(i);
    }
    return v;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Ranks, PercentileTest, testing::Values(
    PercentileCase{"MedianOfFour", {1, 2, 3, 4}, 50, 2.5},
    PercentileCase{"ZeroIsTheMinimum", {1, 2, 3, 4}, 0, 1},
    PercentileCase{"HundredIsTheMaximum", {1, 2, 3, 4}, 100, 4},
    PercentileCase{"FirstOfZeroToHundred", ZeroToHundred(), 1, 1},
    PercentileCase{"NinetyNinthOfZeroToHundred", ZeroToHundred(), 99, 99},
    PercentileCase{"FirstOfThree", {10, 20, 40}, 1, 10.2},
    PercentileCase{"NinetyNinthOfThree", {10, 20, 40}, 99, 39.6},
    PercentileCase{"SingleValue", {5}, 99, 5},
    PercentileCase{"NoValues", {}, 50, std::nan("")}),
    test::CaseName<PercentileCase>);
// clang-format on

// Samples with a NaN; summarise into 4 bins; NaN skipped, the maximum in the last bin, counts
// adding up, moments of the defined values.
TEST(SummariseTest, SkipsUndefinedTrialsAndBinsTheObservedRange) {
    const Spread s = Summarise({1, 2, std::nan(""), 3, 4, 5}, 3, 4);
    EXPECT_EQ(s.count, 5);
    EXPECT_EQ(s.samples.size(), 6u);
    EXPECT_EQ(s.nominal, 3);
    EXPECT_EQ(s.mean, 3);
    EXPECT_DOUBLE_EQ(s.standardDeviation, std::sqrt(2.5));
    EXPECT_EQ(s.minimum, 1);
    EXPECT_EQ(s.maximum, 5);
    EXPECT_EQ(s.p50, 3);
    EXPECT_EQ(s.histogram.low, 1);
    EXPECT_EQ(s.histogram.high, 5);
    EXPECT_EQ(s.histogram.counts, (std::vector<std::int64_t>{1, 1, 1, 2}));
}

// Equal samples; summarise; all in the first bin, no spread.
TEST(SummariseTest, EqualValuesFallInTheFirstBin) {
    const Spread s = Summarise({7, 7, 7}, 7, 3);
    EXPECT_EQ(s.histogram.counts, (std::vector<std::int64_t>{3, 0, 0}));
    EXPECT_EQ(s.standardDeviation, 0);
    EXPECT_EQ(s.p1, 7);
    EXPECT_EQ(s.p99, 7);
}

struct CircuitCase {
    std::string name;
    Circuit circuit;
};

class SensitivityTest : public testing::TestWithParam<CircuitCase> {};

// A circuit; its sensitivities; scaling every resistor (or every capacitor) by a factor divides
// fa and fo by it and leaves Q alone, so the sums over the resistors and over the capacitors are
// -1 for fa and fo and 0 for Q; and each agrees with a coarser difference taken here.
TEST_P(SensitivityTest, ObeysTheScalingLaws) {
    const Circuit& c = GetParam().circuit;
    const Sensitivities s = SensitivitiesOf(c);
    double faR = 0, faC = 0, foR = 0, foC = 0, qR = 0, qC = 0;
    for (std::size_t p = 0; p < 3; ++p) {
        faR += s.fa[p], foR += s.fo[p], qR += s.q[p];
        faC += s.fa[p + 3], foC += s.fo[p + 3], qC += s.q[p + 3];
    }
    EXPECT_NEAR(faR, -1, 1e-7);
    EXPECT_NEAR(faC, -1, 1e-7);
    EXPECT_NEAR(foR, -1, 1e-7);
    EXPECT_NEAR(foC, -1, 1e-7);
    EXPECT_NEAR(qR, 0, 1e-7);
    EXPECT_NEAR(qC, 0, 1e-7);

    const PoleSet y = CircuitPoles(c);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        ComponentValues up = ComponentsOf(c);
        up[p] *= 1.001;
        const PoleSet moved = CircuitPoles(CircuitOf(up, c.isLpf));
        EXPECT_NEAR(s.fo[p], (moved.fo / y.fo - 1) / 0.001, 2e-3) << ComponentName(p);
        EXPECT_NEAR(s.q[p], (moved.q / y.q - 1) / 0.001, 2e-3) << ComponentName(p);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Circuits, SensitivityTest, testing::Values(
    CircuitCase{"DefaultLowPass", kDefaultLowPass},
    CircuitCase{"DefaultHighPass", kDefaultHighPass},
    CircuitCase{"UnequalLowPass", {10e3, 47e3, 100e3, 2.2e-9, 68e-9, 0.33e-9, true}}),
    test::CaseName<CircuitCase>);
// clang-format on

class ZeroToleranceTest : public testing::TestWithParam<Distribution> {};

// Every tolerance zero; run 500 trials; every trial's fa, fo, Q and -3 dB frequency equals the
// nominal circuit's bit for bit, and that agrees with the back-calculation to 1e-12.
TEST_P(ZeroToleranceTest, EveryTrialIsTheNominalCircuit) {
    ToleranceInput input;
    input.nominal = kDefaultLowPass;
    input.tolerance = {};
    input.distribution = GetParam();
    input.trials = 500;
    const ToleranceResult r = AnalyseTolerance(input);
    ASSERT_EQ(r.status, RunStatus::Done) << static_cast<int>(r.problem.code);
    const PoleSet nominal = CircuitPoles(kDefaultLowPass);
    EXPECT_NEAR(r.fa.nominal, nominal.fa, 1e-12 * nominal.fa);
    EXPECT_NEAR(r.fo.nominal, nominal.fo, 1e-12 * nominal.fo);
    EXPECT_NEAR(r.q.nominal, nominal.q, 1e-12 * nominal.q);
    EXPECT_GT(r.cutoff.nominal, 0);
    for (const Spread* s : {&r.fa, &r.fo, &r.q, &r.cutoff}) {
        ASSERT_EQ(s->samples.size(), 500u);
        for (double v : s->samples) {
            ASSERT_EQ(v, s->nominal);
        }
        EXPECT_EQ(s->p1, s->nominal);
        EXPECT_EQ(s->p99, s->nominal);
        EXPECT_EQ(s->histogram.counts.front(), 500);
    }
}

INSTANTIATE_TEST_SUITE_P(Distributions, ZeroToleranceTest,
                         testing::Values(Distribution::Uniform, Distribution::Normal),
                         [](const auto& info) {
                             return info.param == Distribution::Uniform ? "Uniform" : "Normal";
                         });

// One seed twice and another seed; run; the same seed repeats every sample, the other differs.
TEST(ToleranceTest, SeedRepeatsTheRunExactly) {
    ToleranceInput input;
    input.nominal = kDefaultHighPass;
    input.distribution = Distribution::Normal;
    input.trials = 2000;
    input.seed = 20240917;
    const ToleranceResult a = AnalyseTolerance(input);
    const ToleranceResult b = AnalyseTolerance(input);
    input.seed += 1;
    const ToleranceResult other = AnalyseTolerance(input);
    EXPECT_EQ(a.seed, 20240917u);
    EXPECT_EQ(a.fo.samples, b.fo.samples);
    EXPECT_EQ(a.cutoff.samples, b.cutoff.samples);
    EXPECT_EQ(a.q.p99, b.q.p99);
    EXPECT_NE(a.fo.samples, other.fo.samples);
}

struct SpreadCase {
    std::string name;
    Circuit circuit;
    Distribution distribution;
    double sigmaPerTolerance;  // standard deviation of one part over its tolerance
};

class FirstOrderSpreadTest : public testing::TestWithParam<SpreadCase> {};

// 1 % resistors and 1 % capacitors; 10000 trials; the spread of fo and fa agrees with the
// first-order estimate sqrt(sum (S t sigma)^2) from the sensitivities within 20 %, and their
// medians sit at the nominal values.
TEST_P(FirstOrderSpreadTest, AgreesWithTheSensitivities) {
    const SpreadCase& c = GetParam();
    ToleranceInput input;
    input.nominal = c.circuit;
    input.tolerance = {0.01, 0.01, 0.01, 0.01, 0.01, 0.01};
    input.distribution = c.distribution;
    const ToleranceResult r = AnalyseTolerance(input);
    ASSERT_EQ(r.status, RunStatus::Done);
    const auto estimate = [&](const ComponentValues& s) {
        double variance = 0;
        for (std::size_t p = 0; p < kComponentCount; ++p) {
            const double sigma = 0.01 * c.sigmaPerTolerance * s[p];
            variance += sigma * sigma;
        }
        return std::sqrt(variance);
    };
    const double foSpread = r.fo.standardDeviation / r.fo.nominal;
    const double faSpread = r.fa.standardDeviation / r.fa.nominal;
    EXPECT_NEAR(foSpread / estimate(r.sensitivity.fo), 1, 0.2);
    EXPECT_NEAR(faSpread / estimate(r.sensitivity.fa), 1, 0.2);
    EXPECT_NEAR(r.fo.p50 / r.fo.nominal, 1, 0.002);
    EXPECT_LT(r.fo.p1, r.fo.p50);
    EXPECT_GT(r.fo.p99, r.fo.p50);
    EXPECT_EQ(r.fo.count, 10000);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Spreads, FirstOrderSpreadTest, testing::Values(
    SpreadCase{"LowPassUniform", kDefaultLowPass, Distribution::Uniform, 1 / std::sqrt(3.0)},
    SpreadCase{"LowPassNormal", kDefaultLowPass, Distribution::Normal, 1 / 3.0},
    SpreadCase{"HighPassUniform", kDefaultHighPass, Distribution::Uniform, 1 / std::sqrt(3.0)}),
    test::CaseName<SpreadCase>);
// clang-format on

// Uniform 5 % on one capacitor alone; run; every drawn part stays inside its tolerance, which
// shows as fo staying inside the band its sensitivity allows.
TEST(ToleranceTest, UniformStaysInsideTheTolerance) {
    ToleranceInput input;
    input.nominal = kDefaultLowPass;
    input.tolerance = {0, 0, 0, 0, 0.05, 0};
    input.trials = 3000;
    const ToleranceResult r = AnalyseTolerance(input);
    const PoleSet low = CircuitPoles({22e3, 22e3, 22e3, 6.8e-9, 15e-9 * 0.95, 1e-9, true});
    const PoleSet high = CircuitPoles({22e3, 22e3, 22e3, 6.8e-9, 15e-9 * 1.05, 1e-9, true});
    EXPECT_GE(r.fo.minimum, std::min(low.fo, high.fo));
    EXPECT_LE(r.fo.maximum, std::max(low.fo, high.fo));
    // a uniform spread fills its band: the extremes come within 1 % of its ends
    EXPECT_LT(r.fo.minimum - std::min(low.fo, high.fo), 0.01 * std::fabs(high.fo - low.fo));
}

// A cancel flag raised from the progress report; run; cancelled early, statistics over the
// trials run.
TEST(ToleranceTest, CancelsFromTheProgressReport) {
    std::atomic<bool> cancel{false};
    std::int64_t reports = 0;
    ToleranceInput input;
    input.nominal = kDefaultLowPass;
    const ToleranceResult r =
        AnalyseTolerance(input, {&cancel, [&](std::int64_t done, std::int64_t total) {
                                     ++reports;
                                     EXPECT_EQ(total, 10000);
                                     EXPECT_LE(done, total);
                                     cancel = true;
                                 }});
    EXPECT_EQ(r.status, RunStatus::Cancelled);
    EXPECT_GT(r.trials, 0);
    EXPECT_LT(r.trials, 10000);
    EXPECT_EQ(r.fo.samples.size(), static_cast<std::size_t>(r.trials));
    EXPECT_EQ(r.fo.count, r.trials);
    EXPECT_GE(reports, 2);
}

struct ReplayCase {
    std::string name;
    Circuit circuit;
    Distribution distribution;
    ComponentValues tolerance;
    std::int64_t trials;
    std::int64_t valuesCollected;
};

class ReplayTest : public testing::TestWithParam<ReplayCase> {};

// One run with every trial's values kept and the same run replayed instead (no values kept,
// a limit on the values collected); every figure of every spread is the same to the bit.
TEST_P(ReplayTest, GivesTheFiguresOfTheKeptValues) {
    const ReplayCase& c = GetParam();
    ToleranceInput input;
    input.nominal = c.circuit;
    input.distribution = c.distribution;
    input.tolerance = c.tolerance;
    input.trials = c.trials;
    input.seed = 77;
    const ToleranceResult kept = AnalyseTolerance(input);
    input.trialsKept = 0;
    input.valuesCollected = c.valuesCollected;
    const ToleranceResult replayed = AnalyseTolerance(input);
    ASSERT_EQ(kept.status, RunStatus::Done) << static_cast<int>(kept.problem.code);
    ASSERT_EQ(replayed.status, RunStatus::Done) << static_cast<int>(replayed.problem.code);
    EXPECT_EQ(replayed.trials, kept.trials);
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    const Spread* pairs[][2] = {{&kept.fa, &replayed.fa},
                                {&kept.fo, &replayed.fo},
                                {&kept.q, &replayed.q},
                                {&kept.cutoff, &replayed.cutoff}};
    for (const auto& [a, b] : pairs) {
        ASSERT_EQ(a->samples.size(), static_cast<std::size_t>(c.trials));
        EXPECT_TRUE(b->samples.empty());
        EXPECT_EQ(b->count, a->count);
        EXPECT_TRUE(same(b->nominal, a->nominal));
        EXPECT_TRUE(same(b->mean, a->mean)) << b->mean << " " << a->mean;
        EXPECT_TRUE(same(b->standardDeviation, a->standardDeviation));
        EXPECT_TRUE(same(b->minimum, a->minimum));
        EXPECT_TRUE(same(b->maximum, a->maximum));
        EXPECT_TRUE(same(b->p1, a->p1)) << b->p1 << " " << a->p1;
        EXPECT_TRUE(same(b->p50, a->p50)) << b->p50 << " " << a->p50;
        EXPECT_TRUE(same(b->p99, a->p99)) << b->p99 << " " << a->p99;
        EXPECT_TRUE(same(b->histogram.low, a->histogram.low));
        EXPECT_TRUE(same(b->histogram.high, a->histogram.high));
        EXPECT_EQ(b->histogram.counts, a->histogram.counts);
    }
}

constexpr ComponentValues kDefaultTolerances{0.01, 0.01, 0.01, 0.05, 0.05, 0.05};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Runs, ReplayTest, testing::Values(
    ReplayCase{"LowPassUniform", kDefaultLowPass, Distribution::Uniform, kDefaultTolerances, 3000, kValuesCollected},
    ReplayCase{"HighPassNormal", kDefaultHighPass, Distribution::Normal, kDefaultTolerances, 3001, kValuesCollected},
    // Nothing may be collected: every rank is narrowed down to its whole key.
    ReplayCase{"NarrowedToTheKey", kDefaultLowPass, Distribution::Uniform, kDefaultTolerances, 2000, 0},
    // Collected only where a bracket holds few values.
    ReplayCase{"PartlyCollected", kDefaultHighPass, Distribution::Uniform, kDefaultTolerances, 5000, 400},
    ReplayCase{"EveryTrialTheSame", kDefaultLowPass, Distribution::Normal, ComponentValues{}, 700, 40},
    // Some trials have no complex pair and count for Q and fa only where defined.
    ReplayCase{"WideTolerancesDropTrials", kDefaultLowPass, Distribution::Uniform, ComponentValues{0.999, 0.999, 0.999, 0.999, 0.999, 0.999}, 4000, kValuesCollected},
    ReplayCase{"OneTrial", kDefaultLowPass, Distribution::Uniform, kDefaultTolerances, 1, kValuesCollected}),
    test::CaseName<ReplayCase>);
// clang-format on

// A run that replays, cancelled from the progress report during its second pass; cancelled,
// with the count and extremes of the trials run and no percentiles.
TEST(ReplayTest, CancelsDuringTheSecondPass) {
    std::atomic<bool> cancel{false};
    std::int64_t last = 0;
    ToleranceInput input;
    input.nominal = kDefaultLowPass;
    input.trials = 4000;
    input.trialsKept = 0;
    const ToleranceResult r =
        AnalyseTolerance(input, {&cancel, [&](std::int64_t done, std::int64_t total) {
                                     EXPECT_EQ(total, 4000);
                                     EXPECT_GE(done, last);
                                     last = done;
                                     // halfway through the two passes: in the second one
                                     cancel = done > 2000;
                                 }});
    EXPECT_EQ(r.status, RunStatus::Cancelled);
    EXPECT_EQ(r.trials, 4000);
    EXPECT_EQ(r.fo.count, 4000);
    EXPECT_LT(r.fo.minimum, r.fo.maximum);
    EXPECT_TRUE(std::isnan(r.fo.p50));
    EXPECT_TRUE(std::isnan(r.fo.standardDeviation));
}

struct ToleranceInvalidCase {
    std::string name;
    void (*spoil)(ToleranceInput&);
};

class ToleranceInvalidTest : public testing::TestWithParam<ToleranceInvalidCase> {};

// An input with one thing wrong; run; refused as invalid with a reason and no trials.
TEST_P(ToleranceInvalidTest, IsRefused) {
    ToleranceInput input;
    input.nominal = kDefaultLowPass;
    GetParam().spoil(input);
    const ToleranceResult r = AnalyseTolerance(input);
    EXPECT_EQ(r.status, RunStatus::Invalid);
    EXPECT_TRUE(r.problem);
    EXPECT_EQ(r.trials, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Inputs, ToleranceInvalidTest, testing::Values(
    ToleranceInvalidCase{"FullTolerance", [](ToleranceInput& i) { i.tolerance[0] = 1; }},
    ToleranceInvalidCase{"NegativeTolerance", [](ToleranceInput& i) { i.tolerance[5] = -0.01; }},
    ToleranceInvalidCase{"NaNTolerance", [](ToleranceInput& i) { i.tolerance[2] = NAN; }},
    ToleranceInvalidCase{"NoTrials", [](ToleranceInput& i) { i.trials = 0; }},
    ToleranceInvalidCase{"NoBins", [](ToleranceInput& i) { i.bins = 0; }},
    ToleranceInvalidCase{"ZeroComponent", [](ToleranceInput& i) { i.nominal.C3 = 0; }},
    ToleranceInvalidCase{"BackwardsRange", [](ToleranceInput& i) {i.cutoffRange = {1e4, 10};}}),
    test::CaseName<ToleranceInvalidCase>);
// clang-format on

}  // namespace
}  // namespace mirelto

namespace mirelto {
namespace {

// Random trials of both forms with wide tolerances; the spread's samples; each trial's fa, fo, Q
// agree with the back-calculation of the same circuit to 1e-11 (the trials take the poles from
// the denominator's roots instead).
TEST(ToleranceTrialTest, PolesAgreeWithTheBackCalculation) {
    for (const bool isLpf : {true, false}) {
        ToleranceInput input;
        input.nominal = isLpf ? kDefaultLowPass : kDefaultHighPass;
        input.tolerance = {0.2, 0.2, 0.2, 0.2, 0.2, 0.2};
        input.trials = 300;
        input.seed = 5;
        const ToleranceResult r = AnalyseTolerance(input);
        ASSERT_EQ(r.status, RunStatus::Done) << static_cast<int>(r.problem.code);
        // The same draws again, analysed by the back-calculation.
        PortableRandom random(input.seed);
        const ComponentValues parts = ComponentsOf(input.nominal);
        for (std::size_t t = 0; t < 300; ++t) {
            ComponentValues drawn{};
            for (std::size_t p = 0; p < kComponentCount; ++p) {
                drawn[p] = parts[p] * (1 + input.tolerance[p] * (2 * random.Uniform() - 1));
            }
            const PoleSet expected = CircuitPoles(CircuitOf(drawn, isLpf));
            ASSERT_NEAR(r.fa.samples[t], expected.fa, 1e-11 * expected.fa) << t;
            ASSERT_NEAR(r.fo.samples[t], expected.fo, 1e-11 * expected.fo) << t;
            ASSERT_NEAR(r.q.samples[t], expected.q, 1e-11 * expected.q) << t;
        }
    }
}

}  // namespace
}  // namespace mirelto
