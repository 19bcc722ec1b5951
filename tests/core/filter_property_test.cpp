// Properties over thousands of random requests and circuits: an unrounded synthesis analyses back
// to the request, and the analysis agrees with poles computed independently.
#include <gtest/gtest.h>

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/design/messages.h"
#include "mirelto/numeric/fault.h"
#include "test_support.h"

namespace mirelto {
namespace {

class FilterPropertyTest : public testing::Test {
  protected:
    void SetUp() override {
        DesignState = DesignRecord{};
        previous_ = SetMessageSink([this](MessageId) { ++rejections_; });
    }
    void TearDown() override { SetMessageSink(previous_); }

    int rejections_ = 0;
    MessageSink previous_;
};

TEST_F(FilterPropertyTest, UnroundedSynthesisAnalysesBackToTheRequest) {
    test::Random random(1420);
    int designed = 0;
    for (int i = 0; i < 6000; ++i) {
        const bool isLpf = i % 2 == 0;
        const double fa = random.LogUniform(1, 1e6);
        const double fo = fa * random.LogUniform(0.1, 10);
        const double q = random.LogUniform(0.5001, 20);
        // Given parts with large ratios (R1 < R2 <= R3, C1 > C2 >= C3) keep most requests
        // realisable; the rest must be rejected, never mis-designed.
        const double base = isLpf ? random.LogUniform(100, 1e6) : random.LogUniform(1e-10, 1e-6);
        const double ratio2 = random.LogUniform(1, 100), ratio3 = ratio2 * random.LogUniform(1, 10);
        DesignState.IsLpf = isLpf;
        if (isLpf) {
            DesignState.R1 = base;
            DesignState.R2 = base * ratio2;
            DesignState.R3 = base * ratio3;
        } else {
            DesignState.C1 = base;
            DesignState.C2 = base / ratio2;
            DesignState.C3 = base / ratio3;
        }
        DesignState.ResultValid = true;
        const int rejectedBefore = rejections_;
        SynthesizeFilter(fa, fo, q, 0, 0, 0, isLpf);
        if (rejections_ != rejectedBefore) {
            EXPECT_FALSE(DesignState.ResultValid);
            continue;
        }
        ++designed;
        const DesignRecord& s = DesignState;
        ASSERT_NEAR(s.FaResult, fa, 1e-9 * fa) << "request " << fa << ", " << fo << ", " << q;
        ASSERT_NEAR(s.FoResult, fo, 1e-9 * fo) << "request " << fa << ", " << fo << ", " << q;
        ASSERT_NEAR(s.QResult, q, 1e-9 * q) << "request " << fa << ", " << fo << ", " << q;
    }
    EXPECT_GT(designed, 4000);
}

TEST_F(FilterPropertyTest, AnalysisAgreesWithIndependentPoles) {
    test::Random random(2077);
    int compared = 0;
    for (int i = 0; i < 6000; ++i) {
        const bool isLpf = i % 2 == 1;
        const double R1 = random.LogUniform(10, 1e7), R2 = random.LogUniform(10, 1e7),
                     R3 = random.LogUniform(10, 1e7);
        const double C1 = random.LogUniform(1e-12, 1e-4), C2 = random.LogUniform(1e-12, 1e-4),
                     C3 = random.LogUniform(1e-12, 1e-4);
        const test::Poles poles = test::CircuitPoles(isLpf, R1, R2, R3, C1, C2, C3);
        if (!poles.complexPair || poles.q < 0.5 + 1e-6) {
            continue;  // with three real poles the grouping is the analysis's own choice
        }
        DesignState.IsLpf = isLpf;
        AnalyzeTransfer(R1, R2, R3, C1, C2, C3);
        ++compared;
        const DesignRecord& s = DesignState;
        ASSERT_NEAR(s.FaResult, poles.fa, 1e-9 * poles.fa)
            << (isLpf ? "LPF " : "HPF ") << R1 << " " << R2 << " " << R3 << " " << C1 << " " << C2
            << " " << C3;
        ASSERT_NEAR(s.FoResult, poles.fo, 1e-9 * poles.fo);
        // Q = fo / (P2 - fa) cancels when the real pole lies far above the pair: the rounding of
        // P2 is magnified by fa * Q / fo.
        const double cancellation = poles.fa * poles.q / poles.fo;
        ASSERT_NEAR(s.QResult, poles.q, (1e-9 + 1e-14 * cancellation) * poles.q)
            << "cancellation " << cancellation;
    }
    EXPECT_GT(compared, 500);
}

}  // namespace
}  // namespace mirelto
