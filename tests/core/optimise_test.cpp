// Best standard values: the neighbours along a series, the ideal design over the window's
// synthesis, and the ranking against the constant calculation and against a brute-force
// enumeration written here.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/design/messages.h"
#include "mirelto/response/cutoff.h"
#include "mirelto/response/transfer.h"
#include "mirelto/tools/optimise.h"
#include "mirelto/tools/presets.h"
#include "mirelto/values/eseries.h"
#include "mirelto/values/value_text.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::kDefaultRequest;

using test::Kilo;
using test::Nano;

// A member of the series with the bits the rounding gives it.
double M(double value, std::int32_t series) {
    return RoundToSeries(value, series);
}

struct NeighbourCase {
    std::string name;
    double value;
    std::int32_t series;
    int steps;
    std::vector<double> expected;
};
using test::PrintTo;

class SeriesNeighboursTest : public testing::TestWithParam<NeighbourCase> {};

// A value and a series; take its neighbours; exactly the members within the steps, ascending,
// and among them the rounded value with its bits. (A member at a decade's edge has two bit
// patterns, 10 x 10^d and 1 x 10^(d+1), which rounding gives from below and from above.)
TEST_P(SeriesNeighboursTest, ListsTheMembersWithinTheSteps) {
    const NeighbourCase& c = GetParam();
    const std::vector<double> got = SeriesNeighbours(c.value, c.series, c.steps);
    ASSERT_EQ(got.size(), c.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i], c.expected[i], 1e-12 * c.expected[i]) << "at " << i;
    }
    EXPECT_TRUE(std::is_sorted(got.begin(), got.end()));
    if (!c.expected.empty() && c.steps >= 1) {
        EXPECT_NE(std::find(got.begin(), got.end(), RoundToSeries(c.value, c.series)), got.end());
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Members, SeriesNeighboursTest, testing::Values(
    NeighbourCase{"IdealC1OnE6TwoSteps", 7.094962e-9, 6, 2, {M(3.3e-9, 6), M(4.7e-9, 6), M(6.8e-9, 6), M(10e-9, 6), M(15e-9, 6)}},
    NeighbourCase{"IdealC2OnE6OneStep", 18.06958e-9, 6, 1, {M(10e-9, 6), M(15e-9, 6), M(22e-9, 6)}},
    NeighbourCase{"MemberOnE24OneStep", 22000, 24, 1, {20000, 22000, 24000}},
    NeighbourCase{"MemberOnE12ThreeStepsAcrossADecade", 1000, 12, 3, {560, 680, M(820, 12), 1000, 1200, 1500, 1800}},
    NeighbourCase{"JustAboveADecadeOnE6", 10.5e-9, 6, 2, {M(4.7e-9, 6), M(6.8e-9, 6), M(10e-9, 6), M(15e-9, 6), M(22e-9, 6)}},
    NeighbourCase{"TypedNanoCountsAsTheMember", Nano(3.3), 6, 1, {M(2.2e-9, 6), M(3.3e-9, 6), M(4.7e-9, 6)}},
    // 2.9k rounds to 2.2k on E3: the steps count from there.
    NeighbourCase{"StepsCountFromTheRoundedMember", 2.9e3, 3, 1, {1000, 2200, 4700}},
    NeighbourCase{"E96TwoSteps", 1.234e4, 96, 2, {11800, 12100, 12400, 12700, 13000}},
    NeighbourCase{"ZeroStepsIsTheRoundedMember", 7.094962e-9, 6, 0, {M(6.8e-9, 6)}},
    NeighbourCase{"NoSeries", 1000, 0, 2, {}},
    NeighbourCase{"ZeroValue", 0, 6, 2, {}},
    NeighbourCase{"NegativeValue", -1000, 6, 2, {}},
    NeighbourCase{"NotFinite", HUGE_VAL, 6, 2, {}}),
    test::CaseName<NeighbourCase>);
// clang-format on

// A design record in use and a sink installed; design the default request ideally; the
// computed capacitors are the synthesis's unrounded ones, and record and sink are untouched.
TEST(DesignIdealTest, IsTheWindowsSynthesisWithoutRounding) {
    test::DesignDefaultInTheWindow(true, 0);
    const DesignRecord unrounded = DesignState;
    DesignState.FaResult = 123;
    int messages = 0;
    const MessageSink previous = SetMessageSink([&](MessageId) { ++messages; });

    const IdealDesign ideal = DesignIdeal(kDefaultRequest, true, {Kilo(22), Kilo(22), Kilo(22)});

    ASSERT_TRUE(ideal.realisable);
    EXPECT_EQ(ideal.circuit.C1, unrounded.ResC1);
    EXPECT_EQ(ideal.circuit.C2, unrounded.ResC2);
    EXPECT_EQ(ideal.circuit.C3, unrounded.ResC3);
    EXPECT_EQ(ideal.circuit.R2, Kilo(22));
    EXPECT_TRUE(ideal.circuit.isLpf);
    EXPECT_EQ(DesignState.FaResult, 123);
    ShowMessage(MessageId::FaMissing);
    EXPECT_EQ(messages, 1);
    SetMessageSink(previous);
}

struct IdealRejectCase {
    std::string name;
    bool isLpf;
    std::array<double, 3> given;
    ConstantStop stop;
};

class DesignIdealRejectTest : public testing::TestWithParam<IdealRejectCase> {};

// A request the synthesis refuses or faults on; design it ideally; not realisable, with the
// refusal's text, and nothing reaches the installed sink.
TEST_P(DesignIdealRejectTest, ReturnsTheReasonInsteadOfShowingIt) {
    const IdealRejectCase& c = GetParam();
    int messages = 0;
    const MessageSink previous = SetMessageSink([&](MessageId) { ++messages; });
    const IdealDesign ideal = DesignIdeal(kDefaultRequest, c.isLpf, c.given);
    SetMessageSink(previous);
    EXPECT_FALSE(ideal.realisable);
    EXPECT_EQ(ideal.stop, c.stop);
    EXPECT_EQ(messages, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Refusals, DesignIdealRejectTest, testing::Values(
    IdealRejectCase{"LowPassRatio", true, {Kilo(22), Kilo(7.3), Kilo(7.3)}, ConstantStop::Unrealisable},
    IdealRejectCase{"HighPassRatio", false, {Nano(3.3), Nano(15), Nano(15)}, ConstantStop::Unrealisable},
    IdealRejectCase{"ZeroR1IsRefused", true, {0, Kilo(22), Kilo(22)}, ConstantStop::NonPositivePart},
    IdealRejectCase{"BlankR1", true, {NAN, Kilo(22), Kilo(22)}, ConstantStop::MissingFirstPart}),
    test::CaseName<IdealRejectCase>);
// clang-format on

// The window's constant calculation of the default LPF request (E6 capacitors): its circuit and
// its back-calculated fa, fo, Q.
struct WindowResult {
    Circuit circuit;
    PoleSet poles;
};
WindowResult DefaultLowPassInTheWindow() {
    test::DesignDefaultInTheWindow(true, 6);
    const DesignRecord& s = DesignState;
    return {{s.ResR1, s.ResR2, s.ResR3, s.ResC1, s.ResC2, s.ResC3, true},
            {s.FaResult, s.FoResult, s.QResult}};
}

OptimiseInput DefaultLowPassInput(std::int32_t resistorSeries, int steps) {
    const IdealDesign ideal = DesignIdeal(kDefaultRequest, true, {Kilo(22), Kilo(22), Kilo(22)});
    OptimiseInput input;
    input.requested = kDefaultRequest;
    input.ideal = ideal.circuit;
    input.series = {resistorSeries, resistorSeries, resistorSeries, 6, 6, 6};
    input.steps = steps;
    return input;
}

void ExpectSameCircuit(const Circuit& a, const Circuit& b) {
    EXPECT_EQ(ComponentsOf(a), ComponentsOf(b));
    EXPECT_EQ(a.isLpf, b.isLpf);
}

class FixedResistorsTest : public testing::TestWithParam<int> {};

// The default LPF request, E6 capacitors, resistors fixed, 1 to 3 steps; optimise; the best is
// no worse than plain rounding, and plain rounding is ranked with the window's circuit and the
// back-calculation's fa, fo, Q bit for bit.
TEST_P(FixedResistorsTest, BeatsOrMatchesPlainRoundingWhichIsRanked) {
    const WindowResult window = DefaultLowPassInTheWindow();
    const OptimiseResult r = OptimiseValues(DefaultLowPassInput(0, GetParam()));
    ASSERT_EQ(r.status, RunStatus::Done);
    ASSERT_FALSE(r.best.empty());
    EXPECT_LE(r.best.front().worstError, r.plain.worstError);

    ExpectSameCircuit(r.plain.circuit, window.circuit);
    EXPECT_EQ(r.plain.built.fa, window.poles.fa);
    EXPECT_EQ(r.plain.built.fo, window.poles.fo);
    EXPECT_EQ(r.plain.built.q, window.poles.q);
    EXPECT_EQ(r.plain.error.fo, (window.poles.fo - 1420) / 1420);
    ASSERT_GE(r.plainRank, 1);
    const std::int64_t perPart = 2 * GetParam() + 1;
    EXPECT_EQ(r.combinations, perPart * perPart * perPart);
    if (r.plainRank <= static_cast<std::int64_t>(r.best.size())) {
        const Candidate& listed = r.best[static_cast<std::size_t>(r.plainRank - 1)];
        EXPECT_TRUE(listed.plainRounding);
        ExpectSameCircuit(listed.circuit, window.circuit);
        EXPECT_EQ(listed.built.fo, window.poles.fo);
        EXPECT_EQ(listed.worstError, r.plain.worstError);
    }
    const auto marked = std::count_if(r.best.begin(), r.best.end(),
                                      [](const Candidate& c) { return c.plainRounding; });
    EXPECT_EQ(marked, r.plainRank <= static_cast<std::int64_t>(r.best.size()) ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, FixedResistorsTest, testing::Values(1, 2, 3),
                         [](const auto& info) { return "PlusMinus" + std::to_string(info.param); });

// One step each way: 27 combinations, the best 20 listed; plain rounding is among them, marked
// once.
TEST(OptimiseTest, OneStepListsPlainRounding) {
    const OptimiseResult r = OptimiseValues(DefaultLowPassInput(0, 1));
    ASSERT_EQ(r.combinations, 27);
    ASSERT_EQ(r.best.size(), 20u);
    const auto plain = std::find_if(r.best.begin(), r.best.end(),
                                    [](const Candidate& c) { return c.plainRounding; });
    ASSERT_NE(plain, r.best.end());
    EXPECT_EQ(plain - r.best.begin() + 1, r.plainRank);
    // the window shows 1.395k, 1.631k, 961.092m for this circuit
    EXPECT_NEAR(plain->built.fo, 1631.099, 1e-3);
}

// Given resistors free on E24 +-2 steps with the E6 capacitors; optimise; the best worst error
// is below 3 % (plain rounding's is about 15 %).
TEST(OptimiseTest, FreeResistorsOnE24GetBelowThreePercent) {
    const OptimiseResult r = OptimiseValues(DefaultLowPassInput(24, 2));
    ASSERT_EQ(r.status, RunStatus::Done);
    EXPECT_EQ(r.combinations, 5 * 5 * 5 * 5 * 5 * 5);
    EXPECT_LT(r.best.front().worstError, 0.03);
    EXPECT_GT(r.plain.worstError, 0.10);
    const Candidate& best = r.best.front();
    const PoleSet again = CircuitPoles(best.circuit);
    EXPECT_EQ(again.fo, best.built.fo);
    EXPECT_NEAR(best.worstError,
                std::max({std::fabs(again.fa / 1420 - 1), std::fabs(again.fo / 1420 - 1),
                          std::fabs(again.q - 1)}),
                1e-14);
}

// The default HPF request, E24 resistors, capacitors fixed; optimise one step; plain rounding is
// the window's 24k, 10k, 160k with the back-calculation's fa, fo, Q, and it is listed.
TEST(OptimiseTest, HighPassPlainRoundingIsTheWindows) {
    test::DesignDefaultInTheWindow(false, 24);
    const DesignRecord window = DesignState;

    OptimiseInput input;
    input.requested = kDefaultRequest;
    input.ideal = DesignIdeal(kDefaultRequest, false, {Nano(3.3), Nano(3.3), Nano(3.3)}).circuit;
    input.series = {24, 24, 24, 0, 0, 0};
    input.steps = 1;
    const OptimiseResult r = OptimiseValues(input);
    ASSERT_EQ(r.combinations, 27);
    EXPECT_EQ(ComponentsOf(r.plain.circuit),
              (ComponentValues{24000, 10000, 160000, Nano(3.3), Nano(3.3), Nano(3.3)}));
    EXPECT_EQ(r.plain.built.fa, window.FaResult);
    EXPECT_EQ(r.plain.built.fo, window.FoResult);
    EXPECT_EQ(r.plain.built.q, window.QResult);
    ASSERT_GE(r.plainRank, 1);
    EXPECT_TRUE(r.best[static_cast<std::size_t>(r.plainRank - 1)].plainRounding);
}

// Two optimisations at once on worker threads; each ranking equals the one run alone (nothing
// shared but the read-only series tables).
TEST(OptimiseTest, RunsOnWorkerThreads) {
    const OptimiseInput input = DefaultLowPassInput(24, 2);
    const OptimiseResult alone = OptimiseValues(input);
    OptimiseResult results[2];
    std::thread first([&] { results[0] = OptimiseValues(input); });
    std::thread second([&] { results[1] = OptimiseValues(input); });
    first.join();
    second.join();
    for (const OptimiseResult& r : results) {
        ASSERT_EQ(r.best.size(), alone.best.size());
        for (std::size_t i = 0; i < r.best.size(); ++i) {
            EXPECT_EQ(r.best[i].index, alone.best[i].index);
            EXPECT_EQ(r.best[i].worstError, alone.best[i].worstError);
        }
    }
}

// A small neighbourhood enumerated here by brute force, with candidate lists and an ordering of
// our own: the optimiser returns the same circuits in the same order with the same errors.
struct BruteForceCase {
    std::string name;
    bool isLpf;
    std::array<double, 3> given;
    std::int32_t computedSeries, givenSeries;
    std::size_t keep;
    Ranking ranking = Ranking::Poles;
};

// The chosen ranking's figure computed here the slow way: the -3 dB point searched along the
// response, the response figure from complex values at the band's samples.
double SlowFigure(Ranking ranking, const PoleSet& built, bool isLpf, double worst) {
    const Rational3 requested = RequestedTransfer(kDefaultRequest, isLpf);
    const auto along = [](const Rational3& h) { return [h](double f) { return Evaluate(h, f); }; };
    const double fc = CutoffFrequency(along(requested), isLpf, 1, 1e6);
    const Rational3 h = RequestedTransfer(built, isLpf);
    if (ranking == Ranking::Cutoff) {
        return std::fabs(CutoffFrequency(along(h), isLpf, fc / 100, fc * 100) - fc) / fc;
    }
    if (ranking == Ranking::Response) {
        const double low = isLpf ? 0.1 * fc : fc / 3;
        double largest = 0;
        for (int i = 0; i < kResponsePoints; ++i) {
            const double f = low * std::pow(30.0, i / double(kResponsePoints - 1));
            const double db =
                20 * std::log10(std::abs(Evaluate(h, f)) / std::abs(Evaluate(requested, f)));
            largest = std::max(largest, std::fabs(db));
        }
        return largest;
    }
    return worst;
}

double RankedFigure(Ranking ranking, const Candidate& c) {
    switch (ranking) {
        case Ranking::Cutoff:
            return std::fabs(c.cutoffError);
        case Ranking::Response:
            return c.responseDb;
        case Ranking::Poles:
            break;
    }
    return c.worstError;
}

class BruteForceTest : public testing::TestWithParam<BruteForceCase> {};

TEST_P(BruteForceTest, EqualsFullEnumeration) {
    const BruteForceCase& c = GetParam();
    const IdealDesign ideal = DesignIdeal(kDefaultRequest, c.isLpf, c.given);
    ASSERT_TRUE(ideal.realisable);
    OptimiseInput input;
    input.requested = kDefaultRequest;
    input.ideal = ideal.circuit;
    input.steps = 1;
    input.keep = c.keep;
    input.ranking = c.ranking;
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        input.series[p] = IsGivenComponent(p, c.isLpf) ? c.givenSeries : c.computedSeries;
    }
    const OptimiseResult r = OptimiseValues(input);
    ASSERT_EQ(r.status, RunStatus::Done);

    // One step: a computed part takes its rounded member and the members either side of it; a
    // given member takes itself and its two neighbours.
    std::array<std::vector<double>, kComponentCount> lists;
    const ComponentValues parts = ComponentsOf(ideal.circuit);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        const double v = parts[p];
        const std::int32_t n = input.series[p];
        const double step = std::pow(10.0, 1.0 / n);
        const double centre = IsGivenComponent(p, c.isLpf) ? v : RoundToSeries(v, n);
        const std::vector<double> expected = {RoundToSeries(centre / step, n), centre,
                                              RoundToSeries(centre * step, n)};
        ASSERT_EQ(r.candidates[p].size(), expected.size()) << ComponentName(p);
        for (std::size_t k = 0; k < expected.size(); ++k) {
            // A member at a decade's edge may carry either of its two bit patterns.
            EXPECT_NEAR(r.candidates[p][k], expected[k], 1e-12 * expected[k]) << ComponentName(p);
        }
        lists[p] = r.candidates[p];
    }

    struct Row {
        double figure, worst, rms;
        std::int64_t index;
        Circuit circuit;
        PoleSet poles;
    };
    std::vector<Row> rows;
    std::int64_t index = 0;
    std::array<std::size_t, kComponentCount> at{};
    for (at[0] = 0; at[0] < lists[0].size(); ++at[0]) {
        for (at[1] = 0; at[1] < lists[1].size(); ++at[1]) {
            for (at[2] = 0; at[2] < lists[2].size(); ++at[2]) {
                for (at[3] = 0; at[3] < lists[3].size(); ++at[3]) {
                    for (at[4] = 0; at[4] < lists[4].size(); ++at[4]) {
                        for (at[5] = 0; at[5] < lists[5].size(); ++at[5], ++index) {
                            const Circuit circuit{lists[0][at[0]], lists[1][at[1]], lists[2][at[2]],
                                                  lists[3][at[3]], lists[4][at[4]], lists[5][at[5]],
                                                  c.isLpf};
                            const PoleSet y = CircuitPoles(circuit);
                            const double ea = (y.fa - 1420) / 1420;
                            const double eo = (y.fo - 1420) / 1420;
                            const double eq = (y.q - 1) / 1;
                            const double worst =
                                std::max({std::fabs(ea), std::fabs(eo), std::fabs(eq)});
                            const double rms = std::sqrt((ea * ea + eo * eo + eq * eq) / 3);
                            rows.push_back({SlowFigure(c.ranking, y, c.isLpf, worst), worst, rms,
                                            index, circuit, y});
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(r.combinations, index);
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return std::tie(a.figure, a.worst, a.rms, a.index) <
               std::tie(b.figure, b.worst, b.rms, b.index);
    });
    ASSERT_EQ(r.best.size(), std::min(c.keep, rows.size()));
    for (std::size_t i = 0; i < r.best.size(); ++i) {
        SCOPED_TRACE("rank " + std::to_string(i + 1));
        // Every row carries all three figures; the ranked one agrees with the slow one.
        EXPECT_FALSE(std::isnan(r.best[i].cutoffError) || std::isnan(r.best[i].responseDb));
        EXPECT_NEAR(RankedFigure(c.ranking, r.best[i]), rows[i].figure, 1e-9);
        if (c.ranking != Ranking::Poles) {
            continue;  // two figures equal to 1e-9 may rank either way round here
        }
        ExpectSameCircuit(r.best[i].circuit, rows[i].circuit);
        EXPECT_EQ(r.best[i].worstError, rows[i].worst);
        EXPECT_EQ(r.best[i].index, rows[i].index);
        EXPECT_EQ(r.best[i].built.q, rows[i].poles.q);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(SmallNeighbourhoods, BruteForceTest, testing::Values(
    BruteForceCase{"LowPassE6WithE24ResistorsBest20", true, {Kilo(22), Kilo(22), Kilo(22)}, 6, 24, 20},
    BruteForceCase{"LowPassE6WithE24ResistorsAll", true, {Kilo(22), Kilo(22), Kilo(22)}, 6, 24, 1000},
    BruteForceCase{"HighPassE24WithE12Capacitors", false, {Nano(3.3), Nano(3.3), Nano(3.3)}, 24, 12, 50},
    BruteForceCase{"LowPassUnequalResistorsE12", true, {Kilo(10), Kilo(22), Kilo(47)}, 12, 12, 7},
    BruteForceCase{"LowPassByCutoff", true, {Kilo(22), Kilo(22), Kilo(22)}, 6, 24, 30, Ranking::Cutoff},
    BruteForceCase{"LowPassByResponse", true, {Kilo(22), Kilo(22), Kilo(22)}, 6, 24, 30, Ranking::Response},
    BruteForceCase{"HighPassByCutoff", false, {Nano(3.3), Nano(3.3), Nano(3.3)}, 24, 12, 30, Ranking::Cutoff},
    BruteForceCase{"HighPassByResponse", false, {Nano(3.3), Nano(3.3), Nano(3.3)}, 24, 12, 30, Ranking::Response}),
    test::CaseName<BruteForceCase>);
// clang-format on

// The same input twice; optimise; the same ranking, element for element.
TEST(OptimiseTest, IsDeterministic) {
    const OptimiseInput input = DefaultLowPassInput(24, 1);
    const OptimiseResult a = OptimiseValues(input);
    const OptimiseResult b = OptimiseValues(input);
    ASSERT_EQ(a.best.size(), b.best.size());
    for (std::size_t i = 0; i < a.best.size(); ++i) {
        EXPECT_EQ(a.best[i].index, b.best[i].index);
        EXPECT_EQ(a.best[i].worstError, b.best[i].worstError);
    }
}

// A cancel flag already set; optimise; cancelled before the first combination.
TEST(OptimiseTest, CancelledBeforeStart) {
    std::atomic<bool> cancel{true};
    const OptimiseResult r = OptimiseValues(DefaultLowPassInput(24, 2), {&cancel, {}});
    EXPECT_EQ(r.status, RunStatus::Cancelled);
    EXPECT_EQ(r.evaluated, 0);
    EXPECT_TRUE(r.best.empty());
    EXPECT_EQ(r.plainRank, 0);
}

// Progress reports that set the cancel flag at the first call; optimise; the run stops early,
// progress counts rise and the last report is the final count.
TEST(OptimiseTest, ProgressCanCancelMidway) {
    std::atomic<bool> cancel{false};
    std::vector<std::int64_t> reports;
    std::int64_t reportedTotal = 0;
    const RunControl control{&cancel, [&](std::int64_t done, std::int64_t total) {
                                 reports.push_back(done);
                                 reportedTotal = total;
                                 cancel = true;
                             }};
    const OptimiseResult r = OptimiseValues(DefaultLowPassInput(24, 2), control);
    EXPECT_EQ(r.status, RunStatus::Cancelled);
    EXPECT_GT(r.evaluated, 0);
    EXPECT_LT(r.evaluated, r.combinations);
    EXPECT_EQ(reportedTotal, r.combinations);
    ASSERT_GE(reports.size(), 2u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), r.evaluated);
}

// Progress without cancelling; optimise; the last report is every combination.
TEST(OptimiseTest, ProgressEndsAtTheTotal) {
    std::int64_t last = -1, total = -1;
    const OptimiseResult r = OptimiseValues(DefaultLowPassInput(24, 2),
                                            {nullptr, [&](std::int64_t done, std::int64_t all) {
                                                 last = done;
                                                 total = all;
                                             }});
    EXPECT_EQ(r.status, RunStatus::Done);
    EXPECT_EQ(last, r.combinations);
    EXPECT_EQ(total, r.combinations);
    EXPECT_EQ(r.evaluated, r.combinations);
}

struct InvalidCase {
    std::string name;
    void (*spoil)(OptimiseInput&);
};

class OptimiseInvalidTest : public testing::TestWithParam<InvalidCase> {};

// An input with one thing wrong; optimise; refused as invalid with a reason, nothing ranked.
TEST_P(OptimiseInvalidTest, IsRefused) {
    OptimiseInput input = DefaultLowPassInput(24, 2);
    GetParam().spoil(input);
    const OptimiseResult r = OptimiseValues(input);
    EXPECT_EQ(r.status, RunStatus::Invalid);
    EXPECT_TRUE(r.problem);
    EXPECT_TRUE(r.best.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Inputs, OptimiseInvalidTest, testing::Values(
    InvalidCase{"NoSteps", [](OptimiseInput& i) { i.steps = 0; }},
    InvalidCase{"FourSteps", [](OptimiseInput& i) { i.steps = 4; }},
    InvalidCase{"KeepNone", [](OptimiseInput& i) { i.keep = 0; }},
    InvalidCase{"NegativeSeries", [](OptimiseInput& i) { i.series[4] = -6; }},
    InvalidCase{"ZeroQ", [](OptimiseInput& i) { i.requested.q = 0; }},
    InvalidCase{"NaNFa", [](OptimiseInput& i) { i.requested.fa = NAN; }},
    InvalidCase{"ZeroComponent", [](OptimiseInput& i) { i.ideal.C2 = 0; }},
    InvalidCase{"InfiniteComponent", [](OptimiseInput& i) { i.ideal.R3 = HUGE_VAL; }}),
    test::CaseName<InvalidCase>);
// clang-format on

// The two jobs an engineer brings: a 10 kHz Bessel low-pass with resistors near 10k moving along
// E24 and E12 capacitors, and a 50 Hz Chebyshev 0.5 dB high-pass on fixed 100n capacitors with
// E24 resistors. The request is read from the preset's text, as the window and mirelto-cli do.
// Under each ranking: the winning circuit, its ranked figure, and plain rounding's rank.
struct JobCase {
    std::string name;
    std::string_view preset;
    double fc;
    bool isLpf;
    std::array<double, 3> given;
    std::int32_t computedSeries, givenSeries;
    Ranking ranking;
    ComponentValues winner;  // nominal values
    double figure;           // poles, cutoff: %; response: dB; to the printed 3 decimals
    std::int64_t plainRank;
};

class JobTest : public testing::TestWithParam<JobCase> {};

TEST_P(JobTest, RanksTheWinnerFirst) {
    const JobCase& c = GetParam();
    const auto preset = std::find_if(Presets().begin(), Presets().end(),
                                     [&c](const Preset& p) { return p.name == c.preset; });
    ASSERT_NE(preset, Presets().end());
    const PoleSet exact = PresetPoles(*preset, c.fc, c.isLpf);
    const PoleSet typed{ParseValue(PresetValueText(exact.fa)),
                        ParseValue(PresetValueText(exact.fo)),
                        ParseValue(PresetValueText(exact.q))};
    OptimiseInput input;
    input.requested = typed;
    input.ideal = DesignIdeal(typed, c.isLpf, c.given).circuit;
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        input.series[p] = IsGivenComponent(p, c.isLpf) ? c.givenSeries : c.computedSeries;
    }
    input.ranking = c.ranking;
    const OptimiseResult r = OptimiseValues(input);
    ASSERT_EQ(r.status, RunStatus::Done);
    const Candidate& best = r.best.front();
    ComponentValues nominal = ComponentsOf(best.circuit);
    for (double& value : nominal) {
        value = NominalValue(value);
    }
    EXPECT_EQ(nominal, c.winner);
    const double scale = c.ranking == Ranking::Response ? 1 : 100;
    EXPECT_NEAR(RankedFigure(c.ranking, best) * scale, c.figure, 5e-4);
    EXPECT_LE(RankedFigure(c.ranking, best), RankedFigure(c.ranking, r.plain));
    EXPECT_EQ(r.plainRank, c.plainRank);
}

// The jobs' fixed settings written once; a row gives the ranking and what it finds.
// clang-format off
JobCase BesselJob(std::string name, Ranking ranking, ComponentValues winner, double figure,
                  std::int64_t plainRank) {
    return {std::move(name), "Bessel (-3 dB)", 10e3, true, {Kilo(10), Kilo(10), Kilo(10)},
            12, 24, ranking, winner, figure, plainRank};
}

JobCase ChebyshevJob(std::string name, Ranking ranking, ComponentValues winner, double figure,
                     std::int64_t plainRank) {
    return {std::move(name), "Chebyshev 0.5 dB (-3 dB)", 50, false,
            {Nano(100), Nano(100), Nano(100)}, 24, 0, ranking, winner, figure, plainRank};
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(TwoJobs, JobTest, testing::Values(
    BesselJob("BesselByPoles", Ranking::Poles, {11e3, 9.1e3, 9.1e3, 1.5e-9, 2.7e-9, 390e-12}, 0.973, 57),
    BesselJob("BesselByCutoff", Ranking::Cutoff, {9.1e3, 11e3, 12e3, 2.2e-9, 2.2e-9, 270e-12}, 0.000, 2163),
    BesselJob("BesselByResponse", Ranking::Response, {8.2e3, 12e3, 8.2e3, 1.8e-9, 2.2e-9, 470e-12}, 0.083, 709),
    ChebyshevJob("ChebyshevHighPassByPoles", Ranking::Poles, {15e3, 3.3e3, 330e3, 100e-9, 100e-9, 100e-9}, 5.618, 2),
    ChebyshevJob("ChebyshevHighPassByCutoff", Ranking::Cutoff, {12e3, 3.0e3, 360e3, 100e-9, 100e-9, 100e-9}, 0.064, 32),
    ChebyshevJob("ChebyshevHighPassByResponse", Ranking::Response, {15e3, 3.0e3, 330e3, 100e-9, 100e-9, 100e-9}, 0.406, 13)),
    test::CaseName<JobCase>);
// clang-format on
// clang-format on

struct OrderCase {
    std::string name;
    double worstA, rmsA;
    std::int64_t indexA;
    double worstB, rmsB;
    std::int64_t indexB;
    bool aFirst;
};

class RanksBeforeTest : public testing::TestWithParam<OrderCase> {};

// Two candidates; compare; the worst error decides, then the rms error, then the index.
TEST_P(RanksBeforeTest, OrdersByWorstThenRmsThenIndex) {
    const OrderCase& c = GetParam();
    Candidate a, b;
    a.worstError = c.worstA, a.rmsError = c.rmsA, a.index = c.indexA;
    b.worstError = c.worstB, b.rmsError = c.rmsB, b.index = c.indexB;
    EXPECT_EQ(RanksBefore(a, b), c.aFirst);
    EXPECT_EQ(RanksBefore(b, a), !c.aFirst);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Pairs, RanksBeforeTest, testing::Values(
    OrderCase{"SmallerWorst", 0.01, 0.9, 9, 0.02, 0.1, 1, true},
    OrderCase{"LargerWorst", 0.03, 0.0, 0, 0.02, 0.1, 1, false},
    OrderCase{"TieOnWorstSmallerRms", 0.02, 0.01, 9, 0.02, 0.015, 1, true},
    OrderCase{"FullTieEarlierIndex", 0.02, 0.01, 3, 0.02, 0.01, 4, true},
    OrderCase{"FullTieLaterIndex", 0.02, 0.01, 5, 0.02, 0.01, 4, false}),
    test::CaseName<OrderCase>);
// clang-format on

}  // namespace
}  // namespace mirelto
