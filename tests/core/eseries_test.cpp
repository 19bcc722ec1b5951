// E-series: the series values by formula, rounding to the nearest member on a log scale, the
// selector texts, and the sizes and values that must fault or must not overflow.
#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "mirelto/numeric/fault.h"
#include "mirelto/values/eseries.h"
#include "test_support.h"

namespace mirelto {
namespace {

using namespace std::string_literals;

constexpr std::int32_t kMaxSize = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinSize = std::numeric_limits<std::int32_t>::min();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::array<std::int32_t, 8> kSizes{1, 3, 6, 12, 24, 48, 96, 192};

using test::Decade;

using test::CaseName;
using test::PrintTo;  // found by the printer through this namespace

struct ParseSeriesCase {
    std::string name;
    std::string text;
    std::int32_t size;
};

class ParseSeriesTest : public testing::TestWithParam<ParseSeriesCase> {};

TEST_P(ParseSeriesTest, ReadsTheSize) {
    EXPECT_EQ(ParseSeries(GetParam().text), GetParam().size) << "\"" << GetParam().text << "\"";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ParseSeriesTest, testing::Values(
    ParseSeriesCase{"E24", "24", 24},
    ParseSeriesCase{"E192", "192", 192},
    ParseSeriesCase{"Infinity", "∞", 0},
    ParseSeriesCase{"LeadingBlank", " 24", 24},
    ParseSeriesCase{"PlusSign", "+6", 6},
    ParseSeriesCase{"TrailingBlank", "24 ", 0},
    ParseSeriesCase{"SeriesName", "E24", 0},
    ParseSeriesCase{"Fraction", "2.4", 0},
    ParseSeriesCase{"Empty", "", 0},
    ParseSeriesCase{"Zero", "0", 0},
    ParseSeriesCase{"Ten", "10", 10},
    ParseSeriesCase{"Negative", "-6", -6},
    ParseSeriesCase{"DollarHex", "$18", 24},
    ParseSeriesCase{"NegativeDollarHex", "-$10", -16},
    ParseSeriesCase{"XHex", "x1A", 26},
    ParseSeriesCase{"UpperXHex", "X1a", 26},
    ParseSeriesCase{"ZeroXHex", "0x18", 24},
    ParseSeriesCase{"ZeroUpperXHex", "0XfF", 255},
    ParseSeriesCase{"LeadingZeros", "00024", 24},
    ParseSeriesCase{"BlanksThenSign", "  -6", -6},
    ParseSeriesCase{"Largest", "2147483647", kMaxSize},
    ParseSeriesCase{"OnePastLargest", "2147483648", 0},
    ParseSeriesCase{"Smallest", "-2147483648", kMinSize},
    ParseSeriesCase{"OneBelowSmallest", "-2147483649", 0},
    ParseSeriesCase{"LargestHex", "$7FFFFFFF", kMaxSize},
    ParseSeriesCase{"HexBeyondRange", "$FFFFFFFF", 0},
    ParseSeriesCase{"SmallestHex", "-$80000000", kMinSize},
    ParseSeriesCase{"HexOnePastLargest", "$80000000", 0},
    ParseSeriesCase{"HexDigitInDecimal", "1A", 0},
    ParseSeriesCase{"MarkerOnly", "$", 0},
    ParseSeriesCase{"ZeroXOnly", "0x", 0},
    ParseSeriesCase{"SignOnly", "-", 0},
    ParseSeriesCase{"BlankAfterSign", "- 6", 0},
    ParseSeriesCase{"TwoSigns", "+-6", 0},
    ParseSeriesCase{"DoubleZeroX", "00x18", 0},
    ParseSeriesCase{"TabIsNotBlank", "\t24", 0},
    ParseSeriesCase{"Exponent", "1e3", 0},
    ParseSeriesCase{"TwoInfinities", "∞∞", 0},
    ParseSeriesCase{"InfinityAndBlank", " ∞", 0},
    ParseSeriesCase{"FullWidthDigits", "２４", 0},
    ParseSeriesCase{"NulInside", "2\0" "4"s, 0},
    ParseSeriesCase{"InvalidUtf8", "\xE2\x88", 0}),
    CaseName<ParseSeriesCase>);
// clang-format on

struct SeriesValueCase {
    std::string name;
    std::int32_t k;
    std::int32_t n;
    double value;
};

class SeriesValueTest : public testing::TestWithParam<SeriesValueCase> {};

TEST_P(SeriesValueTest, GivesTheValue) {
    EXPECT_EQ(SeriesValue(GetParam().k, GetParam().n), GetParam().value);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, SeriesValueTest, testing::Values(
    SeriesValueCase{"E3First", 0, 3, 1.0},
    SeriesValueCase{"E3End", 3, 3, 10.0},
    SeriesValueCase{"E6First", 0, 6, 1.0},
    SeriesValueCase{"E6End", 6, 6, 10.0},
    SeriesValueCase{"E12First", 0, 12, 1.0},
    SeriesValueCase{"E12End", 12, 12, 10.0},
    SeriesValueCase{"E24First", 0, 24, 1.0},
    SeriesValueCase{"E24End", 24, 24, 10.0},
    SeriesValueCase{"E48First", 0, 48, 1.0},
    SeriesValueCase{"E48End", 48, 48, 10.0},
    SeriesValueCase{"E96First", 0, 96, 1.0},
    SeriesValueCase{"E96End", 96, 96, 10.0},
    SeriesValueCase{"E192First", 0, 192, 1.0},
    SeriesValueCase{"E192End", 192, 192, 10.0},
    SeriesValueCase{"E192Replaces459", 127, 192, 4.58},
    SeriesValueCase{"E192Replaces919", 185, 192, 9.2},
    SeriesValueCase{"E24RaisedTo3_0", 11, 24, 3.0},
    SeriesValueCase{"E24LoweredTo8_2", 22, 24, 8.2},
    SeriesValueCase{"E6BelowDecade", -1, 6, 0.7},
    SeriesValueCase{"E6AboveDecade", 7, 6, 14.7},
    SeriesValueCase{"E24BelowDecade", -1, 24, 0.9},
    SeriesValueCase{"E24AboveDecade", 25, 24, 11.0},
    SeriesValueCase{"E96BelowDecade", -1, 96, 0.98},
    SeriesValueCase{"OnePerDecade", 0, 1, 1.0},
    SeriesValueCase{"OnePerDecadeEnd", 1, 1, 10.0}),
    CaseName<SeriesValueCase>);
// clang-format on

struct DecadeCase {
    std::string name;
    std::int32_t n;
    std::vector<double> values;  // k = 0 .. n - 1
};

class SeriesDecadeTest : public testing::TestWithParam<DecadeCase> {};

TEST_P(SeriesDecadeTest, GivesTheCustomaryValues) {
    const DecadeCase& c = GetParam();
    ASSERT_EQ(c.values.size(), static_cast<std::size_t>(c.n));
    for (std::int32_t k = 0; k < c.n; ++k) {
        EXPECT_EQ(SeriesValue(k, c.n), c.values[static_cast<std::size_t>(k)]) << "k = " << k;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Decades, SeriesDecadeTest, testing::Values(
    DecadeCase{"E3", 3, {1.0, 2.2, 4.7}},
    DecadeCase{"E6", 6, {1.0, 1.5, 2.2, 3.3, 4.7, 6.8}},
    DecadeCase{"E12", 12, {1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2}},
    DecadeCase{"E24", 24, {1.0, 1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2.0, 2.2, 2.4, 2.7, 3.0, 3.3, 3.6, 3.9, 4.3, 4.7, 5.1, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1}}),
    CaseName<DecadeCase>);
// clang-format on

TEST(SeriesValueTest, TwoDecimalSeriesAreRoundedPowersOfTen) {
    // Named values of the customary tables first, then every index against 10^(k/n).
    const std::array<double, 8> e48{1.00, 1.05, 1.10, 1.15, 1.21, 1.27, 1.33, 1.40};
    for (std::int32_t k = 0; k < 8; ++k) {
        EXPECT_EQ(SeriesValue(k, 48), e48[static_cast<std::size_t>(k)]) << "k = " << k;
    }
    const std::array<double, 5> e96End{8.87, 9.09, 9.31, 9.53, 9.76};
    for (std::int32_t k = 91; k < 96; ++k) {
        EXPECT_EQ(SeriesValue(k, 96), e96End[static_cast<std::size_t>(k - 91)]) << "k = " << k;
    }
    const std::array<double, 5> e192Around127{4.48, 4.53, 4.58, 4.64, 4.70};
    for (std::int32_t k = 125; k < 130; ++k) {
        EXPECT_EQ(SeriesValue(k, 192), e192Around127[static_cast<std::size_t>(k - 125)])
            << "k = " << k;
    }
    for (const std::int32_t n : {48, 96, 192}) {
        for (std::int32_t k = 0; k <= n; ++k) {
            double expected = std::round(std::pow(10.0, static_cast<double>(k) / n) * 100) / 100;
            if (n == 192 && k == 127) {
                expected = 4.58;
            } else if (n == 192 && k == 185) {
                expected = 9.2;
            }
            EXPECT_EQ(SeriesValue(k, n), expected) << "n = " << n << ", k = " << k;
        }
    }
}

struct RoundCase {
    std::string name;
    double value;
    std::int32_t n;
    double result;
};

class RoundToSeriesTest : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundToSeriesTest, RoundsToTheNearestMember) {
    const double result = RoundToSeries(GetParam().value, GetParam().n);
    EXPECT_EQ(result, GetParam().result);
    EXPECT_EQ(std::signbit(result), std::signbit(GetParam().result));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, RoundToSeriesTest, testing::Values(
    RoundCase{"Up", 4500, 6, 4700},
    RoundCase{"NegativeKeepsSign", -4500, 6, -4700},
    RoundCase{"NanoUsesComputedDecade", 4.0e-9, 6, 4.7 * Decade(-9)},
    RoundCase{"BelowGeometricMean", 3.9e-9, 6, 3.3 * Decade(-9)},
    RoundCase{"UpIntoNextDecadeComputed", 9.9e-9, 6, 10 * Decade(-9)},
    RoundCase{"UpIntoNextDecade", 0.0098, 6, 0.01},
    RoundCase{"AboveGeometricMean", 15, 3, 22},
    RoundCase{"Member", 22000, 24, 22000},
    RoundCase{"Corrected", 2.65, 24, 2.7},
    RoundCase{"BelowMeanWithNextDecade", 9500, 24, 9100},
    RoundCase{"AboveMeanWithNextDecade", 9600, 24, 10000},
    RoundCase{"MantissaNearTen", 9999, 24, 10000},
    RoundCase{"PowerOfTen", 10, 24, 10},
    RoundCase{"NegativePowerOfTen", 0.1, 24, 0.1},
    RoundCase{"TwoDecimals", 4.7, 96, 4.75},
    RoundCase{"TwoDecimalsNextDecade", 0.00999, 96, 0.01},
    RoundCase{"Replaced459", 4.59, 192, 4.58},
    RoundCase{"Replaced919", 9.19, 192, 9.2},
    RoundCase{"E192NextDecade", 999.9, 192, 1000},
    RoundCase{"OnePerDecade", 1.5, 1, 1},
    // Exactly on the geometric mean (t evaluates to 0): the index-rounded value m wins.
    RoundCase{"GeometricMeanAboveM", 3.1622776601683795, 1, 1},
    RoundCase{"GeometricMeanBelowM", 1.4832396974191326, 3, 2.2},
    RoundCase{"NoRounding", 1234.5, 0, 1234.5},
    RoundCase{"Zero", 0, 24, 0},
    RoundCase{"MinusZeroUnchanged", -0.0, 24, -0.0},
    RoundCase{"NegativeSizeAsMagnitude", 4500, -6, 4700},
    RoundCase{"NegativeSizeNegativeValue", -2.65, -24, -2.7}),
    CaseName<RoundCase>);
// clang-format on

// No rounding leaves even a NaN as it is: the value is not looked at.
TEST(RoundToSeriesTest, NaNWithoutRoundingStaysNaN) {
    EXPECT_TRUE(std::isnan(RoundToSeries(kNaN, 0)));
}

TEST(RoundToSeriesTest, NegativeSizeRoundsAsItsMagnitude) {
    std::mt19937_64 engine(6);
    std::uniform_real_distribution<double> exponent(-12.0, 12.0);
    for (const std::int32_t n : kSizes) {
        for (int i = 0; i < 200; ++i) {
            const double value = std::pow(10.0, exponent(engine)) * (i % 2 ? -1 : 1);
            EXPECT_EQ(RoundToSeries(value, -n), RoundToSeries(value, n)) << value << " in E" << n;
        }
    }
}

// The largest sizes are sizes like any other: l + 1 and the magnitude of the most negative size
// exceed 32 bits and must not wrap. Mantissas keep two decimals above E24.
TEST(RoundToSeriesTest, ExtremeSizesStayNearTheValue) {
    for (const std::int32_t n : {kMaxSize, kMinSize, kMaxSize - 1, kMinSize + 1}) {
        for (const double value : {1.5, 9.99, 1234.5, -1234.5, 0.0123, 4.7e-9, 9.99999e11, 1e-5,
                                   1e-7, 1e-8, 1e-9, 1e-10, 1e-12, 0.01, 1e7, 1e12}) {
            double result = 0;
            ASSERT_NO_THROW(result = RoundToSeries(value, n)) << value << " in E" << n;
            EXPECT_LE(std::fabs(result - value), 0.005 * std::fabs(value)) << value << " in E" << n;
            EXPECT_EQ(std::signbit(result), std::signbit(value));
        }
        EXPECT_EQ(RoundToSeries(1.5, n), 1.5);
        EXPECT_EQ(RoundToSeries(9.99, n), 9.99);
        EXPECT_EQ(RoundToSeries(1234.5, n), 1230);
    }
}

struct FaultCase {
    std::string name;
    double (*operation)();
    const char* message;
};

class EseriesFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(EseriesFaultTest, FaultsWithTheMessage) {
    try {
        GetParam().operation();
        ADD_FAILURE() << "no fault";
    } catch (const FloatingPointFault& fault) {
        EXPECT_STREQ(fault.what(), GetParam().message);
    }
    EXPECT_THROW(GetParam().operation(), FloatingPointFault);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Faults, EseriesFaultTest, testing::Values(
    // The decade factor of the smallest subnormal underflows to zero.
    FaultCase{"SubnormalDecadeUnderflows", [] { return RoundToSeries(std::numeric_limits<double>::denorm_min(), 6); }, "Floating point division by zero"},
    FaultCase{"NaNValue", [] { return RoundToSeries(kNaN, 6); }, "Invalid floating point operation"},
    FaultCase{"InfiniteValue", [] { return RoundToSeries(kInf, 6); }, "Invalid floating point operation"},
    FaultCase{"NegativeInfiniteValue", [] { return RoundToSeries(-kInf, 24); }, "Invalid floating point operation"},
    FaultCase{"RoundedBeyondLargestDouble", [] { return RoundToSeries(std::numeric_limits<double>::max(), 3); }, "Floating point overflow"},
    FaultCase{"SizeZero", [] { return SeriesValue(1, 0); }, "Floating point division by zero"},
    FaultCase{"SizeAndIndexZero", [] { return SeriesValue(0, 0); }, "Invalid floating point operation"},
    FaultCase{"IndexFarBeyondDecade", [] { return SeriesValue(kMaxSize, 1); }, "Floating point overflow"},
    FaultCase{"OneDecimalValueBeyondInteger", [] { return SeriesValue(18, 1); }, "Invalid floating point operation"},
    FaultCase{"TwoDecimalValueBeyondInteger", [] { return SeriesValue(425, 25); }, "Invalid floating point operation"}),
    CaseName<FaultCase>);
// clang-format on

// For random values of every listed size: the result is a member of the series in the value's
// decade, and no member is nearer on a log scale.
class RoundToSeriesPropertyTest : public testing::TestWithParam<std::int32_t> {};

TEST_P(RoundToSeriesPropertyTest, ResultIsTheNearestMember) {
    const std::int32_t n = GetParam();
    std::vector<double> members;
    for (std::int32_t k = 0; k <= n; ++k) {
        members.push_back(SeriesValue(k, n));
    }
    constexpr std::array<double, 10> kExact{0.001, 0.01, 0.1,   1,      10,
                                            100,   1000, 10000, 100000, 1000000};
    std::mt19937_64 engine(static_cast<std::uint64_t>(n));
    std::uniform_real_distribution<double> exponent(-12.0, 12.0);
    for (int i = 0; i < 2000; ++i) {
        const double value = std::pow(10.0, exponent(engine)) * (i % 2 ? -1 : 1);
        const double result = RoundToSeries(value, n);
        const int f = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        const double decade =
            (f >= -3 && f <= 6) ? kExact[static_cast<std::size_t>(f + 3)] : Decade(f);
        const double sign = value < 0 ? -1.0 : 1.0;
        const double mantissa = std::fabs(value) / decade;

        std::size_t chosen = members.size();
        for (std::size_t k = 0; k < members.size(); ++k) {
            if ((members[k] * sign) * decade == result) {
                chosen = k;
            }
        }
        ASSERT_LT(chosen, members.size()) << value << " gave " << result << " in E" << n;
        const double distance = std::fabs(std::log(members[chosen] / mantissa));
        for (std::size_t k = 0; k < members.size(); ++k) {
            ASSERT_LE(distance, std::fabs(std::log(members[k] / mantissa)) + 1e-12)
                << value << " gave " << result << " but " << members[k] << " is nearer in E" << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoundToSeriesPropertyTest, testing::ValuesIn(kSizes),
                         [](const testing::TestParamInfo<std::int32_t>& info) {
                             return "E" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace mirelto

namespace mirelto {
namespace {

// The shortest text that reads back as the value, as JSON and the netlist write it.
std::string Shortest(double value) {
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc{} ? std::string(buffer.data(), end) : std::string("?");
}

struct NominalDecade {
    const char* name;
    int exponent;  // the decade the members are scaled into
};

class NominalValueTest : public testing::TestWithParam<NominalDecade> {};

// Every member of E3 to E192 in one decade: the member's bits and the member as a typed value
// scales it print as its decimal value; a value 1e-9 off a member is left alone.
TEST_P(NominalValueTest, EveryMemberPrintsItsDecimalValue) {
    const int exponent = GetParam().exponent;
    for (std::int32_t n : {3, 6, 12, 24, 48, 96, 192}) {
        for (std::int32_t k = 0; k < n; ++k) {
            std::array<char, 32> decimal{};
            std::snprintf(decimal.data(), decimal.size(), "%.2fe%d", SeriesValue(k, n), exponent);
            const double expected = std::strtod(decimal.data(), nullptr);
            const double member = RoundToSeries(expected, n);
            SCOPED_TRACE(testing::Message() << "E" << n << " " << decimal.data());
            EXPECT_EQ(Shortest(NominalValue(member)), Shortest(expected));
            const double typed = SeriesValue(k, n) * std::pow(10.0, exponent);
            EXPECT_EQ(Shortest(NominalValue(typed)), Shortest(expected));
            const double offMember = member * (1 + 1e-9);
            EXPECT_EQ(NominalValue(offMember), offMember);
        }
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Decades, NominalValueTest, testing::Values(
    NominalDecade{"Nanofarads", -9},
    NominalDecade{"Picofarads", -12},
    NominalDecade{"Kiloohms", 3}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace mirelto
