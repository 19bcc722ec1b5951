// Transfer-function analysis: fa, fo, Q of complete circuits, exact where the intermediate root
// is known, and the faults of unsuitable values.
#include <gtest/gtest.h>

#include <string>

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::Kilo;
using test::Micro;
using test::Nano;

constexpr double kTwoPi = 6.283185307179586;

struct Circuit {
    double R1, R2, R3, C1, C2, C3;
};

struct AnalysisCase {
    std::string name;
    bool isLpf;
    Circuit c;
    double fa, fo, q;  // to six significant digits
    double root;       // the normalised real pole when known exactly, else 0
};

class AnalyzeTransferTest : public testing::TestWithParam<AnalysisCase> {};

TEST_P(AnalyzeTransferTest, GivesTheCircuitsParameters) {
    const AnalysisCase& t = GetParam();
    DesignState.IsLpf = t.isLpf;
    AnalyzeTransfer(t.c.R1, t.c.R2, t.c.R3, t.c.C1, t.c.C2, t.c.C3);
    EXPECT_NEAR(DesignState.FaResult, t.fa, 5e-6 * std::fabs(t.fa));
    EXPECT_NEAR(DesignState.FoResult, t.fo, 5e-6 * std::fabs(t.fo));
    EXPECT_NEAR(DesignState.QResult, t.q, 5e-6 * std::fabs(t.q));
    if (t.root != 0) {
        EXPECT_EQ(DesignState.FaResult, (t.root / kTwoPi) / (t.c.R2 * t.c.C2));
    }
}

const Circuit kEqual{Kilo(22), Kilo(22), Kilo(22), Nano(10), Nano(10), Nano(10)};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Circuits, AnalyzeTransferTest, testing::Values(
    AnalysisCase{"LowPass", true, {Kilo(22), Kilo(22), Kilo(22), Nano(33), Nano(100), Nano(2.2)}, 258.770, 448.922, 1.38403, 3.576982337318959},
    AnalysisCase{"HighPass", false, {Kilo(6.8), Kilo(2.2), Kilo(100), Nano(10), Nano(10), Nano(10)}, 1964.86, 1171.11, 1.37274, 0.2716027700135096},
    // three real poles: the largest is taken as fa, Q = 1/sqrt(5)
    AnalysisCase{"EqualPartsLowPass", true, kEqual, 1893.97, 447.105, 0.447214, 2.6180339887498985},
    AnalysisCase{"EqualPartsHighPass", false, kEqual, 1893.97, 447.105, 0.447214, 2.6180339887498985},
    // the iteration fails and the closed form gives the root
    AnalysisCase{"ClosedFormRoot", true, {100, Kilo(10), Kilo(2.2), Micro(4.7), Nano(10), Nano(4.7)}, 338.262, 4952.15, 0.560857, 0.2125364625006998},
    AnalysisCase{"NegativeC1", true, {Kilo(22), Kilo(22), Kilo(22), Nano(-10), Nano(10), Nano(10)}, -1170.54, 568.727, 0.485868, 0},
    // the final division by R2*C2 turns fo negative too
    AnalysisCase{"NegativeR2", true, {Kilo(22), Kilo(-22), Kilo(22), Nano(10), Nano(10), Nano(10)}, -1170.54, -568.727, -0.485868, 0}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(AnalyzeTransfer, NonFactorFromTheIterationStillGivesTheTruePoles) {
    // The iteration accepts a quadratic that is not a factor here (its slot 1 is -162.23...);
    // the circuit is sound and its poles are reported.
    DesignState.IsLpf = false;
    const Circuit c{470, Kilo(10), test::Mega(2.2), Nano(220), Nano(10), Nano(470)};
    AnalyzeTransfer(c.R1, c.R2, c.R3, c.C1, c.C2, c.C3);
    const test::Poles poles = test::CircuitPoles(false, c.R1, c.R2, c.R3, c.C1, c.C2, c.C3);
    ASSERT_TRUE(poles.complexPair);
    EXPECT_NEAR(DesignState.FaResult, poles.fa, 1e-9 * poles.fa);
    EXPECT_NEAR(DesignState.FoResult, poles.fo, 1e-9 * poles.fo);
    EXPECT_NEAR(DesignState.QResult, poles.q, 1e-9 * poles.q);
}

struct FaultCase {
    std::string name;
    bool isLpf;
    Circuit c;
    const char* message;
};

class AnalyzeTransferFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(AnalyzeTransferFaultTest, StopsAtTheFirstFault) {
    const FaultCase& t = GetParam();
    DesignState.IsLpf = t.isLpf;
    DesignState.FaResult = 123;
    EXPECT_EQ(test::FaultMessage(
                  [&] { AnalyzeTransfer(t.c.R1, t.c.R2, t.c.R3, t.c.C1, t.c.C2, t.c.C3); }),
              t.message);
    // A fault before the root leaves the result fields as they were.
    if (std::string(t.name).find("Zero") != std::string::npos) {
        EXPECT_EQ(DesignState.FaResult, 123);
    }
}

constexpr const char* kDivByZero = "Floating point division by zero";
constexpr const char* kInvalid = "Invalid floating point operation";

std::vector<FaultCase> FaultCases() {
    std::vector<FaultCase> cases;
    const char* names[] = {"R1", "R2", "R3", "C1", "C2", "C3"};
    for (bool isLpf : {true, false}) {
        for (int part = 0; part < 6; ++part) {
            Circuit c = kEqual;
            double* parts[] = {&c.R1, &c.R2, &c.R3, &c.C1, &c.C2, &c.C3};
            *parts[part] = 0;
            cases.push_back({std::string(isLpf ? "LowPass" : "HighPass") + "Zero" + names[part],
                             isLpf, c, kDivByZero});
        }
    }
    cases.push_back(
        {"BothZeroR1R2", true, {0, 0, Kilo(22), Nano(10), Nano(10), Nano(10)}, kInvalid});
    cases.push_back({"NegativeR1",
                     true,
                     {Kilo(-22), Kilo(22), Kilo(22), Nano(10), Nano(10), Nano(10)},
                     kInvalid});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Faults, AnalyzeTransferFaultTest, testing::ValuesIn(FaultCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace mirelto
