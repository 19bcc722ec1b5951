// The dominant poles of the circuit with a single-pole op-amp and the compensation built on them:
// the poles against the ideal follower's at a huge GBW and against the roots of the closed-form
// LPF polynomial, compensated designs meeting their request within 0.1 % (their response is
// checked against the ideal one in ngspice, tests/cli/ngspice_compensation_test.cpp), the
// lowest GBW that reaches a request, and the least GBW of the 1 % rule.
#include <gtest/gtest.h>

#include <cmath>

#include "mirelto/design/filter.h"
#include "mirelto/response/op_amp_poles.h"
#include "mirelto/tools/compensation.h"
#include "mirelto/tools/optimise.h"

namespace mirelto {
namespace {

struct CompensationCase {
    const char* name;
    bool isLpf;
    PoleSet request;
    std::array<double, 3> given;
    double gbw, a0, ro;
};

// clang-format off
const CompensationCase kCases[] = {
    {"ButterworthLowPass20k1M",  true,  {20e3, 20e3, 1},       {22e3, 22e3, 22e3},       1e6,  NAN, NAN},
    {"BesselLowPassDcGain",      true,  {1.9e3, 2.1e3, 0.691}, {10e3, 10e3, 10e3},       50e3, 1e4, NAN},
    {"ChebyshevHighPass",        false, {800, 1.2e3, 2.0},     {10e-9, 10e-9, 10e-9},    200e3, NAN, NAN},
    {"HighPassOutputResistance", false, {1e3, 1e3, 1},         {3.3e-9, 3.3e-9, 3.3e-9}, 100e3, NAN, 100},
};
// clang-format on

class CompensationTest : public testing::TestWithParam<CompensationCase> {};

TEST_P(CompensationTest, DominantPolesMeetTheRequest) {
    const CompensationCase& c = GetParam();
    CompensationInput input;
    input.requested = c.request;
    const IdealDesign ideal = DesignIdeal(c.request, c.isLpf, c.given);
    ASSERT_TRUE(ideal.realisable);
    input.ideal = ideal.circuit;
    input.opAmp.gbw = c.gbw;
    input.opAmp.a0 = c.a0;
    input.opAmp.outputResistance = c.ro;
    // Uncompensated, the op-amp moves the poles by more than the tolerance.
    const PoleSet before = DominantPoles(input.ideal, input.opAmp);
    EXPECT_GT(std::abs(before.q / c.request.q - 1), 1e-3);
    const Compensation done = Compensate(input);
    ASSERT_TRUE(done.solved);
    EXPECT_NEAR(done.poles.fa / c.request.fa, 1, 1e-3);
    EXPECT_NEAR(done.poles.fo / c.request.fo, 1, 1e-3);
    EXPECT_NEAR(done.poles.q / c.request.q, 1, 1e-3);
    // The given parts stay as given.
    const auto parts = ComponentsOf(done.circuit);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(parts[c.isLpf ? i : 3 + i], c.given[i]);
    }
    // Below the lowest GBW that reaches the request, no solution.
    const double least = LeastCompensableGbw(input);
    ASSERT_TRUE(std::isfinite(least));
    EXPECT_LE(least, c.gbw * 1.005);
    input.opAmp.gbw = least * 0.9;
    EXPECT_FALSE(Compensate(input).solved);
}

INSTANTIATE_TEST_SUITE_P(Designs, CompensationTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The optimiser scores with the op-amp when one is chosen: the compensated circuit, kept as it is
// (no series), meets the request with the op-amp and misses it with the ideal follower.
TEST(CompensationTest, OptimiserScoresWithTheOpAmp) {
    const PoleSet request{20e3, 20e3, 1};
    CompensationInput input;
    input.requested = request;
    input.ideal = DesignIdeal(request, true, {22e3, 22e3, 22e3}).circuit;
    input.opAmp = OpAmp::WithGbw(1e6);
    const Compensation done = Compensate(input);
    ASSERT_TRUE(done.solved);
    OptimiseInput search;
    search.requested = request;
    search.ideal = done.circuit;
    search.steps = 1;
    const double ideal = OptimiseValues(search).plain.worstError;
    search.opAmp = input.opAmp;
    const double real = OptimiseValues(search).plain.worstError;
    EXPECT_GT(ideal, 0.01);
    EXPECT_LT(real, 1e-6);
}

TEST(DominantPoles, HugeGbwGivesTheIdealFollowersPoles) {
    const Circuit c{22e3, 22e3, 22e3, 470e-12, 1.5e-9, 68e-12, true};
    const PoleSet ideal = CircuitPoles(c);
    const PoleSet real = DominantPoles(c, OpAmp::WithGbw(1e12));
    EXPECT_NEAR(real.fa / ideal.fa, 1, 1e-6);
    EXPECT_NEAR(real.fo / ideal.fo, 1, 1e-6);
    EXPECT_NEAR(real.q / ideal.q, 1, 1e-6);
    // Four poles: the op-amp's own far out near -2 pi GBW.
    const auto poles = OpAmpCircuitPoles(c, OpAmp::WithGbw(1e6));
    ASSERT_EQ(poles.size(), 4u);
    EXPECT_GT(std::abs(poles[3]), 10 * std::abs(poles[2]));
}

TEST(DominantPoles, LeastGbwKeepsFoAndQWithinOnePercent) {
    const Circuit c{22e3, 22e3, 22e3, 470e-12, 1.5e-9, 68e-12, true};
    const double least = LeastGbw(c, OpAmp{});
    ASSERT_TRUE(std::isfinite(least));
    const PoleSet ideal = CircuitPoles(c);
    const auto shift = [&](double gbw) {
        const PoleSet p = DominantPoles(c, OpAmp::WithGbw(gbw));
        return std::max(std::abs(p.fo / ideal.fo - 1), std::abs(p.q / ideal.q - 1));
    };
    EXPECT_LE(shift(least), 0.01);
    EXPECT_GT(shift(least * 0.99), 0.01);
}

}  // namespace
}  // namespace mirelto
