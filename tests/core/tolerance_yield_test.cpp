// Tolerance yield: the share of trials inside the limits, recounted from every trial's values
// that a kept run hands out, and the same count from a run that replays instead.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mirelto/tools/tolerance.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::kDefaultHighPass;
using test::kDefaultLowPass;

constexpr std::optional<double> kNone;

struct YieldCase {
    std::string name;
    Circuit circuit;
    double partTolerance;  // of every part
    Distribution distribution;
    YieldLimits limits;
    std::int64_t trials;
};

class YieldTest : public testing::TestWithParam<YieldCase> {};

// Inside when every limited quantity is within its limit; from the trial's own values.
bool Inside(const std::vector<const Spread*>& spreads,
            const std::vector<std::optional<double>>& limits, std::size_t trial) {
    for (std::size_t i = 0; i < spreads.size(); ++i) {
        if (!limits[i]) {
            continue;
        }
        const double v = spreads[i]->samples[trial];
        const double nominal = spreads[i]->nominal;
        if (std::isnan(v) || std::isnan(nominal) || v < nominal * (1 - *limits[i]) ||
            v > nominal * (1 + *limits[i])) {
            return false;
        }
    }
    return true;
}

// A kept run with limits; recount the trials inside from the spreads' samples; the run's count.
// The same run replayed; the same count.
TEST_P(YieldTest, CountsTheTrialsInsideEveryLimit) {
    const YieldCase& c = GetParam();
    ToleranceInput input;
    input.nominal = c.circuit;
    input.tolerance.fill(c.partTolerance);
    input.distribution = c.distribution;
    input.trials = c.trials;
    input.seed = 5;
    input.yieldLimits = c.limits;
    const ToleranceResult kept = AnalyseTolerance(input);
    ASSERT_EQ(kept.status, RunStatus::Done);
    const std::vector<const Spread*> spreads{&kept.fa, &kept.fo, &kept.q, &kept.cutoff};
    const std::vector<std::optional<double>> limits{c.limits.fa, c.limits.fo, c.limits.q,
                                                    c.limits.cutoff};
    std::int64_t inside = 0;
    for (std::size_t t = 0; t < static_cast<std::size_t>(kept.trials); ++t) {
        inside += (c.limits.Any() && Inside(spreads, limits, t)) ? 1 : 0;
    }
    EXPECT_EQ(kept.yieldInside, inside);
    EXPECT_DOUBLE_EQ(YieldShare(kept), static_cast<double>(inside) / static_cast<double>(c.trials));
    input.trialsKept = 0;
    const ToleranceResult replayed = AnalyseTolerance(input);
    EXPECT_EQ(replayed.yieldInside, kept.yieldInside);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Limits, YieldTest, testing::Values(
    YieldCase{"NoLimitCountsNothing", kDefaultLowPass, 0.05, Distribution::Uniform, {}, 2000},
    YieldCase{"FaAlone", kDefaultLowPass, 0.05, Distribution::Uniform, {0.02, kNone, kNone, kNone}, 3000},
    YieldCase{"FaAndQ", kDefaultHighPass, 0.05, Distribution::Normal, {0.02, kNone, 0.05, kNone}, 3001},
    YieldCase{"EveryQuantity", kDefaultLowPass, 0.02, Distribution::Normal, {0.01, 0.01, 0.03, 0.01}, 2500},
    YieldCase{"CutoffAlone", kDefaultHighPass, 0.05, Distribution::Normal, {kNone, kNone, kNone, 0.015}, 2000},
    YieldCase{"ZeroLimitNeedsTheNominal", kDefaultLowPass, 0.05, Distribution::Uniform, {0.0, kNone, kNone, kNone}, 500},
    // Some trials draw negative parts: no fa, fo, Q and no -3 dB point, so outside.
    YieldCase{"TrialsWithoutPolesAreOutside", kDefaultLowPass, 0.999, Distribution::Normal, {kNone, kNone, 0.9, kNone}, 4000}),
    test::CaseName<YieldCase>);
// clang-format on

// Limits wide enough for every defined trial; the trials without poles are exactly those left
// out, and a run with no tolerance is wholly inside even a zero limit.
TEST(YieldTest, WideLimitsLeaveOutOnlyUndefinedTrials) {
    ToleranceInput input;
    input.nominal = kDefaultLowPass;
    input.tolerance.fill(0.999);
    input.distribution = Distribution::Normal;
    input.trials = 4000;
    input.yieldLimits.q = 1e9;
    const ToleranceResult wide = AnalyseTolerance(input);
    EXPECT_EQ(wide.yieldInside, wide.q.count);
    EXPECT_LT(wide.q.count, wide.trials);
    input.tolerance.fill(0);
    input.yieldLimits = {0.0, 0.0, 0.0, 0.0};
    EXPECT_EQ(AnalyseTolerance(input).yieldInside, 4000);
}

// A negative, NaN or infinite limit; refused as invalid.
TEST(YieldTest, RefusesLimitsOutOfRange) {
    for (const double limit : {-0.01, std::nan(""), HUGE_VAL}) {
        ToleranceInput input;
        input.nominal = kDefaultHighPass;
        input.yieldLimits.fo = limit;
        const ToleranceResult r = AnalyseTolerance(input);
        EXPECT_EQ(r.status, RunStatus::Invalid) << limit;
        EXPECT_EQ(r.problem.code, InputProblem::YieldLimitInvalid) << limit;
    }
}

}  // namespace
}  // namespace mirelto
