// The analysis window's curves and figures: a synthesised design against its request, the plotted
// range, phase and group delay conventions, step traces, the op-amp trace and its warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/design/messages.h"
#include "mirelto/response/analysis.h"
#include "mirelto/response/cutoff.h"
#include "mirelto/response/op_amp.h"
#include "mirelto/response/step.h"
#include "mirelto/response/transfer.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::kDefaultHighPass;
using test::kDefaultLowPass;
using test::kDefaultRequest;

using test::PrintTo;

constexpr double kTwoPi = 2 * std::numbers::pi;

AnalysisInput Input(bool isLpf, PoleSet request, const Circuit& built, double gbw = 0) {
    AnalysisInput input;
    input.isLpf = isLpf;
    input.requested = request;
    input.built = built;
    input.opAmpGbw = gbw;
    return input;
}

AnalysisInput DefaultLowPass(double gbw = 0) {
    return Input(true, kDefaultRequest, kDefaultLowPass, gbw);
}

AnalysisInput DefaultHighPass(double gbw = 0) {
    return Input(false, kDefaultRequest, kDefaultHighPass, gbw);
}

struct DesignCase {
    std::string name;
    bool isLpf;
    PoleSet request;
    double given1, given2, given3;  // R1..R3 for the LPF, C1..C3 for the HPF
};

class SynthesisedDesignTest : public testing::TestWithParam<DesignCase> {
  protected:
    void SetUp() override {
        DesignState = DesignRecord{};
        previous_ = SetMessageSink([](MessageId) {});
    }
    void TearDown() override { SetMessageSink(previous_); }

    // The unrounded circuit the synthesis computes for the case.
    static Circuit Synthesise(const DesignCase& t) {
        DesignRecord& s = DesignState;
        s.IsLpf = t.isLpf;
        (t.isLpf ? s.R1 : s.C1) = t.given1;
        (t.isLpf ? s.R2 : s.C2) = t.given2;
        (t.isLpf ? s.R3 : s.C3) = t.given3;
        s.ResultValid = true;
        SynthesizeFilter(t.request.fa, t.request.fo, t.request.q, 0, 0, 0, t.isLpf);
        return {s.ResR1, s.ResR2, s.ResR3, s.ResC1, s.ResC2, s.ResC3, t.isLpf};
    }

  private:
    MessageSink previous_;
};

// A request synthesised without rounding; the circuit's response (ideal follower, and the nodal
// solution with an infinitely fast op-amp) at 100 frequencies over six decades equals the
// requested transfer function within 1e-9 relative.
TEST_P(SynthesisedDesignTest, CircuitResponseEqualsTheRequest) {
    const DesignCase& t = GetParam();
    const Circuit c = Synthesise(t);
    ASSERT_TRUE(DesignState.ResultValid);
    const Rational3 request = RequestedTransfer(t.request, t.isLpf);
    const Rational3 circuit = CircuitTransfer(c);
    for (int k = 0; k < 100; ++k) {
        const double f = t.request.fo * std::pow(10.0, -3 + 6.0 * k / 99);
        const Complex expected = Evaluate(request, f);
        const double tolerance = 1e-9 * std::abs(expected);
        EXPECT_LE(std::abs(Evaluate(circuit, f) - expected), tolerance) << f << " Hz";
        EXPECT_LE(std::abs(CircuitResponseWithOpAmp(c, HUGE_VAL, f) - expected), tolerance)
            << f << " Hz";
    }
}

// The same design analysed; the requested and built traces agree point by point.
TEST_P(SynthesisedDesignTest, BuiltTracesOverlayTheRequestedOnes) {
    const DesignCase& t = GetParam();
    const AnalysisResult r = Analyse(Input(t.isLpf, t.request, Synthesise(t)));
    ASSERT_FALSE(r.requested.empty());
    ASSERT_EQ(r.built.magnitudeDb.size(), r.frequency.size());
    for (std::size_t i = 0; i < r.frequency.size(); ++i) {
        EXPECT_NEAR(r.built.magnitudeDb[i], r.requested.magnitudeDb[i], 1e-7);
        EXPECT_NEAR(r.built.phaseDeg[i], r.requested.phaseDeg[i], 1e-6);
        EXPECT_NEAR(r.built.groupDelay[i], r.requested.groupDelay[i],
                    1e-8 * std::fabs(r.requested.groupDelay[i]));
    }
    EXPECT_NEAR(r.builtFigures.cutoff, r.requestedFigures.cutoff, 1e-9 * r.requestedFigures.cutoff);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Requests, SynthesisedDesignTest, testing::Values(
    DesignCase{"DefaultLowPass", true, kDefaultRequest, 22e3, 22e3, 22e3},
    DesignCase{"SharpLowPass", true, {300, 1000, 6}, 10e3, 100e3, 470e3},
    DesignCase{"DefaultHighPass", false, kDefaultRequest, 3.3e-9, 3.3e-9, 3.3e-9},
    DesignCase{"HighPassFaFarBelowFo", false, {20, 2000, 0.8}, 1e-6, 100e-9, 10e-9}),
    test::CaseName<DesignCase>);
// clang-format on

struct RangeCase {
    std::string name;
    AnalysisInput input;
};

class PlotRangeTest : public testing::TestWithParam<RangeCase> {};

bool Is125(double x) {
    const double mantissa = x / std::pow(10.0, std::floor(std::log10(x) + 1e-12));
    return std::fabs(mantissa - 1) < 1e-12 || std::fabs(mantissa - 2) < 1e-12 ||
           std::fabs(mantissa - 5) < 1e-12;
}

// An input; its range; it reaches at least a decade and a half beyond every fa, fo and -3 dB
// frequency of the analysis, at most one 1-2-5 step more, and ends on 1-2-5 values.
TEST_P(PlotRangeTest, PadsTheFiguresByADecadeAndAHalf) {
    const AnalysisInput& input = GetParam().input;
    const FrequencyRange range = PlotRange(input);
    const AnalysisResult r = Analyse(input);
    std::vector<double> figures;
    for (const Figures* f : {&r.requestedFigures, &r.builtFigures, &r.opAmpFigures}) {
        for (double x : {f->fa, f->fo, f->cutoff}) {
            if (std::isfinite(x)) {
                figures.push_back(x);
            }
        }
    }
    ASSERT_FALSE(figures.empty());
    const double padding = std::pow(10.0, 1.5);
    const double lowest = *std::min_element(figures.begin(), figures.end()) / padding;
    const double highest = *std::max_element(figures.begin(), figures.end()) * padding;
    EXPECT_LE(range.low, lowest);
    EXPECT_GT(range.low, lowest / 2.5);
    EXPECT_GE(range.high, highest);
    EXPECT_LT(range.high, highest * 2.5);
    EXPECT_GE(range.high / range.low, 1e3);
    EXPECT_TRUE(Is125(range.low)) << range.low;
    EXPECT_TRUE(Is125(range.high)) << range.high;
    EXPECT_EQ(r.frequency.front(), range.low);
    EXPECT_EQ(r.frequency.back(), range.high);
}

AnalysisInput WithoutRequest(AnalysisInput input) {
    input.hasRequest = false;
    input.requested = {1, 1, 1};  // ignored
    return input;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Inputs, PlotRangeTest, testing::Values(
    RangeCase{"DefaultLowPass", DefaultLowPass(1e6)},
    RangeCase{"DefaultHighPass", DefaultHighPass(1e6)},
    RangeCase{"BuiltOnly", WithoutRequest(DefaultLowPass())},
    RangeCase{"RequestFarFromTheCircuit", Input(true, {20, 30, 0.7}, kDefaultLowPass)},
    RangeCase{"SlowOpAmpMovesTheCutoff", DefaultLowPass(3e3)},
    RangeCase{"RequestOnly", Input(false, {5e4, 1e4, 3}, {0, 1, 1, 1, 1, 1, false})}),
    test::CaseName<RangeCase>);
// clang-format on

// Nothing usable (no request, impossible parts); the range is the fallback 10 Hz to 100 kHz and
// no trace is computed.
TEST(PlotRangeFallback, NothingUsableGivesTheDefaultRange) {
    AnalysisInput input = WithoutRequest(DefaultLowPass(1e6));
    input.built.C2 = -1;
    const FrequencyRange range = PlotRange(input);
    EXPECT_EQ(range.low, 10);
    EXPECT_EQ(range.high, 100e3);
    const AnalysisResult r = Analyse(input);
    EXPECT_TRUE(r.requested.empty() && r.built.empty() && r.opAmp.empty());
    EXPECT_TRUE(r.builtStep.empty() && r.requestedStep.empty());
    EXPECT_TRUE(std::isnan(r.builtFigures.cutoff));
}

bool AllNaN(const Figures& f) {
    return std::isnan(f.fa) && std::isnan(f.fo) && std::isnan(f.q) && std::isnan(f.cutoff) &&
           std::isnan(f.gainAtFoDb) && std::isnan(f.peak.frequency) && std::isnan(f.peak.gainDb);
}

// A transfer-function calculation (no request) with a few points; the requested trace, step
// and figures are empty or NaN, the built ones complete, the grid holds the log-spaced points
// asked for (its ends included) and the band added around the resonance, strictly ascending.
TEST(AnalyseTest, WithoutARequestOnlyTheBuiltCircuit) {
    AnalysisInput input = WithoutRequest(DefaultLowPass());
    input.points = 7;
    const AnalysisResult r = Analyse(input);
    const FrequencyRange range = PlotRange(input);
    EXPECT_GT(r.frequency.size(), 7u);
    EXPECT_EQ(r.frequency.front(), range.low);
    EXPECT_EQ(r.frequency.back(), range.high);
    EXPECT_TRUE(std::adjacent_find(r.frequency.begin(), r.frequency.end(),
                                   std::greater_equal<double>()) == r.frequency.end());
    EXPECT_TRUE(r.requested.empty());
    EXPECT_TRUE(r.requestedStep.empty());
    EXPECT_TRUE(AllNaN(r.requestedFigures));
    EXPECT_EQ(r.built.phaseDeg.size(), r.frequency.size());
    EXPECT_EQ(r.built.groupDelay.size(), r.frequency.size());
    EXPECT_EQ(r.builtStep.value.size(), 400u);
    const PoleSet poles = CircuitPoles(kDefaultLowPass);
    EXPECT_EQ(r.builtFigures.fa, poles.fa);
    EXPECT_EQ(r.builtFigures.fo, poles.fo);
    EXPECT_EQ(r.builtFigures.q, poles.q);
}

// No op-amp GBW given, or one that is not positive; no op-amp trace, NaN figures, no warning.
TEST(AnalyseTest, OpAmpCurveOnlyWithAPositiveGbw) {
    for (double gbw : {0.0, std::nan(""), -1e6}) {
        const AnalysisResult r = Analyse(DefaultLowPass(gbw));
        EXPECT_TRUE(r.opAmp.empty()) << gbw;
        EXPECT_TRUE(AllNaN(r.opAmpFigures)) << gbw;
        EXPECT_FALSE(r.opAmpWarning) << gbw;
        EXPECT_FALSE(r.built.empty());
    }
}

struct PhaseCase {
    std::string name;
    AnalysisInput input;
    double startDeg, endDeg;  // the asymptotes at the ends of the grid
};

class PhaseConventionTest : public testing::TestWithParam<PhaseCase> {};

// Low-pass and high-pass responses, one with a Q of 40 whose phase turns by almost 180 degrees
// between two grid points; the phase of both rational traces starts at its low-frequency
// asymptote, falls at every step (all poles in the left half plane), and ends at the
// high-frequency asymptote.
TEST_P(PhaseConventionTest, ContinuousFromTheAsymptote) {
    const PhaseCase& t = GetParam();
    const AnalysisResult r = Analyse(t.input);
    for (const Trace* trace : {&r.requested, &r.built}) {
        ASSERT_FALSE(trace->empty());
        const std::vector<double>& phase = trace->phaseDeg;
        EXPECT_NEAR(phase.front(), t.startDeg, 4);
        EXPECT_NEAR(phase.back(), t.endDeg, 4);
        for (std::size_t i = 1; i < phase.size(); ++i) {
            ASSERT_LT(phase[i], phase[i - 1]) << "at " << r.frequency[i] << " Hz";
        }
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Responses, PhaseConventionTest, testing::Values(
    PhaseCase{"LowPass", DefaultLowPass(), 0, -270},
    PhaseCase{"HighPass", DefaultHighPass(), 270, 0},
    PhaseCase{"SharpLowPass", Input(true, {1000, 1000, 40}, kDefaultLowPass), 0, -270},
    PhaseCase{"SharpHighPass", Input(false, {1000, 1000, 40}, kDefaultHighPass), 270, 0}),
    test::CaseName<PhaseCase>);
// clang-format on

// Every trace of the default designs, the op-amp one included; the group delay equals the
// slope of the phase trace between neighbouring points within 1 %.
TEST(AnalyseTest, GroupDelayIsTheSlopeOfThePhase) {
    for (const AnalysisInput& input : {DefaultLowPass(100e3), DefaultHighPass(100e3)}) {
        AnalysisInput fine = input;
        fine.points = 4000;
        const AnalysisResult r = Analyse(fine);
        for (const Trace* trace : {&r.requested, &r.built, &r.opAmp}) {
            for (std::size_t i = 1; i < r.frequency.size(); ++i) {
                const double slope = -(trace->phaseDeg[i] - trace->phaseDeg[i - 1]) / 180 *
                                     std::numbers::pi /
                                     (kTwoPi * (r.frequency[i] - r.frequency[i - 1]));
                const double mean = 0.5 * (trace->groupDelay[i] + trace->groupDelay[i - 1]);
                ASSERT_NEAR(slope, mean, 0.01 * std::fabs(mean) + 1e-12)
                    << "at " << r.frequency[i] << " Hz";
            }
        }
    }
}

// A very fast op-amp; its trace equals the ideal built one.
TEST(AnalyseTest, FastOpAmpOverlaysTheBuiltCircuit) {
    for (const AnalysisInput& input : {DefaultLowPass(1e13), DefaultHighPass(1e13)}) {
        const AnalysisResult r = Analyse(input);
        for (std::size_t i = 0; i < r.frequency.size(); ++i) {
            EXPECT_NEAR(r.opAmp.magnitudeDb[i], r.built.magnitudeDb[i], 1e-6);
            EXPECT_NEAR(r.opAmp.phaseDeg[i], r.built.phaseDeg[i], 1e-6);
            EXPECT_NEAR(r.opAmp.groupDelay[i], r.built.groupDelay[i],
                        1e-6 * std::fabs(r.built.groupDelay[i]));
        }
        EXPECT_NEAR(r.opAmpFigures.cutoff, r.builtFigures.cutoff, 1e-9 * r.builtFigures.cutoff);
        EXPECT_FALSE(r.opAmpWarning);
    }
}

// The default low-pass and high-pass with op-amps from 1 kHz to 100 MHz in fine steps; the
// warning is on for the slow ones, off for the fast ones, and changes exactly once, where the
// op-amp moves the cutoff by 1 % or the peak by 0.5 dB.
TEST(AnalyseTest, OpAmpWarningSwitchesOffOnceAtTheLimits) {
    for (const bool isLpf : {true, false}) {
        int switches = 0;
        bool previous = true;
        for (double gbw = 1e3; gbw <= 1e8; gbw *= 1.25) {
            const AnalysisResult r = Analyse(isLpf ? DefaultLowPass(gbw) : DefaultHighPass(gbw));
            const double shift = std::fabs(r.opAmpFigures.cutoff / r.builtFigures.cutoff - 1);
            const double peakChange =
                std::fabs(r.opAmpFigures.peak.gainDb - r.builtFigures.peak.gainDb);
            EXPECT_EQ(r.opAmpWarning, !(shift <= 0.01 && peakChange <= 0.5)) << gbw;
            switches += r.opAmpWarning != previous;
            previous = r.opAmpWarning;
        }
        EXPECT_EQ(switches, 1) << (isLpf ? "LPF" : "HPF");
        EXPECT_FALSE(previous);
    }
}

// The default designs' figures; fa, fo, Q are the request's and the analysis's, the cutoffs
// and peaks are those the searches find over the plotted range, the gain at fo is |H(fo)|.
TEST(AnalyseTest, FiguresOfEachResponse) {
    const AnalysisInput input = DefaultLowPass(1e5);
    const AnalysisResult r = Analyse(input);
    const Figures& req = r.requestedFigures;
    EXPECT_EQ(req.fa, 1420);
    EXPECT_EQ(req.q, 1);
    // the request is Butterworth: -3 dB at fo, and its pass band never rises above 0 dB
    EXPECT_NEAR(req.cutoff, 1420, 1e-12 * 1420);
    EXPECT_NEAR(req.gainAtFoDb, -10 * std::log10(2.0), 1e-12);
    EXPECT_EQ(req.peak.frequency, r.frequency.front());
    EXPECT_NEAR(req.peak.gainDb, 0, 1e-9);

    const Rational3 built = CircuitTransfer(kDefaultLowPass);
    const auto builtResponse = [&built](double f) { return Evaluate(built, f); };
    const FrequencyRange range = PlotRange(input);
    EXPECT_NEAR(r.builtFigures.cutoff, CutoffFrequency(builtResponse, true, range.low, range.high),
                1e-12 * r.builtFigures.cutoff);
    EXPECT_NEAR(r.builtFigures.gainAtFoDb,
                20 * std::log10(std::abs(Evaluate(built, r.builtFigures.fo))), 1e-12);
    const Peak peak = PeakGain(builtResponse, range.low, range.high);
    // The same search through another call path: the optimiser may round the last bit apart.
    EXPECT_NEAR(r.builtFigures.peak.frequency, peak.frequency, 1e-12 * peak.frequency);

    const Figures& op = r.opAmpFigures;
    EXPECT_TRUE(std::isnan(op.fa) && std::isnan(op.fo) && std::isnan(op.q));
    EXPECT_NEAR(op.gainAtFoDb,
                20 * std::log10(std::abs(
                         CircuitResponseWithOpAmp(kDefaultLowPass, 1e5, r.builtFigures.fo))),
                1e-12);
}

struct StepTraceCase {
    std::string name;
    AnalysisInput input;
    double start, end;
};

class StepTraceTest : public testing::TestWithParam<StepTraceCase> {};

// A design; its step traces share 400 or more evenly spaced times from 0, start at the
// response's value at the step (0 for the LPF, 1 for the HPF) and have settled at the end; the
// values are StepResponse's.
TEST_P(StepTraceTest, SettlesWithinTheTimeRange) {
    const StepTraceCase& t = GetParam();
    const AnalysisResult r = Analyse(t.input);
    EXPECT_FALSE(r.stepShortened);
    for (const StepTrace* step : {&r.requestedStep, &r.builtStep}) {
        ASSERT_GE(step->time.size(), 400u);
        EXPECT_EQ(step->time, r.requestedStep.time);
        EXPECT_EQ(step->time.front(), 0);
        const double dt = step->time[1];
        for (std::size_t i = 1; i < step->time.size(); ++i) {
            ASSERT_NEAR(step->time[i] - step->time[i - 1], dt, 1e-9 * dt);
        }
        EXPECT_NEAR(step->value.front(), t.start, 1e-12);
        EXPECT_NEAR(step->value.back(), t.end, 1e-3);
        // the last tenth of the range is already flat to the same degree
        EXPECT_NEAR(step->value[step->value.size() * 9 / 10], t.end, 1e-2);
    }
    EXPECT_EQ(r.builtStep.value, StepResponse(CircuitTransfer(t.input.built), r.builtStep.time));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Designs, StepTraceTest, testing::Values(
    StepTraceCase{"LowPass", DefaultLowPass(), 0, 1},
    StepTraceCase{"HighPass", DefaultHighPass(), 1, 0},
    StepTraceCase{"SlowRealPole", Input(true, {50, 1420, 2}, kDefaultLowPass), 0, 1},
    StepTraceCase{"RingingRequest", Input(false, {1420, 1420, 8}, kDefaultHighPass), 1, 0}),
    test::CaseName<StepTraceCase>);
// clang-format on

struct ResonanceCase {
    std::string name;
    bool isLpf;
    double q;
    bool stepShortened;  // settling needs more than kMaxStepPoints at 20 a period
};

class ResonanceTest : public testing::TestWithParam<ResonanceCase> {};

// A request with a sharp pole pair (fa = 300 Hz, fo = 1 kHz); the plotted magnitude peaks within
// 0.1 dB of the table's peak, the plotted group delay within 1 % of its true peak (a scan 5000
// points a half-width fine), and the step response has 20 samples a ringing period at least,
// no more than the bound, cut short (and saying so) only when settling needs more.
TEST_P(ResonanceTest, PlotsResolveThePeaks) {
    const ResonanceCase& t = GetParam();
    const PoleSet poles{300, 1000, t.q};
    AnalysisInput input = Input(t.isLpf, poles, Circuit{});  // no circuit: the request alone
    const AnalysisResult r = Analyse(input);
    ASSERT_FALSE(r.requested.empty());

    const double plottedPeak =
        *std::max_element(r.requested.magnitudeDb.begin(), r.requested.magnitudeDb.end());
    EXPECT_NEAR(plottedPeak, r.requestedFigures.peak.gainDb, 0.1);

    const Rational3 h = RequestedTransfer(poles, t.isLpf);
    const double halfWidth = poles.fo / (2 * t.q);
    double truePeak = 0;
    for (int i = -25000; i <= 25000; ++i) {
        truePeak = std::max(truePeak, GroupDelay(h, poles.fo + i * halfWidth / 5000));
    }
    const double plottedDelay =
        *std::max_element(r.requested.groupDelay.begin(), r.requested.groupDelay.end());
    EXPECT_LE(plottedDelay, truePeak * (1 + 1e-6));
    EXPECT_GE(plottedDelay, truePeak * 0.99);

    const std::vector<double>& time = r.requestedStep.time;
    ASSERT_GE(time.size(), 2u);
    EXPECT_LE(time.size(), static_cast<std::size_t>(kMaxStepPoints));
    const double period = 1 / (poles.fo * std::sqrt(1 - 1 / (4 * t.q * t.q)));
    EXPECT_LE(time[1] - time[0], period / 20 * (1 + 1e-12));
    EXPECT_EQ(r.stepShortened, t.stepShortened);
    // Settled: ten time constants of the pair; cut short: before that.
    const double settling = 10 / (kTwoPi * halfWidth);
    if (t.stepShortened) {
        EXPECT_LT(time.back(), settling * (1 - 1e-6));
    } else {
        EXPECT_GE(time.back(), settling * (1 - 1e-9));
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Sharp, ResonanceTest, testing::Values(
    ResonanceCase{"LowPassQ10", true, 10, false},
    ResonanceCase{"LowPassQ50", true, 50, false},
    ResonanceCase{"LowPassQ100", true, 100, true},
    ResonanceCase{"LowPassQ1000", true, 1000, true},
    ResonanceCase{"HighPassQ100", false, 100, true},
    ResonanceCase{"HighPassQ1000", false, 1000, true}),
    test::CaseName<ResonanceCase>);
// clang-format on

// Analyses on four threads at once; each equals the single-threaded result.
TEST(AnalyseTest, RunsOnManyThreadsAtOnce) {
    const std::vector<AnalysisInput> inputs{DefaultLowPass(1e6), DefaultHighPass(3e4),
                                            WithoutRequest(DefaultHighPass())};
    std::vector<AnalysisResult> expected;
    for (const AnalysisInput& input : inputs) {
        expected.push_back(Analyse(input));
    }
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                const std::size_t i = (round + t) % inputs.size();
                const AnalysisResult r = Analyse(inputs[i]);
                mismatches[t] += r.built.phaseDeg != expected[i].built.phaseDeg ||
                                 r.opAmp.magnitudeDb != expected[i].opAmp.magnitudeDb ||
                                 r.builtFigures.cutoff != expected[i].builtFigures.cutoff;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

struct ErrorCase {
    std::string name;
    double requested, built, percent;
};

class RelativeErrorTest : public testing::TestWithParam<ErrorCase> {};

// A requested and a built value; the error in per cent, NaN for a zero request.
TEST_P(RelativeErrorTest, PerCentOfTheRequest) {
    const ErrorCase& t = GetParam();
    const double e = RelativeErrorPercent(t.requested, t.built);
    if (std::isnan(t.percent)) {
        EXPECT_TRUE(std::isnan(e));
    } else {
        EXPECT_NEAR(e, t.percent, 1e-12 * std::max(1.0, std::fabs(t.percent)));
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, RelativeErrorTest, testing::Values(
    ErrorCase{"Above", 1420, 1431.36, 0.8},
    ErrorCase{"Below", 1420, 1395.183, -1.747676056338028},
    ErrorCase{"Equal", 0.961, 0.961, 0},
    ErrorCase{"NegativeRequest", -2, -1, -50},
    ErrorCase{"ZeroRequest", 0, 1, std::nan("")}),
    test::CaseName<ErrorCase>);
// clang-format on

}  // namespace
}  // namespace mirelto
