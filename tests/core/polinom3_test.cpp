// Cubic root finder: exact doubles of the iteration, the closed form, and the guarantee that the
// value handed on is a true root.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "mirelto/numeric/fault.h"
#include "mirelto/numeric/polinom3.h"
#include "test_support.h"

namespace mirelto {
namespace {

struct RootCase {
    std::string name;
    double k2, k1, k0;
    double expected;
};

class CubicRealRootTest : public testing::TestWithParam<RootCase> {};

TEST_P(CubicRealRootTest, ReturnsTheExactDouble) {
    const RootCase& c = GetParam();
    EXPECT_EQ(CubicRealRoot(1, c.k2, c.k1, c.k0), c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cubics, CubicRealRootTest, testing::Values(
    // roots 1, 2, 3: the linear factor left after the first quadratic is the largest root
    RootCase{"Roots123", -6, 11, -6, 2.9999999999999973},
    RootCase{"SmallestOfThreeSpread", -1.7, 0.4367, -0.008062, 0.019999999999999997},
    RootCase{"GoldenRoots", -4, 4, -1, 2.6180339887498985},
    RootCase{"RealRootOfPair", 0, 0, -8, 2.0},
    RootCase{"TripleRootAtSecondLevel", -3, 3, -1, 0.9999982266579969},
    // the iteration fails at every level; Cardano's closed form takes over
    RootCase{"IterationFailsLargeRoot", -100, 1, -1, 99.99009902960981},
    RootCase{"IterationFailsSmallPair", -0.24, 0.0144, -0.0016, 0.20775706510801017},
    // slot 1 holds -0, which hands over to the closed form
    RootCase{"ZeroInSlotOne", -1, 0, 0, 1.0},
    // at the edges of the double range the terms overflow or underflow unless scaled: the
    // root just beyond -k2, and the nearer of the pair +-7.2066e-164 (not -951.3)
    RootCase{"RootBeyondHugeCoefficient", 2.2534786001310688e+126, -1.6298902366959205e-162, 2.225073858507201e-308, -2.2534786001310688e+126},
    RootCase{"PairBesideSmallestSubnormal", 951.3186690412941, -1e-300, -5e-324, -7.206581768282383e-164}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(CubicRealRoot, LeavesTheFactorsRootsInTheModuleArrays) {
    // x^3 - 8: root 2 in slot 1, the pair -1 +- i*sqrt(3) in slots 3 and 2.
    EXPECT_EQ(CubicRealRoot(1, 0, 0, -8), 2.0);
    EXPECT_EQ(PolyDegree, 3);
    EXPECT_EQ(RootRe[3], -1.0);
    EXPECT_EQ(RootRe[2], -1.0);
    EXPECT_EQ(RootIm[3], 1.7320508075688772);
    EXPECT_EQ(RootIm[2], -1.7320508075688772);

    CubicRealRoot(1, -6, 11, -6);
    EXPECT_EQ(RootRe[3], 2.0000000000000036);
    EXPECT_EQ(RootRe[2], 0.9999999999999991);
    EXPECT_EQ(RootIm[1], 0.0);

    CubicRealRoot(1, -1.7, 0.4367, -0.008062);
    EXPECT_EQ(RootRe[3], 1.39);
    EXPECT_EQ(RootRe[2], 0.29000000000000004);

    CubicRealRoot(1, -3, 3, -1);
    EXPECT_EQ(RootRe[3], 1.0000008866710015);
    EXPECT_EQ(RootIm[3], 1.5357596796093074e-06);
    EXPECT_EQ(RootIm[2], -1.5357596796093074e-06);
}

TEST(Bairstow, FailureClearsEverySlot) {
    std::array<double, 6> a{1, -100, 1, -1, 0, 0};
    std::array<double, 6> re{7, 7, 7, 7, 7, 7};
    std::array<double, 6> im{7, 7, 7, 7, 7, 7};
    Bairstow(3, a, re, im);
    EXPECT_EQ(re, (std::array<double, 6>{7, 0, 0, 0, 7, 7}));
    EXPECT_EQ(im, (std::array<double, 6>{7, 0, 0, 0, 7, 7}));
}

TEST(Bairstow, SolvesQuadraticAndLinearDirectly) {
    std::array<double, 6> a{2, -6, 4, 0, 0, 0};  // 2(x-1)(x-2)
    std::array<double, 6> re{}, im{};
    Bairstow(2, a, re, im);
    EXPECT_EQ(re[2], 2.0);
    EXPECT_EQ(re[1], 1.0);

    std::array<double, 6> linear{4, -2, 0, 0, 0, 0};
    Bairstow(1, linear, re, im);
    EXPECT_EQ(re[1], 0.5);
}

TEST(Bairstow, DegreeBeyondTheWorkSlotsFindsNothing) {
    std::array<double, 6> a{1, 0, 0, 0, 0, -1};
    std::array<double, 6> re{}, im{};
    re.fill(5);
    Bairstow(5, a, re, im);
    EXPECT_EQ(re, (std::array<double, 6>{5, 0, 0, 0, 0, 0}));
}

TEST(CubicRealRoot, ReplacesAValueThatIsNotARoot) {
    // The ninth level accepts a quadratic that is not a factor (slot 1 would give -318.94...).
    const double x = CubicRealRoot(1, -0.5, 0.001, -0.0001);
    EXPECT_EQ(RootRe[3], 0.49839614249724284);
    EXPECT_EQ(RootRe[2], -6.290943026659663e-07);
    EXPECT_NEAR(x, 0.498396142497, 1e-12);
    EXPECT_LE(std::fabs(test::CubicResidual(-0.5, 0.001, -0.0001, x)), 1e-16);
}

TEST(CubicRealRoot, ThreeRealRootsFromTheClosedFormGiveATrueRoot) {
    // Cardano with w < 0 is not a root; what comes back must be one of -2, 1, 3 (to rounding).
    EXPECT_FALSE(test::IsNear(CardanoRoot(-2, -5, 6), -2.0, 1e-6) ||
                 test::IsNear(CardanoRoot(-2, -5, 6), 1.0, 1e-6) ||
                 test::IsNear(CardanoRoot(-2, -5, 6), 3.0, 1e-6));
    // (x+2)(x-1)(x-3) = x^3 - 2x^2 - 5x + 6
    const double x = CubicRealRoot(1, -2, -5, 6);
    EXPECT_TRUE(test::IsNear(x, -2.0, 1e-15) || test::IsNear(x, 1.0, 1e-15) ||
                test::IsNear(x, 3.0, 1e-15))
        << x;
}

TEST(CubeRoot, SignedAndThroughTheExponential) {
    EXPECT_EQ(CubeRoot(-8), -2.0);
    EXPECT_EQ(CubeRoot(27), 3.0000000000000004);
    EXPECT_EQ(CardanoRoot(-1, 0, 0), 1.0);  // w = 0 exactly
}

struct FaultCase {
    std::string name;
    double k2, k1, k0;
    const char* message;
};

class CubicFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(CubicFaultTest, RaisesTheFirstFault) {
    const FaultCase& c = GetParam();
    EXPECT_EQ(test::FaultMessage([&] { CubicRealRoot(1, c.k2, c.k1, c.k0); }), c.message);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Faults, CubicFaultTest, testing::Values(
    // x^2 - 1 splits off, slot 1 = 0, and Cardano meets q = 0
    FaultCase{"RootsMinusOneZeroOne", 0, -1, 0, "Floating point division by zero"},
    // x^3: q = 0 and p = 0 make 0/0
    FaultCase{"TripleZero", 0, 0, 0, "Invalid floating point operation"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(CubeRoot, OfZeroIsADivisionByZero) {
    EXPECT_EQ(test::FaultMessage([] { CubeRoot(0); }), "Floating point division by zero");
    EXPECT_EQ(test::FaultMessage([] { CubeRoot(-0.0); }), "Floating point division by zero");
}

TEST(CubicRealRoot, RandomCubicsGiveTrueRoots) {
    // Property: whatever the route (iteration, closed form, fallback), the value is a root.
    test::Random random(20261209);
    int faults = 0;
    for (int i = 0; i < 20000; ++i) {
        const double r = random.LogUniform(1e-4, 1e4);
        const double re = random.LogUniform(1e-4, 1e4) * random.Sign();
        const double im = random.Uniform(0, 1) < 0.3 ? 0.0 : random.LogUniform(1e-4, 1e4);
        // (x - r)(x^2 - 2 re x + re^2 + im^2)
        const double q1 = -2 * re, q0 = re * re + im * im;
        const double k2 = q1 - r, k1 = q0 - r * q1, k0 = -r * q0;
        double x = 0;
        try {
            x = CubicRealRoot(1, k2, k1, k0);
        } catch (const FloatingPointFault&) {
            ++faults;  // the iteration may fault (det = 0); a wrong root is never acceptable
            continue;
        }
        const double scale = test::CubicScale(k2, k1, k0, x);
        ASSERT_LE(std::fabs(test::CubicResidual(k2, k1, k0, x)), 1e-12 * scale)
            << "cubic " << k2 << ", " << k1 << ", " << k0 << " gave " << x;
    }
    EXPECT_EQ(faults, 0);
}

}  // namespace
}  // namespace mirelto
