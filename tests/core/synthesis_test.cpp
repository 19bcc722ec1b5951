// Component synthesis: the computed and rounded components, the back-computed transfer function,
// rejections through the message sink, and faults on unsuitable given components.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "mirelto/design/circuit.h"
#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/design/messages.h"
#include "mirelto/values/eseries.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::Decade;
using test::Kilo;
using test::Nano;

struct Message {
    MessageId id;
    bool resultValidWhenShown;
};

class SynthesisTest : public testing::Test {
  protected:
    void SetUp() override {
        DesignState = DesignRecord{};
        previous_ = SetMessageSink([this](MessageId id) {
            messages_.push_back({id, DesignState.ResultValid});
        });
    }
    void TearDown() override { SetMessageSink(previous_); }

    static void GiveResistors(double r1, double r2, double r3) {
        DesignState.IsLpf = true;
        DesignState.R1 = r1;
        DesignState.R2 = r2;
        DesignState.R3 = r3;
        DesignState.ResultValid = true;
    }
    static void GiveCapacitors(double c1, double c2, double c3) {
        DesignState.IsLpf = false;
        DesignState.C1 = c1;
        DesignState.C2 = c2;
        DesignState.C3 = c3;
        DesignState.ResultValid = true;
    }

    std::vector<Message> messages_;
    MessageSink previous_;
};

// One synthesis: the given parts, the request and the series; the computed parts unrounded (to
// 7 significant digits), rounded (exact; 0: no rounding, the unrounded value itself) and fa, fo,
// Q of the rounded circuit.
struct DesignCase {
    std::string name;
    bool isLpf;
    std::array<double, 3> given;
    PoleSet request;
    std::int32_t series;
    std::array<double, 3> computed;
    std::array<double, 3> rounded;
    PoleSet result;
    double tolerance;  // relative, for computed and result
};

class SynthesisTableTest : public SynthesisTest, public testing::WithParamInterface<DesignCase> {};

// A record holding the given parts with ResultValid set; synthesise; the computed, rounded and
// back-computed values of the row, the given parts kept as the result's, and no message.
TEST_P(SynthesisTableTest, ComputesRoundsAndAnalyses) {
    const DesignCase& c = GetParam();
    (c.isLpf ? GiveResistors : GiveCapacitors)(c.given[0], c.given[1], c.given[2]);
    SynthesizeFilter(c.request.fa, c.request.fo, c.request.q, c.series, c.series, c.series,
                     c.isLpf);
    const DesignRecord& s = DesignState;
    const std::array<double, 3> computed =
        c.isLpf ? std::array<double, 3>{s.C1, s.C2, s.C3} : std::array<double, 3>{s.R1, s.R2, s.R3};
    const std::array<double, 3> rounded = c.isLpf
                                              ? std::array<double, 3>{s.ResC1, s.ResC2, s.ResC3}
                                              : std::array<double, 3>{s.ResR1, s.ResR2, s.ResR3};
    const std::array<double, 3> given = c.isLpf ? std::array<double, 3>{s.ResR1, s.ResR2, s.ResR3}
                                                : std::array<double, 3>{s.ResC1, s.ResC2, s.ResC3};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(computed[i], c.computed[i], c.tolerance * c.computed[i]) << i;
        EXPECT_EQ(rounded[i], c.rounded[i] == 0 ? computed[i] : c.rounded[i]) << i;
        EXPECT_EQ(given[i], c.given[i]) << i;
    }
    EXPECT_NEAR(s.FaResult, c.result.fa, c.tolerance * c.result.fa);
    EXPECT_NEAR(s.FoResult, c.result.fo, c.tolerance * c.result.fo);
    EXPECT_NEAR(s.QResult, c.result.q, c.tolerance * c.result.q);
    EXPECT_TRUE(s.ResultValid);
    EXPECT_TRUE(messages_.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Designs, SynthesisTableTest, testing::Values(
    DesignCase{"DefaultLowPassRoundedToE6", true, {Kilo(22), Kilo(22), Kilo(22)}, {1420, 1420, 1}, 6, {7.094962e-9, 18.06958e-9, 1.031405e-9}, {(6.8 * 1) * Decade(-9), (1.5 * 1) * Decade(-8), (1.0 * 1) * Decade(-9)}, {1395.183, 1631.099, 0.9610917}, 5e-7},
    DesignCase{"DefaultHighPassRoundedToE24", false, {Nano(3.3), Nano(3.3), Nano(3.3)}, {1420, 1420, 1}, 24, {24388.04, 9575.885, 167763.6}, {24000, 10000, 160000}, {1463.296, 1412.953, 0.9740969}, 5e-7},
    // the same three real poles, grouped with another one taken as the real pole
    DesignCase{"ThreeRealRootsUseTheReturnedOne", true, {Kilo(10), Kilo(100), Kilo(100)}, {1000, 1000, 0.2}, 0, {3.709112e-9, 2.486815e-9, 4.370660e-9}, {0, 0, 0}, {4791.288, 456.8503, 0.3779645}, 5e-7},
    // a correct synthesis whose back-calculation meets a quadratic that is not a factor
    DesignCase{"HighPassWhoseAnalysisUsedToFault", false, {Nano(2.2), Nano(22), Nano(22)}, {Kilo(10), 100, 10}, 0, {7227.136, 3.948914, 1.326626e9}, {0, 0, 0}, {10000, 100, 10}, 1e-6}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST_F(SynthesisTest, UnroundedDesignIsExact) {
    GiveResistors(Kilo(22), Kilo(22), Kilo(22));
    SynthesizeFilter(1420, 1420, 1, 0, 0, 0, true);
    const DesignRecord& s = DesignState;
    EXPECT_EQ(s.ResC1, s.C1);
    EXPECT_EQ(s.ResC2, s.C2);
    EXPECT_EQ(s.ResC3, s.C3);
    EXPECT_EQ(s.FaResult, 1420.000000000001);
    EXPECT_EQ(s.FoResult, 1419.9999999999995);
    EXPECT_EQ(s.QResult, 0.9999999999999998);
}

TEST_F(SynthesisTest, WithoutResultValidNothingIsAnalysed) {
    GiveResistors(Kilo(22), Kilo(22), Kilo(22));
    DesignState.ResultValid = false;
    DesignState.FaResult = 1;
    DesignState.FoResult = 2;
    DesignState.QResult = 3;
    SynthesizeFilter(1420, 1420, 1, 6, 6, 6, true);
    EXPECT_EQ(DesignState.ResC1, (6.8 * 1) * Decade(-9));
    EXPECT_EQ(DesignState.FaResult, 1);
    EXPECT_EQ(DesignState.FoResult, 2);
    EXPECT_EQ(DesignState.QResult, 3);
}

struct RejectCase {
    std::string name;
    bool isLpf;
    double given1, given2, given3;
};

class RejectionTest : public SynthesisTest, public testing::WithParamInterface<RejectCase> {};

TEST_P(RejectionTest, ReportsThroughTheSinkAndKeepsTheLastResult) {
    const RejectCase& c = GetParam();
    // a successful calculation first, whose results must survive the rejection
    GiveResistors(Kilo(22), Kilo(22), Kilo(22));
    SynthesizeFilter(1420, 1420, 1, 6, 6, 6, true);
    const DesignRecord before = DesignState;

    if (c.isLpf) {
        GiveResistors(c.given1, c.given2, c.given3);
    } else {
        GiveCapacitors(c.given1, c.given2, c.given3);
    }
    SynthesizeFilter(1420, 1420, 1, 6, 6, 6, c.isLpf);

    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].id, c.isLpf ? MessageId::UnrealisableLpf : MessageId::UnrealisableHpf);
    EXPECT_TRUE(messages_[0].resultValidWhenShown);
    EXPECT_FALSE(DesignState.ResultValid);
    EXPECT_EQ(DesignState.ResC1, before.ResC1);
    EXPECT_EQ(DesignState.ResC3, before.ResC3);
    EXPECT_EQ(DesignState.ResR2, before.ResR2);
    EXPECT_EQ(DesignState.FaResult, before.FaResult);
    EXPECT_EQ(DesignState.QResult, before.QResult);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Unrealisable, RejectionTest, testing::Values(
    RejectCase{"RatioBelowBound", true, Kilo(22), Kilo(7.3), Kilo(7.3)},
    RejectCase{"RatioFarBelowBound", true, Kilo(22), Kilo(4.7), Kilo(4.7)},
    RejectCase{"NegativeResistors", true, Kilo(22), Kilo(-22), Kilo(-22)},
    RejectCase{"HighPassRatio", false, Nano(3.3), Nano(15), Nano(15)},
    RejectCase{"NegativeCapacitors", false, Nano(3.3), Nano(-3.3), Nano(-3.3)}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST_F(SynthesisTest, JustAboveTheBoundIsAccepted) {
    GiveResistors(Kilo(22), Kilo(7.4), Kilo(7.4));
    SynthesizeFilter(1420, 1420, 1, 6, 6, 6, true);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(DesignState.ResC1, (1.0 * 1) * Decade(-8));
    EXPECT_EQ(DesignState.ResC2, (4.7 * 1) * Decade(-6));
    EXPECT_EQ(DesignState.ResC3, (2.2 * 1) * Decade(-11));
}

TEST_F(SynthesisTest, RejectionWithoutPositiveRootLeavesFirstComponentZero) {
    GiveResistors(Kilo(22), Kilo(7.3), Kilo(7.3));
    SynthesizeFilter(1420, 1420, 1, 6, 6, 6, true);
    EXPECT_GT(DesignState.C1, 0);  // the root is positive; C2 is the negative one
    EXPECT_LT(DesignState.C2, 0);
}

struct SynthesisFaultCase {
    std::string name;
    double r1, r2, r3;
    const char* message;
};

class SynthesisFaultTest : public SynthesisTest,
                           public testing::WithParamInterface<SynthesisFaultCase> {};

TEST_P(SynthesisFaultTest, StopsWithResultValidStillSet) {
    const SynthesisFaultCase& c = GetParam();
    GiveResistors(c.r1, c.r2, c.r3);
    EXPECT_EQ(test::FaultMessage([] { SynthesizeFilter(1420, 1420, 1, 6, 6, 6, true); }),
              c.message);
    EXPECT_TRUE(DesignState.ResultValid);
    EXPECT_TRUE(messages_.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(GivenComponents, SynthesisFaultTest, testing::Values(
    SynthesisFaultCase{"ZeroR2R3", Kilo(22), 0, 0, "Floating point division by zero"},
    SynthesisFaultCase{"AllZero", 0, 0, 0, "Invalid floating point operation"},
    SynthesisFaultCase{"ZeroR1", 0, Kilo(22), Kilo(22), "Floating point division by zero"},
    SynthesisFaultCase{"R3CancelsR2", Kilo(22), Kilo(22), Kilo(-22), "Floating point division by zero"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST_F(SynthesisTest, HighPassWhoseAnalysisUsedToFaultNowShowsTheRequest) {
    // A correct synthesis whose back-calculation meets a quadratic that is not a factor.
    GiveCapacitors(Nano(2.2), Nano(22), Nano(22));
    SynthesizeFilter(Kilo(10), 100, 10, 0, 0, 0, false);
    const DesignRecord& s = DesignState;
    const test::Poles poles =
        test::CircuitPoles(false, s.ResR1, s.ResR2, s.ResR3, s.ResC1, s.ResC2, s.ResC3);
    EXPECT_NEAR(s.FaResult, poles.fa, 1e-9 * poles.fa);
    EXPECT_NEAR(s.FoResult, poles.fo, 1e-9 * poles.fo);
    EXPECT_NEAR(s.QResult, poles.q, 1e-9 * poles.q);

    // rounded to E24 the same request gives a circuit the analysis handles either way
    GiveCapacitors(Nano(2.2), Nano(22), Nano(22));
    SynthesizeFilter(Kilo(10), 100, 10, 24, 24, 24, false);
    EXPECT_EQ(s.ResR1, 7500);
    EXPECT_EQ(s.ResR2, 3.9);
    EXPECT_NEAR(s.ResR3, 1.3e9, 1e-6 * 1.3e9);
    EXPECT_NEAR(s.FaResult, 9635, 0.5);
    EXPECT_NEAR(s.FoResult, 101.656, 0.0005);
    EXPECT_NEAR(s.QResult, 9.480, 0.0005);
}

TEST_F(SynthesisTest, SecondHighPassRequestWithANonFactorRoot) {
    GiveCapacitors(Nano(64.3), Nano(0.170), Nano(483));
    SynthesizeFilter(2077.7, 39.44, 1.39, 0, 0, 0, false);
    const DesignRecord& s = DesignState;
    const test::Poles poles =
        test::CircuitPoles(false, s.ResR1, s.ResR2, s.ResR3, s.ResC1, s.ResC2, s.ResC3);
    ASSERT_TRUE(poles.complexPair);
    EXPECT_NEAR(s.FaResult, poles.fa, 1e-9 * poles.fa);
    EXPECT_NEAR(s.FoResult, poles.fo, 1e-9 * poles.fo);
    EXPECT_NEAR(s.QResult, poles.q, 1e-9 * poles.q);
    EXPECT_NEAR(s.FaResult, 2077.7, 1e-6 * 2077.7);
    EXPECT_NEAR(s.FoResult, 39.44, 1e-6 * 39.44);
    EXPECT_NEAR(s.QResult, 1.39, 1e-6 * 1.39);
}

}  // namespace
}  // namespace mirelto
