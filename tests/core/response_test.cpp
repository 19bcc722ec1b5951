// Responses of circuits: the thread-safe analysis against the back-calculation, the circuit's
// own transfer function against the one its fa, fo and Q describe, the op-amp's nodal solution
// against an independent elimination, roots, group delay and step responses against closed forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/numeric/polynomial.h"
#include "mirelto/response/cutoff.h"
#include "mirelto/response/op_amp.h"
#include "mirelto/response/peak.h"
#include "mirelto/response/step.h"
#include "mirelto/response/transfer.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::kDefaultHighPass;
using test::kDefaultLowPass;
using test::kDefaultRequest;

Circuit RandomCircuit(test::Random& random, bool isLpf) {
    Circuit c;
    c.isLpf = isLpf;
    c.R1 = random.LogUniform(100, 1e6);
    c.R2 = random.LogUniform(100, 1e6);
    c.R3 = random.LogUniform(100, 1e6);
    c.C1 = random.LogUniform(1e-11, 1e-5);
    c.C2 = random.LogUniform(1e-11, 1e-5);
    c.C3 = random.LogUniform(1e-11, 1e-5);
    return c;
}

// Random circuits of both forms; analyse both ways; CircuitPoles gives AnalyzeTransfer's
// doubles exactly, or NaN where the back-calculation faults or finds no pole pair.
TEST(CircuitPolesTest, EqualsTheBackCalculationBitForBit) {
    test::Random random(20261209);
    int compared = 0;
    for (int i = 0; i < 4000; ++i) {
        const Circuit c = RandomCircuit(random, i % 2 == 0);
        const PoleSet poles = CircuitPoles(c);
        DesignState.IsLpf = c.isLpf;
        const std::string fault =
            test::FaultMessage([&] { AnalyzeTransfer(c.R1, c.R2, c.R3, c.C1, c.C2, c.C3); });
        if (!fault.empty() || !(DesignState.QResult > 0)) {
            EXPECT_TRUE(std::isnan(poles.fa) && std::isnan(poles.fo) && std::isnan(poles.q));
            continue;
        }
        ++compared;
        ASSERT_EQ(poles.fa, DesignState.FaResult);
        ASSERT_EQ(poles.fo, DesignState.FoResult);
        ASSERT_EQ(poles.q, DesignState.QResult);
    }
    EXPECT_GT(compared, 3000);
}

// Parts that are zero, negative or not finite; analyse; NaN, never a fault.
TEST(CircuitPolesTest, ImpossiblePartsGiveNaN) {
    const Circuit good = kDefaultLowPass;
    for (double bad : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
        for (int part = 0; part < 6; ++part) {
            Circuit c = good;
            double* parts[] = {&c.R1, &c.R2, &c.R3, &c.C1, &c.C2, &c.C3};
            *parts[part] = bad;
            const PoleSet poles = CircuitPoles(c);
            EXPECT_TRUE(std::isnan(poles.fa)) << "part " << part << " = " << bad;
        }
    }
}

// The same circuits analysed on four threads at once; each thread's results equal the
// single-threaded ones (the root finder's work arrays are per thread).
TEST(CircuitPolesTest, RunsOnManyThreadsAtOnce) {
    test::Random random(7);
    std::vector<Circuit> circuits;
    for (int i = 0; i < 2000; ++i) {
        circuits.push_back(RandomCircuit(random, i % 3 != 0));
    }
    std::vector<PoleSet> expected;
    for (const Circuit& c : circuits) {
        expected.push_back(CircuitPoles(c));
    }
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t i = 0; i < circuits.size(); ++i) {
                const PoleSet p = CircuitPoles(circuits[i]);
                const PoleSet& e = expected[i];
                const bool same = (std::isnan(e.fa) && std::isnan(p.fa)) ||
                                  (p.fa == e.fa && p.fo == e.fo && p.q == e.q);
                mismatches[t] += !same;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

// Random circuits with a pole pair; the circuit's transfer function at 50 frequencies equals the
// one rebuilt from its fa, fo, Q, within 1e-9 relative.
TEST(CircuitTransferTest, MatchesTheResponseOfItsPoles) {
    test::Random random(42);
    int compared = 0;
    for (int i = 0; i < 400; ++i) {
        const Circuit c = RandomCircuit(random, i % 2 == 0);
        const PoleSet poles = CircuitPoles(c);
        if (std::isnan(poles.q) || poles.q < 0.55) {
            continue;
        }
        ++compared;
        const Rational3 circuit = CircuitTransfer(c);
        const Rational3 request = RequestedTransfer(poles, c.isLpf);
        for (int k = 0; k < 50; ++k) {
            const double f = poles.fo * std::pow(10.0, -2 + 4.0 * k / 49);
            const Complex a = Evaluate(circuit, f);
            const Complex b = Evaluate(request, f);
            ASSERT_LE(std::abs(a - b), 1e-9 * std::abs(b)) << "circuit " << i << " at " << f;
        }
    }
    EXPECT_GT(compared, 100);
}

// The default designs; evaluate at the pass band's far end; gain 1.
TEST(CircuitTransferTest, PassBandGainIsOne) {
    EXPECT_NEAR(std::abs(Evaluate(CircuitTransfer(kDefaultLowPass), 1e-3)), 1.0, 1e-12);
    EXPECT_NEAR(std::abs(Evaluate(CircuitTransfer(kDefaultHighPass), 1e9)), 1.0, 1e-12);
    EXPECT_NEAR(std::abs(Evaluate(RequestedTransfer(kDefaultRequest, true), 1e-3)), 1.0, 1e-12);
    EXPECT_NEAR(std::abs(Evaluate(RequestedTransfer(kDefaultRequest, false), 1e9)), 1.0, 1e-12);
}

constexpr double kTwoPi = 2 * std::numbers::pi;

double RelativeDifference(Complex a, Complex b) {
    return std::abs(a - b) / std::abs(b);
}

struct RootsCase {
    std::string name;
    double c[4];  // ascending
    std::vector<Complex> expected;
};
using test::PrintTo;

class PolynomialRootsTest : public testing::TestWithParam<RootsCase> {};

// A polynomial with known roots; find its roots; each expected root is found to 1e-12 of the
// roots' scale, as many as the degree, and a complex pair is exactly conjugate.
TEST_P(PolynomialRootsTest, FindsTheKnownRoots) {
    const RootsCase& t = GetParam();
    const Roots roots = PolynomialRoots(t.c);
    ASSERT_EQ(roots.count, static_cast<int>(t.expected.size()));
    std::vector<bool> used(roots.count, false);
    for (const Complex& e : t.expected) {
        int best = -1;
        for (int k = 0; k < roots.count; ++k) {
            if (!used[k] &&
                (best < 0 || std::abs(roots.root[k] - e) < std::abs(roots.root[best] - e))) {
                best = k;
            }
        }
        used[best] = true;
        EXPECT_LE(std::abs(roots.root[best] - e), 1e-12 * std::max(std::abs(e), 1.0))
            << "expected " << e << ", found " << roots.root[best];
    }
    for (int k = 0; k < roots.count; ++k) {
        if (roots.root[k].imag() != 0) {
            const auto pair =
                std::find(roots.root, roots.root + roots.count, std::conj(roots.root[k]));
            EXPECT_NE(pair, roots.root + roots.count) << roots.root[k] << " has no exact conjugate";
        }
    }
}

const double kHalfRoot3 = std::sqrt(3.0) / 2;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Polynomials, PolynomialRootsTest, testing::Values(
    RootsCase{"Butterworth", {1, 2, 2, 1}, {-1.0, {-0.5, kHalfRoot3}, {-0.5, -kHalfRoot3}}},
    RootsCase{"ThreeRealRoots", {-6, 11, -6, 1}, {1.0, 2.0, 3.0}},
    RootsCase{"SpreadOverSixDecades", {1, 1001.001, 1001.001, 1}, {-1e-3, -1.0, -1e3}},
    RootsCase{"LargeScale", {1e21, 2e14, 2e7, 1}, {-1e7, {-0.5e7, 0.5e7 * std::sqrt(3.0)}, {-0.5e7, -0.5e7 * std::sqrt(3.0)}}},
    RootsCase{"PairFarAboveTheRealRoot", {1010, 10102, 20.1, 1}, {-0.1, {-10, 100}, {-10, -100}}},
    RootsCase{"AllAtTheOrigin", {0, 0, 0, 2}, {0.0, 0.0, 0.0}},
    RootsCase{"TwoAtTheOrigin", {0, 0, 2, 1}, {0.0, 0.0, -2.0}},
    RootsCase{"Quadratic", {5, 2, 1, 0}, {{-1, 2}, {-1, -2}}},
    RootsCase{"Linear", {3, -1.5, 0, 0}, {2.0}},
    RootsCase{"Constant", {4, 0, 0, 0}, {}}),
    test::CaseName<RootsCase>);
// clang-format on

// Random cubics with positive coefficients over many decades; find the roots; the product of the
// root factors gives back the coefficients.
TEST(PolynomialRootsProperty, FactorsRebuildTheCubic) {
    test::Random random(31);
    for (int i = 0; i < 2000; ++i) {
        const double c[4] = {random.LogUniform(1e-6, 1e12), random.LogUniform(1e-6, 1e8),
                             random.LogUniform(1e-6, 1e4), 1};
        const Roots r = PolynomialRoots(c);
        ASSERT_EQ(r.count, 3);
        const Complex c2 = -(r.root[0] + r.root[1] + r.root[2]);
        const Complex c1 = r.root[0] * r.root[1] + r.root[1] * r.root[2] + r.root[0] * r.root[2];
        const Complex c0 = -r.root[0] * r.root[1] * r.root[2];
        // each coefficient against the size of the terms it sums
        const double m = std::max({std::abs(r.root[0]), std::abs(r.root[1]), std::abs(r.root[2])});
        ASSERT_LE(std::abs(c2 - c[2]), 1e-12 * m) << i;
        ASSERT_LE(std::abs(c1 - c[1]), 1e-12 * m * m) << i;
        ASSERT_LE(std::abs(c0 - c[0]), 1e-12 * m * m * m) << i;
    }
}

struct DelayCase {
    std::string name;
    Rational3 h;
    double frequency;
    double expected;  // seconds
};

class GroupDelayTest : public testing::TestWithParam<DelayCase> {};

// A response whose group delay has a closed form; evaluate; within 1e-12 relative.
TEST_P(GroupDelayTest, MatchesTheClosedForm) {
    const DelayCase& t = GetParam();
    EXPECT_NEAR(GroupDelay(t.h, t.frequency), t.expected, 1e-12 * std::fabs(t.expected));
}

// 1/(1 + s tau): tau / (1 + (w tau)^2); a triple pole at a: 3a / (a^2 + w^2), with or without
// the three zeros at the origin of the high-pass form.
// clang-format off
INSTANTIATE_TEST_SUITE_P(ClosedForms, GroupDelayTest, testing::Values(
    DelayCase{"FirstOrderAtDc", {{1, 0, 0, 0}, {1, 1e-3, 0, 0}}, 0, 1e-3},
    DelayCase{"FirstOrderAtCorner", {{1, 0, 0, 0}, {1, 1e-3, 0, 0}}, 1e3 / kTwoPi, 0.5e-3},
    DelayCase{"TriplePoleLowPass", {{8, 0, 0, 0}, {8, 12, 6, 1}}, 1 / kTwoPi, 6.0 / 5},
    DelayCase{"TriplePoleHighPass", {{0, 0, 0, 1}, {8, 12, 6, 1}}, 1 / kTwoPi, 6.0 / 5},
    DelayCase{"HighPassFarAbove", {{0, 0, 0, 1}, {8, 12, 6, 1}}, 1e3 / kTwoPi, 6.0 / 1000004}),
    test::CaseName<DelayCase>);
// clang-format on

// The op-amp circuit solved independently: node P follows B through the divider R3-C3 (or
// C3-R3), the output follows P through the closed-loop follower 1 / (1 + s / wt), node A is
// eliminated by hand into node B's equation; long double throughout.
std::complex<long double> IndependentOpAmpResponse(const Circuit& c, double gbw, double f) {
    using L = std::complex<long double>;
    const L s(0, 2 * std::numbers::pi_v<long double> * f);
    const auto r = [](double ohms) { return L(1.0L / ohms); };
    const auto cap = [&s](double farads) { return s * static_cast<long double>(farads); };
    const L in = c.isLpf ? r(c.R1) : cap(c.C1), shuntA = c.isLpf ? cap(c.C1) : r(c.R1);
    const L ab = c.isLpf ? r(c.R2) : cap(c.C2), feedback = c.isLpf ? cap(c.C2) : r(c.R2);
    const L bp = c.isLpf ? r(c.R3) : cap(c.C3), shuntP = c.isLpf ? cap(c.C3) : r(c.R3);
    const L divider = bp / (bp + shuntP);
    const L follower = 1.0L / (1.0L + s / (2 * std::numbers::pi_v<long double> * gbw));
    const L sumA = in + shuntA + ab;
    const L vb = (ab * in / sumA) / (ab + feedback + bp - bp * divider -
                                     feedback * follower * divider - ab * ab / sumA);
    return follower * divider * vb;
}

// Random circuits, op-amps and frequencies; the nodal solution equals the independent
// elimination within 1e-10 relative.
TEST(OpAmpResponseTest, AgreesWithAnIndependentElimination) {
    test::Random random(9);
    for (int i = 0; i < 3000; ++i) {
        const Circuit c = RandomCircuit(random, i % 2 == 0);
        const double natural = 1 / (kTwoPi * std::cbrt(c.R1 * c.R2 * c.R3 * c.C1 * c.C2 * c.C3));
        const double f = natural * random.LogUniform(1e-3, 1e3);
        const double gbw = natural * random.LogUniform(1e-1, 1e6);
        const std::complex<long double> expected = IndependentOpAmpResponse(c, gbw, f);
        const Complex e(static_cast<double>(expected.real()), static_cast<double>(expected.imag()));
        ASSERT_LE(RelativeDifference(CircuitResponseWithOpAmp(c, gbw, f), e), 1e-10)
            << "circuit " << i << " at " << f << " Hz, gbw " << gbw;
    }
}

struct OpAmpCase {
    std::string name;
    Circuit circuit;
    double frequency;
};

class OpAmpLimitTest : public testing::TestWithParam<OpAmpCase> {};

// The default circuits at frequencies around their poles; raise the GBW a decade at a time; the
// difference from the ideal follower's response shrinks tenfold each time (it goes as f / GBW),
// and an infinite GBW is the ideal follower.
TEST_P(OpAmpLimitTest, TendsToTheIdealFollowerAsGbwGrows) {
    const OpAmpCase& t = GetParam();
    const Complex ideal = Evaluate(CircuitTransfer(t.circuit), t.frequency);
    double previous = 0;
    for (double gbw = 1e6; gbw <= 1e10; gbw *= 10) {
        const double difference =
            RelativeDifference(CircuitResponseWithOpAmp(t.circuit, gbw, t.frequency), ideal);
        EXPECT_LT(difference, 20 * t.frequency / gbw) << "gbw " << gbw;
        if (previous > 0) {
            EXPECT_NEAR(previous / difference, 10, 1) << "gbw " << gbw;
        }
        previous = difference;
    }
    EXPECT_LT(RelativeDifference(CircuitResponseWithOpAmp(t.circuit, HUGE_VAL, t.frequency), ideal),
              1e-13);
}

// Far above the GBW the follower's gain falls as GBW / f on top of the circuit's own response,
// for both forms.
TEST_P(OpAmpLimitTest, FallsAsGbwOverFrequencyFarAboveIt) {
    const OpAmpCase& t = GetParam();
    const double gbw = 10 * t.frequency;
    const double f = 1e4 * gbw;
    const Complex ratio =
        CircuitResponseWithOpAmp(t.circuit, gbw, f) / Evaluate(CircuitTransfer(t.circuit), f);
    EXPECT_NEAR(std::abs(ratio) * f / gbw, 1, 1e-3);
    EXPECT_NEAR(std::arg(ratio), -std::numbers::pi / 2, 1e-3);
}

// The slope dH/ds from the second solve; against a central difference of H along j omega.
TEST_P(OpAmpLimitTest, SlopeMatchesADifferenceQuotient) {
    const OpAmpCase& t = GetParam();
    const double gbw = 30 * t.frequency;
    const double h = 1e-5 * t.frequency;
    const Complex difference = (CircuitResponseWithOpAmp(t.circuit, gbw, t.frequency + h) -
                                CircuitResponseWithOpAmp(t.circuit, gbw, t.frequency - h)) /
                               Complex(0, kTwoPi * 2 * h);
    const ResponseWithSlope r = CircuitResponseWithOpAmpSlope(t.circuit, gbw, t.frequency);
    EXPECT_LT(RelativeDifference(r.dhds, difference), 1e-7);
    EXPECT_EQ(r.h, CircuitResponseWithOpAmp(t.circuit, gbw, t.frequency));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(DefaultCircuits, OpAmpLimitTest, testing::Values(
    OpAmpCase{"LowPassBelow", kDefaultLowPass, 150},
    OpAmpCase{"LowPassAtFo", kDefaultLowPass, 1631},
    OpAmpCase{"LowPassAbove", kDefaultLowPass, 5000},
    OpAmpCase{"HighPassBelow", kDefaultHighPass, 150},
    OpAmpCase{"HighPassAtFo", kDefaultHighPass, 1413},
    OpAmpCase{"HighPassAbove", kDefaultHighPass, 5000}),
    test::CaseName<OpAmpCase>);
// clang-format on

// At zero frequency the low-pass passes the input exactly whatever the GBW; far below the poles
// both forms follow the ideal response within the follower's own error f / GBW; a GBW that is
// not positive gives NaN.
TEST(OpAmpResponseTest, ZeroFrequencyLimitsAndInvalidGbw) {
    for (double gbw : {1e3, 1e6, 1e9}) {
        EXPECT_NEAR(std::abs(CircuitResponseWithOpAmp(kDefaultLowPass, gbw, 0) - 1.0), 0, 1e-15);
        for (const Circuit& c : {kDefaultLowPass, kDefaultHighPass}) {
            const double f = 0.01;
            const Complex ideal = Evaluate(CircuitTransfer(c), f);
            EXPECT_LT(RelativeDifference(CircuitResponseWithOpAmp(c, gbw, f), ideal), 2 * f / gbw);
        }
    }
    for (double gbw : {0.0, -1e6, std::nan("")}) {
        EXPECT_TRUE(std::isnan(CircuitResponseWithOpAmp(kDefaultLowPass, gbw, 1000).real()));
    }
}

struct StepCase {
    std::string name;
    Rational3 h;
    double rate;                                 // 1/s, the closed form's time scale
    std::function<double(double x)> closedForm;  // of x = rate * t
};

class StepResponseTest : public testing::TestWithParam<StepCase> {};

// A response with a closed-form step; sample it on an even grid and on uneven random times;
// within 1e-11 at every sample.
TEST_P(StepResponseTest, MatchesTheClosedForm) {
    const StepCase& t = GetParam();
    std::vector<double> even(400), uneven;
    for (int i = 0; i < 400; ++i) {
        even[i] = 20.0 * i / 399 / t.rate;
    }
    test::Random random(5);
    for (double x = 0; x < 20; x += random.LogUniform(1e-4, 0.5)) {
        uneven.push_back(x / t.rate);
    }
    for (const std::vector<double>* times : {&even, &uneven}) {
        const std::vector<double> y = StepResponse(t.h, *times);
        ASSERT_EQ(y.size(), times->size());
        for (std::size_t i = 0; i < y.size(); ++i) {
            ASSERT_NEAR(y[i], t.closedForm(t.rate * (*times)[i]), 1e-11) << "t = " << (*times)[i];
        }
    }
}

constexpr double kW = kTwoPi * 1420;  // the default design's frequency, rad/s

// s^3 + 2 s^2 + 2 s + 1 scaled to kW: the Butterworth cubic; (s + 1)^3 likewise: three
// coincident poles; a second-order resonance with Q = 10.
// clang-format off
INSTANTIATE_TEST_SUITE_P(ClosedForms, StepResponseTest, testing::Values(
    StepCase{"FirstOrder", {{kW, 0, 0, 0}, {kW, 1, 0, 0}}, kW, [](double x) { return -std::expm1(-x); }},
    StepCase{"ButterworthLowPass", RequestedTransfer(kDefaultRequest, true), kW, [](double x) {return 1 - std::exp(-x) - 2 / std::sqrt(3.0) * std::exp(-x / 2) * std::sin(kHalfRoot3 * x);}},
    StepCase{"ButterworthHighPass", RequestedTransfer(kDefaultRequest, false), kW, [](double x) {return std::exp(-x) - 2 / std::sqrt(3.0) * std::exp(-x / 2) * std::sin(kHalfRoot3 * x);}},
    StepCase{"TriplePoleLowPass", RequestedTransfer({1420, 1420, 0.5}, true), kW, [](double x) { return 1 - std::exp(-x) * (1 + x + x * x / 2); }},
    StepCase{"TriplePoleHighPass", RequestedTransfer({1420, 1420, 0.5}, false), kW, [](double x) { return std::exp(-x) * (1 - 2 * x + x * x / 2); }},
    StepCase{"ResonantSecondOrder", {{kW * kW, 0, 0, 0}, {kW * kW, kW / 10, 1, 0}}, kW, [](double x) {const double zeta = 0.05, wd = std::sqrt(1 - zeta * zeta); return 1 - std::exp(-zeta * x) * (std::cos(wd * x) + zeta / wd * std::sin(wd * x));}}),
    test::CaseName<StepCase>);
// clang-format on

// Times before the step, a numerator of higher degree than the denominator, no denominator; 0,
// NaN, NaN.
TEST(StepResponseEdges, BeforeTheStepAndImproperResponses) {
    const std::vector<double> times{-1e-3, 0, 1e-3};
    const std::vector<double> lowPass =
        StepResponse(RequestedTransfer(kDefaultRequest, true), times);
    EXPECT_EQ(lowPass[0], 0);
    EXPECT_EQ(lowPass[1], 0);
    EXPECT_GT(lowPass[2], 0.5);
    const Rational3 improper{{0, 0, 1, 0}, {1, 1, 0, 0}};
    EXPECT_TRUE(std::isnan(StepResponse(improper, times)[1]));
    EXPECT_TRUE(std::isnan(StepResponse(Rational3{}, times)[1]));
    EXPECT_EQ(StepResponse({{2, 0, 0, 0}, {4, 0, 0, 0}}, times)[2], 0.5);
}

// |H| = exp(0.3 sin(k ln f)) / sqrt 2 crosses -3 dB wherever k ln f is a multiple of pi.
struct CrossingCase {
    std::string name;
    bool isLpf;
    double low, high;
    double expected;  // NaN: no crossing
};

class CutoffFrequencyTest : public testing::TestWithParam<CrossingCase> {};

constexpr double kWaveNumber = 2.0;

// A response crossing -3 dB many times; search a range; the LPF gets the highest crossing, the
// HPF the lowest, to 1e-12 relative.
TEST_P(CutoffFrequencyTest, FindsTheOuterCrossing) {
    const CrossingCase& t = GetParam();
    const FrequencyResponse wavy = [](double f) {
        return Complex(std::exp(0.3 * std::sin(kWaveNumber * std::log(f))) / std::sqrt(2.0), 0);
    };
    const double found = CutoffFrequency(wavy, t.isLpf, t.low, t.high);
    if (std::isnan(t.expected)) {
        EXPECT_TRUE(std::isnan(found)) << found;
    } else {
        EXPECT_NEAR(found, t.expected, 1e-12 * t.expected);
    }
}

double Crossing(int m) {
    return std::exp(m * std::numbers::pi / kWaveNumber);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Wavy, CutoffFrequencyTest, testing::Values(
    CrossingCase{"LowPassHighest", true, 1, 1e4, Crossing(5)},
    CrossingCase{"HighPassLowest", false, 1.1, 1e4, Crossing(1)},
    CrossingCase{"LowPassNarrowRange", true, 2, 5, Crossing(1)},
    CrossingCase{"HighPassHighRange", false, 1e3, 1e9, Crossing(5)},
    CrossingCase{"NoneBetweenCrossings", true, 2.5, 4.5, std::nan("")},
    CrossingCase{"EmptyRange", false, 10, 10, std::nan("")},
    CrossingCase{"NegativeRange", true, -10, 10, std::nan("")}),
    test::CaseName<CrossingCase>);
// clang-format on

// The Butterworth responses for fc; their -3 dB frequency is fc to 1e-12, searched over six
// decades.
TEST(CutoffFrequencyButterworth, IsTheCutoffFrequency) {
    for (bool isLpf : {true, false}) {
        for (double fc : {0.1, 1420.0, 3.3e6}) {
            const Rational3 h = RequestedTransfer({fc, fc, 1}, isLpf);
            const double f = CutoffFrequency([&h](double x) { return Evaluate(h, x); }, isLpf,
                                             fc / 1e3, fc * 1e3);
            EXPECT_NEAR(f, fc, 1e-12 * fc) << (isLpf ? "LPF " : "HPF ") << fc;
        }
    }
}

// A second-order low-pass with the given Q peaks at fo sqrt(1 - 1/(2 Q^2)) with the gain
// Q / sqrt(1 - 1/(4 Q^2)).
struct PeakCase {
    std::string name;
    double q;
    double low, high;  // in units of fo
};

class PeakGainTest : public testing::TestWithParam<PeakCase> {};

// A resonance and a range holding its peak; search; frequency to 1e-9, gain to 1e-9 dB.
TEST_P(PeakGainTest, FindsTheResonance) {
    const PeakCase& t = GetParam();
    const double fo = 1420, w = kTwoPi * fo;
    const Rational3 h{{w * w, 0, 0, 0}, {w * w, w / t.q, 1, 0}};
    const Peak peak = PeakGain([&h](double f) { return Evaluate(h, f); }, t.low * fo, t.high * fo);
    const double expected = fo * std::sqrt(1 - 1 / (2 * t.q * t.q));
    const double gain = 20 * std::log10(t.q / std::sqrt(1 - 1 / (4 * t.q * t.q)));
    EXPECT_NEAR(peak.frequency, expected, 1e-9 * expected);
    EXPECT_NEAR(peak.gainDb, gain, 1e-9);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Resonances, PeakGainTest, testing::Values(
    PeakCase{"Gentle", 0.8, 1e-3, 1e3},
    PeakCase{"Moderate", 2, 1e-2, 1e2},
    PeakCase{"Sharp", 10, 1e-3, 1e3},
    PeakCase{"VerySharp", 60, 1e-3, 1e3},
    PeakCase{"NearTheBottomEnd", 3, 0.94, 10},
    PeakCase{"NearTheTopEnd", 3, 0.01, 0.98}),
    test::CaseName<PeakCase>);
// clang-format on

// Responses that only fall or only rise within the range; search; the peak is at the end where
// |H| is largest, with that end's gain.
TEST(PeakGainEnds, MonotoneResponsesPeakAtAnEnd) {
    const Rational3 lowPass = RequestedTransfer({1000, 1000, 1}, true);
    const Rational3 highPass = RequestedTransfer({1000, 1000, 1}, false);
    const Peak falling = PeakGain([&](double f) { return Evaluate(lowPass, f); }, 10, 1e5);
    EXPECT_EQ(falling.frequency, 10);
    EXPECT_NEAR(falling.gainDb, 20 * std::log10(std::abs(Evaluate(lowPass, 10))), 1e-12);
    const Peak rising = PeakGain([&](double f) { return Evaluate(highPass, f); }, 10, 1e5);
    EXPECT_NEAR(rising.frequency, 1e5, 1e-9 * 1e5);
    EXPECT_NEAR(rising.gainDb, 20 * std::log10(std::abs(Evaluate(highPass, 1e5))), 1e-12);
    const Peak none = PeakGain([](double) { return Complex(std::nan(""), 0); }, 10, 1e5);
    EXPECT_TRUE(std::isnan(none.frequency));
}

}  // namespace
}  // namespace mirelto

namespace mirelto {
namespace {

// Random circuits of both forms and presets' shapes; find the -3 dB frequency by the root
// formula and by the search over the response; the same within 1e-9, or NaN both.
TEST(RationalCutoffTest, AgreesWithTheSearch) {
    test::Random random(99);
    int found = 0;
    for (int i = 0; i < 600; ++i) {
        const Circuit c = RandomCircuit(random, i % 2 == 0);
        const Rational3 h = CircuitTransfer(c);
        const PoleSet poles = CircuitPoles(c);
        if (std::isnan(poles.fo)) {
            continue;
        }
        const double low = std::min(poles.fa, poles.fo) / 1e3;
        const double high = std::max(poles.fa, poles.fo) * 1e3;
        const double searched =
            CutoffFrequency([&h](double f) { return Evaluate(h, f); }, c.isLpf, low, high);
        const double solved = CutoffFrequency(h, c.isLpf, low, high);
        if (std::isnan(searched)) {
            EXPECT_TRUE(std::isnan(solved)) << "circuit " << i;
            continue;
        }
        ++found;
        ASSERT_NEAR(solved, searched, 1e-9 * searched) << "circuit " << i;
    }
    EXPECT_GT(found, 300);
}

// A Butterworth request at 1 kHz; solve; 1 kHz, for the LPF and the HPF; a range that stops
// short of it gives NaN.
TEST(RationalCutoffTest, ButterworthAtItsCorner) {
    for (const bool isLpf : {true, false}) {
        const Rational3 h = RequestedTransfer({1000, 1000, 1}, isLpf);
        EXPECT_NEAR(CutoffFrequency(h, isLpf, 1, 1e6), 1000, 1e-9 * 1000);
        EXPECT_TRUE(std::isnan(CutoffFrequency(h, isLpf, 1, 900)));
    }
}

}  // namespace
}  // namespace mirelto
