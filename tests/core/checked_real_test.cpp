// The checked arithmetic: which operations fault, with which message, and that the first fault
// in evaluation order wins whatever order the compiler evaluates operands in.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "numeric/checked_real.h"
#include "test_support.h"

namespace mirelto::checked {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr const char* kInvalid = "Invalid floating point operation";
constexpr const char* kDivByZero = "Floating point division by zero";
constexpr const char* kOverflow = "Floating point overflow";

struct OperationCase {
    std::string name;
    std::function<double()> operation;
    const char* message;  // "" when no fault
};

class CheckedOperationTest : public testing::TestWithParam<OperationCase> {};

TEST_P(CheckedOperationTest, FaultsAsIeeeExceptionsWould) {
    EXPECT_EQ(test::FaultMessage([] { GetParam().operation(); }), GetParam().message);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Operations, CheckedOperationTest, testing::Values(
    OperationCase{"ZeroByZero", [] { return Real(0.0) / 0.0; }, kInvalid},
    OperationCase{"OneByZero", [] { return Real(1.0) / 0.0; }, kDivByZero},
    OperationCase{"MinusOneByMinusZero", [] { return Real(-1.0) / -0.0; }, kDivByZero},
    OperationCase{"InfinityByZero", [] { return Real(kInf) / 0.0; }, ""},
    OperationCase{"InfinityMinusInfinity", [] { return Real(kInf) - kInf; }, kInvalid},
    OperationCase{"ZeroTimesInfinity", [] { return Real(0.0) * kInf; }, kInvalid},
    OperationCase{"ProductOverflows", [] { return Real(1e200) * 1e200; }, kOverflow},
    OperationCase{"QuotientOverflows", [] { return Real(1e200) / 1e-200; }, kOverflow},
    OperationCase{"SumOverflows", [] { return Real(1.7e308) + 1.7e308; }, kOverflow},
    OperationCase{"UnderflowPasses", [] { return Real(1e-200) * 1e-200; }, ""},
    OperationCase{"QuietNaNPropagates", [] { return Real(kNaN) + 1; }, ""},
    OperationCase{"SqrtOfNegative", [] { return double(Sqrt(Real(-1.0))); }, kInvalid},
    OperationCase{"SqrtOfMinusZero", [] { return double(Sqrt(Real(-0.0))); }, ""},
    OperationCase{"LnOfZero", [] { return double(Ln(Real(0.0))); }, kDivByZero},
    OperationCase{"LnOfNegative", [] { return double(Ln(Real(-2.0))); }, kInvalid},
    OperationCase{"Log10OfZero", [] { return double(Log10(Real(0.0))); }, kDivByZero},
    OperationCase{"ExpOverflows", [] { return double(Exp(Real(710.0))); }, kOverflow},
    OperationCase{"ExpUnderflowPasses", [] { return double(Exp(Real(-800.0))); }, ""},
    OperationCase{"OrderedCompareWithNaN", [] { return double(Real(kNaN) < 1); }, kInvalid},
    OperationCase{"EqualityWithNaNPasses", [] { return double(Real(kNaN) != 0); }, ""},
    OperationCase{"RoundNaNToInteger", [] { return double(RoundToInt64(Real(kNaN))); }, kInvalid},
    OperationCase{"RoundHugeToInteger", [] { return double(RoundToInt64(Real(1e19))); }, kInvalid},
    OperationCase{"TruncLargestInteger", [] { return double(TruncToInt64(Real(-9223372036854775808.0))); }, ""}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(CheckedReal, FirstFaultInEvaluationOrderWins) {
    const Real zero = 0.0, tiny = 1e-310, big = 1e300;
    // left operand faults (overflow) before the right one (division by zero)
    EXPECT_EQ(test::FaultMessage([&] { [[maybe_unused]] Real r = (1 / tiny) + (1 / zero); }),
              kOverflow);
    // and the other way round
    EXPECT_EQ(test::FaultMessage([&] { [[maybe_unused]] Real r = (1 / zero) + (1 / tiny); }),
              kDivByZero);
    // operands before their operator: the inner overflow comes before the outer 0 * inf
    EXPECT_EQ(test::FaultMessage([&] { [[maybe_unused]] Real r = zero * (big * big); }), kOverflow);
}

TEST(CheckedReal, NothingIsStoredFromAFaultingExpression) {
    double stored = 5;
    const Real zero = 0.0;
    EXPECT_EQ(test::FaultMessage([&] { stored = 1 / zero; }), kDivByZero);
    EXPECT_EQ(stored, 5);
}

TEST(CheckedReal, RoundsHalvesToEven) {
    EXPECT_EQ(RoundToInt64(Real(2.5)), 2);
    EXPECT_EQ(RoundToInt64(Real(3.5)), 4);
    EXPECT_EQ(RoundToInt64(Real(-2.5)), -2);
    EXPECT_EQ(TruncToInt64(Real(-2.7)), -2);
}

}  // namespace
}  // namespace mirelto::checked
