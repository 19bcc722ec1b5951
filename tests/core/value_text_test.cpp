// Value text: reading typed engineering notation, writing fixed-width SI texts, reading them
// back, and independence from the process locale's decimal mark.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <string_view>

#include "mirelto/values/value_format.h"
#include "mirelto/values/value_text.h"
#include "test_support.h"

namespace mirelto {
namespace {

using namespace std::string_literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Same double: both NaN, or equal with the same sign (so 0 and -0 differ).
testing::AssertionResult SameValue(double actual, double expected) {
    if ((std::isnan(actual) && std::isnan(expected)) ||
        (actual == expected && std::signbit(actual) == std::signbit(expected))) {
        return testing::AssertionSuccess();
    }
    char text[96];
    std::snprintf(text, sizeof text, "got %.17g, want %.17g", actual, expected);
    return testing::AssertionFailure() << text;
}

using test::CaseName;
using test::PrintTo;  // found by the printer through this namespace

struct ParseCase {
    std::string name;
    std::string text;
    double value;
};

class ParseValueTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseValueTest, ReadsTheValue) {
    EXPECT_TRUE(SameValue(ParseValue(GetParam().text), GetParam().value))
        << "text \"" << GetParam().text << "\"";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Notation, ParseValueTest, testing::Values(
    ParseCase{"Kilo", "22k", 22000},
    ParseCase{"NanoDividesOnce", "3.3n", 3.2999999999999998e-9},
    ParseCase{"NanoIsQuotient", "3.3n", 3.3 / 1e9},
    ParseCase{"Exponent", "1.2e-6", 1.2e-6},
    ParseCase{"CommaIsGrouping", "1,000", 1000},
    ParseCase{"CommaIsNeverDecimalMark", "1,5", 15},
    ParseCase{"BlankBeforePrefix", "1.5 k", 1500},
    ParseCase{"UnitAfterPrefix", "1.42kHz", 1420},
    ParseCase{"ExponentThenPrefix", "1e3k", 1000000},
    ParseCase{"NegativeMilli", "-3.3m", -3.3 / 1e3},
    ParseCase{"PlusSign", "+5", 5},
    ParseCase{"LeadingPoint", ".5k", 500},
    ParseCase{"TrailingPoint", "5.k", 5000},
    ParseCase{"UpperKIsKilo", "22K", 22000},
    ParseCase{"UpperPIsPico", "22P", 22 / 1e12},
    ParseCase{"LowerMIsMilli", "22m", 22 / 1e3},
    ParseCase{"UpperMIsMega", "22M", 22000000},
    ParseCase{"Giga", "22g", 2.2e10},
    ParseCase{"BlankAndUnit", "100 pF", 100 / 1e12},
    ParseCase{"OtherSuffixLeavesUnscaled", "5Ω", 5},
    ParseCase{"GreekMu", "4.7μ", 4.7 / 1e6},
    ParseCase{"MicroSign", "4.7µ", 4.7 / 1e6},
    ParseCase{"FullWidthKilo", "22ｋ", 22000},
    ParseCase{"FullWidthMilli", "22ｍ", 22 / 1e3},
    ParseCase{"FullWidthTera", "22Ｔ", 2.2e13},
    ParseCase{"FullWidthUpperMIsMega", "22Ｍ", 22e6},
    ParseCase{"FullWidthUpperUIsMicro", "22Ｕ", 22 / 1e6},
    ParseCase{"IdeographicSpaceIsTheSuffix", "22\u3000k", 22},
    ParseCase{"TabTrimmedOffSuffix", "22\tk", 22000},
    ParseCase{"NulTrimmedOffSuffix", "22\0k"s, 22000},
    ParseCase{"ControlCharsAroundTrimmed", "\x01\n 22k \r\n", 22000},
    ParseCase{"SubnormalAfterPico", "1e-300p", 1e-312},
    ParseCase{"UnderflowIsZero", "1e-400", 0.0},
    ParseCase{"NegativeUnderflowIsMinusZero", "-1e-400", -0.0},
    ParseCase{"UnderflowWithLongFraction", "0.00001e-320", 0.0},
    ParseCase{"ExponentAtLimit", "1e-1024", 0.0},
    ParseCase{"LargestDouble", "1.7976931348623157e308", std::numeric_limits<double>::max()},
    ParseCase{"SmallestSubnormal", "4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
    ParseCase{"MinusZero", "-0", -0.0},
    ParseCase{"Empty", "", kNaN},
    ParseCase{"BlanksOnly", "   ", kNaN},
    ParseCase{"CommasOnly", ",,", kNaN},
    ParseCase{"PrefixOnly", "k", kNaN},
    ParseCase{"FullWidthPrefixOnly", "ｋ", kNaN},
    ParseCase{"Letters", "abc", kNaN},
    ParseCase{"PointOnly", ".", kNaN},
    ParseCase{"SignOnly", "-k", kNaN},
    ParseCase{"UpperExponentWithoutDigits", "2.2E", kNaN},
    ParseCase{"ExponentWithoutDigits", "2.2e", kNaN},
    ParseCase{"ExponentWithoutMantissa", "E5", kNaN},
    ParseCase{"DoubleSign", "--5", kNaN},
    ParseCase{"TrailingSign", "5-", kNaN},
    ParseCase{"FractionalExponent", "1e3.5k", kNaN},
    ParseCase{"TwoPoints", "1.2.3", kNaN},
    ParseCase{"FullWidthDigits", "２２ｋ", kNaN},
    ParseCase{"Overflow", "1e400", kNaN},
    ParseCase{"OverflowByPrefix", "1e300T", kNaN},
    ParseCase{"JustAboveLargestDouble", "1.7976931348623159e308", kNaN},
    ParseCase{"ExponentBeyondLimit", "1e-1025", kNaN},
    ParseCase{"ZeroWithExponentBeyondLimit", "0e1025", kNaN}),
    CaseName<ParseCase>);
// clang-format on

// "4k7": the prefix letter directly between plain digits stands for the decimal mark.
// clang-format off
INSTANTIATE_TEST_SUITE_P(LetterAsDecimalMark, ParseValueTest, testing::Values(
    ParseCase{"Kilo", "1k5", 1500},
    ParseCase{"Micro", "4u7", 4.7 / 1e6},
    ParseCase{"FullWidthKilo", "4ｋ7", 4700},
    ParseCase{"FullWidthUpperKilo", "1Ｋ5", 1500},
    ParseCase{"Mega", "2M2", 2.2e6},
    ParseCase{"Milli", "1m5", 1.5 / 1e3},
    ParseCase{"UpperPIsPico", "1P5", 1.5 / 1e12},
    ParseCase{"Nano", "3n3", 3.3 / 1e9},
    ParseCase{"GreekMu", "4μ7", 4.7 / 1e6},
    ParseCase{"MicroSign", "4µ7", 4.7 / 1e6},
    ParseCase{"TwoIntegerDigits", "22k7", 22700},
    ParseCase{"SeveralFractionDigits", "0k47", 470},
    ParseCase{"PointAfterDigitsIgnored", "1k5.3", 1500},
    ParseCase{"UnitAfterDigitsIgnored", "1k5Ω", 1500},
    ParseCase{"ExponentAfterDigitsIgnored", "1k5e3", 1500},
    ParseCase{"BlankDeletedFirst", "1 k 5", 1500},
    ParseCase{"CommaDeletedFirst", "1,k5", 1500},
    ParseCase{"TabBeforeLetterKeepsPrefixReading", "1\tk5", 1000},
    ParseCase{"TabAfterLetterKeepsPrefixReading", "1k\t5", 1000},
    ParseCase{"PlusSignedMega", "+1M2", 1.2e6},
    ParseCase{"MinusSignedKilo", "-4k7", -4700},
    ParseCase{"PlusSignedMicroSign", "+4µ7", 4.7 / 1e6},
    ParseCase{"MinusSignedFractionOnly", "-0k47", -470},
    ParseCase{"SignWithoutDigits", "+k5", kNaN},
    ParseCase{"TwoSigns", "--4k7", kNaN},
    ParseCase{"PointedNumberKeepsPrefixReading", "1.5k5", 1500},
    ParseCase{"ExponentKeepsPrefixReading", "1e3k5", 1e6},
    ParseCase{"NoDigitAfterLetter", "1kk5", 1000},
    ParseCase{"OtherLetter", "1x5", 1},
    ParseCase{"TooLarge", std::string(400, '9') + "T5", kNaN}),
    CaseName<ParseCase>);
// clang-format on

// Bytes that are not UTF-8 are never a prefix letter: the number stays unscaled.
// clang-format off
INSTANTIATE_TEST_SUITE_P(InvalidUtf8, ParseValueTest, testing::Values(
    ParseCase{"OverlongKilo", "22\xC1\xAB", 22},
    ParseCase{"OverlongMicroSign", "22\xE0\x82\xB5", 22},
    ParseCase{"LoneContinuation", "22\x8B", 22},
    ParseCase{"TruncatedFullWidthKilo", "22\xEF\xBD", 22},
    ParseCase{"InvalidByte", "22\xFFk", 22},
    ParseCase{"SurrogateHalf", "22\xED\xA0\x80", 22},
    ParseCase{"InvalidBeforeDigits", "1\xC2" "5", 1}),
    CaseName<ParseCase>);
// clang-format on

TEST(ParseValueTest, LetterReadingEqualsDottedReadingBitForBit) {
    // "3n3" and "3.3n" are the same text to the user: same double, not a near one.
    for (const auto& [lettered, dotted] : {std::pair{"3n3", "3.3n"},
                                           {"4u7", "4.7u"},
                                           {"1p8", "1.8p"},
                                           {"6n8", "6.8n"},
                                           {"2m7", "2.7m"},
                                           {"5ｐ6", "5.6p"},
                                           {"8µ2", "8.2μ"},
                                           {"123k456", "123.456k"},
                                           {"-3n3", "-3.3n"}}) {
        EXPECT_TRUE(SameValue(ParseValue(lettered), ParseValue(dotted))) << lettered;
    }
}

struct FormatCase {
    std::string name;
    double value;
    std::string text;
};

class FormatSITest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatSITest, WritesWidth8With3Decimals) {
    EXPECT_EQ(FormatSI(GetParam().value, 8, 3), GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, FormatSITest, testing::Values(
    FormatCase{"Kilo", 22000, " 22.000k"},
    FormatCase{"ZeroHasNoPrefix", 0, "  0.000"},
    FormatCase{"MinusZero", -0.0, "  0.000"},
    FormatCase{"RoundsUpIntoNextRow", 999.9995, "  1.000k"},
    FormatCase{"StaysBelowThreshold", 999.9989, "999.999"},
    FormatCase{"BelowPico", 1e-13, "  0.100p"},
    FormatCase{"FarBelowPicoStaysPico", 1e-16, "  0.000p"},
    FormatCase{"NegativeKeepsSign", -4700, " -4.700k"},
    FormatCase{"Frequency", 1420, "  1.420k"},
    FormatCase{"Nano", 3.3e-9, "  3.300n"},
    FormatCase{"Milli", 0.5, "500.000m"},
    FormatCase{"RoundsUpToUnitRow", 0.9999995, "  1.000"},
    FormatCase{"RoundsUpToMega", 999999.5, "  1.000M"},
    FormatCase{"Mega", 123456789, "123.457M"},
    FormatCase{"BeyondTeraNotCut", 1e16, "10000.000T"},
    FormatCase{"PlainTera", 9e28, "90000000000000000.000T"},
    FormatCase{"ExponentFormTera", 1e30, "  1E018T"},
    FormatCase{"FarBeyondTera", -5e300, " -5E288T"},
    FormatCase{"NaNMarker", kNaN, " ***** "},
    FormatCase{"InfinityMarker", kInf, " ***** "},
    FormatCase{"NegativeInfinityMarker", -kInf, " ***** "}),
    CaseName<FormatCase>);
// clang-format on

struct FixedCase {
    std::string name;
    double value;
    int width;
    int decimals;
    std::string text;
};

class FormatFixedTest : public testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixedTest, WritesPaddedFixedText) {
    EXPECT_EQ(FormatFixed(GetParam().value, GetParam().width, GetParam().decimals),
              GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, FormatFixedTest, testing::Values(
    FixedCase{"NaNWidth7", kNaN, 7, 3, " ***** "},
    FixedCase{"NaNWidth8", kNaN, 8, 3, " ****** "},
    FixedCase{"NaNWidth3", kNaN, 3, 3, " * "},
    FixedCase{"NaNWidth2", kNaN, 2, 3, "  "},
    FixedCase{"NaNWidth1", kNaN, 1, 3, "  "},
    FixedCase{"InfinityWidth7", kInf, 7, 3, " ***** "},
    FixedCase{"NegativeInfinityWidth7", -kInf, 7, 3, " ***** "},
    FixedCase{"Padded", 1.5, 7, 3, "  1.500"},
    FixedCase{"NegativePadded", -1.5, 7, 3, " -1.500"},
    FixedCase{"LongerThanWidthNotCut", 12345678.9, 7, 3, "12345678.900"},
    FixedCase{"NegativeRoundedToZeroUnsigned", -0.0004, 7, 3, "  0.000"},
    FixedCase{"MinusZeroUnsigned", -0.0, 7, 3, "  0.000"},
    FixedCase{"NegativeRoundingAwayFromZeroKeepsSign", -0.0006, 7, 3, " -0.001"},
    FixedCase{"CorrectlyRounded", 1.0005, 7, 3, "  1.000"},
    FixedCase{"NoDecimals", 12.7, 4, 0, "  13"},
    FixedCase{"NoDecimalsNegativeZero", -0.2, 2, 0, " 0"},
    FixedCase{"Below1e17", 99999999999999984.0, 7, 3, "99999999999999984.000"},
    FixedCase{"ExponentFormFrom1e17", 1e17, 5, 3, "1E017"},
    FixedCase{"ExponentFormIgnoresDecimals", 1e18, 7, 3, "  1E018"},
    FixedCase{"ExponentFormNegative", -2.5e20, 0, 3, "-2.5E020"},
    FixedCase{"ExponentFormThreeDigitExponent", 1e300, 8, 0, "   1E300"},
    FixedCase{"LargestDouble", std::numeric_limits<double>::max(), 0, 0, "1.7976931348623157E308"}),
    CaseName<FixedCase>);
// clang-format on

struct SignificantCase {
    std::string name;
    double value;
    int digits;
    std::string text;
};

class FormatSISignificantTest : public testing::TestWithParam<SignificantCase> {};

TEST_P(FormatSISignificantTest, WritesSignificantDigitsInTheRoundedRow) {
    EXPECT_EQ(FormatSISignificant(GetParam().value, GetParam().digits), GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, FormatSISignificantTest, testing::Values(
    SignificantCase{"Kilo", 1322.7, 4, "1.323k"},
    SignificantCase{"Unit", 880.54, 4, "880.5"},
    SignificantCase{"MilliKeepsTrailingZero", 0.69104, 4, "691.0m"},
    SignificantCase{"One", 1.0, 4, "1.000"},
    SignificantCase{"TensOfKilo", 12346, 4, "12.35k"},
    SignificantCase{"RoundsUpIntoNextRow", 999.95, 4, "1.000k"},
    SignificantCase{"StaysBelowNextRow", 999.94, 4, "999.9"},
    SignificantCase{"RoundsUpIntoUnitRow", 0.99996, 4, "1.000"},
    SignificantCase{"ExactThousandthIsMilli", 0.001, 3, "1.00m"},
    SignificantCase{"TenThousandthIsMicro", 1e-4, 3, "100u"},
    SignificantCase{"FewDigitsPadWithZeros", 123456, 2, "120k"},
    SignificantCase{"OneDigit", 4.7e-9, 1, "5n"},
    SignificantCase{"Negative", -0.0123, 3, "-12.3m"},
    SignificantCase{"Zero", 0.0, 4, "0.000"},
    SignificantCase{"MinusZeroUnsigned", -0.0, 4, "0.000"},
    SignificantCase{"BelowPicoStaysPico", 1.5e-13, 4, "0.1500p"},
    SignificantCase{"FarBelowPico", 2e-16, 2, "0.00020p"},
    SignificantCase{"BeyondTeraStaysTera", 1e16, 4, "10000T"},
    SignificantCase{"LastPlainTera", 1e28, 4, "10000000000000000T"},
    SignificantCase{"ExponentFormTera", 1e29, 4, "1.000E017T"},
    SignificantCase{"FarBeyondTera", -1e300, 4, "-1.000E288T"},
    SignificantCase{"LastPlainPico", 1.5e-29, 2, "0.000000000000000015p"},
    SignificantCase{"ExponentFormPico", 1.5e-30, 2, "1.5E-018p"},
    SignificantCase{"OneDigitExponentForm", 1e-300, 1, "1E-288p"},
    SignificantCase{"DigitsBelowOneUseOne", 1234, 0, "1k"},
    SignificantCase{"DigitsBeyondSeventeenUseSeventeen", 0.5, 40, "500.00000000000000m"},
    SignificantCase{"NaNEmpty", kNaN, 4, ""},
    SignificantCase{"InfinityEmpty", kInf, 4, ""},
    SignificantCase{"NegativeInfinityEmpty", -kInf, 4, ""}),
    CaseName<SignificantCase>);
// clang-format on

// Every value written with four significant digits reads back within half a unit of its fourth
// digit, and its number part lies in [1, 1000) of its row.
TEST(FormatSISignificantTest, ReadsBackWithinHalfAUnitOfTheLastDigit) {
    std::mt19937_64 engine(20240612);
    std::uniform_real_distribution<double> exponent(-11.0, 14.0);
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, exponent(engine));
        const double value = (i % 2 == 0) ? magnitude : -magnitude;
        const std::string shown = FormatSISignificant(value, 4);
        const double parsed = ParseValue(shown);
        ASSERT_LE(std::fabs(parsed - value), 5e-4 * std::fabs(value) * (1 + 1e-9))
            << shown << " from " << value;
        std::string number = shown;
        if (std::isalpha(static_cast<unsigned char>(number.back()))) {
            number.pop_back();
        }
        const double digits = std::fabs(std::strtod(number.c_str(), nullptr));
        ASSERT_GE(digits, 1.0) << shown;
        ASSERT_LT(digits, 1000.0) << shown;
        ASSERT_EQ(std::count_if(number.begin(), number.end(),
                                [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }),
                  4)
            << shown;
    }
}

// Every finite value that FormatSI writes reads back as the value it shows: its number part,
// converted on its own, scaled by its prefix letter. The value shown is also within half a unit
// of the last decimal of the original.
TEST(FormatSIRoundTripTest, ReadsBackAsTheShownValue) {
    std::mt19937_64 engine(20240611);
    std::uniform_real_distribution<double> exponent(-14.0, 15.0);
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, exponent(engine));
        const double value = (i % 2 == 0) ? magnitude : -magnitude;
        const std::string shown = FormatSI(value, 8, 3);

        // Split " 22.000k" into "22.000" and the prefix letter.
        std::string number = shown;
        std::string prefix;
        if (!number.empty() && std::isalpha(static_cast<unsigned char>(number.back()))) {
            prefix = number.back();
            number.pop_back();
        }
        const double digits = std::strtod(number.c_str(), nullptr);  // the "C" locale
        // Each prefix letter, its power of ten, and whether the reading divides by it.
        struct Prefix {
            const char* letter;
            double power;
            bool divides;
        };
        constexpr Prefix kPrefixes[] = {{"p", 1e12, true}, {"n", 1e9, true},  {"u", 1e6, true},
                                        {"m", 1e3, true},  {"", 1, false},    {"k", 1e3, false},
                                        {"M", 1e6, false}, {"G", 1e9, false}, {"T", 1e12, false}};
        const auto found = std::find_if(std::begin(kPrefixes), std::end(kPrefixes),
                                        [&](const Prefix& x) { return prefix == x.letter; });
        ASSERT_NE(found, std::end(kPrefixes)) << shown;
        const double expected = found->divides ? digits / found->power : digits * found->power;
        const double unit = found->divides ? 1 / found->power : found->power;
        const double parsed = ParseValue(shown);
        ASSERT_TRUE(SameValue(parsed, expected)) << shown << " from " << value;
        // Shown with three decimals in its row, from 1.000 (or 0.100 in the pico row) upward.
        ASSERT_LE(std::fabs(parsed - value), 0.0005 * unit * (1 + 1e-9) + std::fabs(value) * 1e-15)
            << shown << " from " << value;
        ASSERT_TRUE(prefix == "p" || std::fabs(digits) >= 0.9995) << shown;
        ASSERT_LT(std::fabs(digits), 1000.0) << shown;
    }
}

// Magnitudes from 1e-320 to the largest double; write with each formatter; every text stays
// short, and the exponent form of FormatFixed reads back as the value itself.
TEST(FormatBoundsTest, EveryMagnitudeGivesAShortTextThatReadsBack) {
    std::mt19937_64 engine(20240613);
    std::uniform_real_distribution<double> exponent(-320.0, 308.25);
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, exponent(engine));
        const double value = (i % 2 == 0) ? magnitude : -magnitude;
        const std::string fixed = FormatFixed(value, 7, 3);
        // "-" and 17 digits with 3 decimals, or "-d.dddddddddddddddd" and "E308"; 24 with a prefix
        // letter, or 16 zeros after "-0." before four digits.
        ASSERT_LE(fixed.size(), 23u) << value;
        if (magnitude >= 1e17) {
            ASSERT_TRUE(SameValue(ParseValue(fixed), value)) << fixed << " from " << value;
        } else {
            ASSERT_LE(std::fabs(ParseValue(fixed) - value), 0.0005 * (1 + 1e-9)) << fixed;
        }
        ASSERT_LE(FormatSI(value, 8, 3).size(), 24u) << value;
        const std::string significant = FormatSISignificant(value, 4);
        ASSERT_LE(significant.size(), 24u) << significant;
        ASSERT_LE(std::fabs(ParseValue(significant) - value), 5e-4 * magnitude * (1 + 1e-9))
            << significant << " from " << value;
    }
}

// The decimal mark is "." whatever the process locale says: a German locale (decimal comma) is
// built at test time and switched on for the whole process.
TEST(ValueTextLocaleTest, DecimalMarkIsPointUnderCommaLocale) {
    char pattern[] = "/tmp/mirelto_locale_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path dir = pattern;
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "localedef could not build de_DE.UTF-8";
    ASSERT_EQ(setenv("LOCPATH", dir.c_str(), 1), 0);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const std::string mark = std::localeconv()->decimal_point;

    const double nano = ParseValue("3.3n");
    const double comma = ParseValue("1,5");
    const double fraction = ParseValue("1.5k");
    const std::string shown = FormatSI(6.8e-9, 8, 3);
    const std::string fixed = FormatFixed(-1234.5, 10, 2);
    const std::string significant = FormatSISignificant(-1322.7, 4);

    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    std::filesystem::remove_all(dir);

    EXPECT_EQ(mark, ",") << "the locale under test must use a decimal comma";
    EXPECT_TRUE(SameValue(nano, 3.3 / 1e9));
    EXPECT_TRUE(SameValue(comma, 15));
    EXPECT_TRUE(SameValue(fraction, 1500));
    EXPECT_EQ(shown, "  6.800n");
    EXPECT_EQ(fixed, "  -1234.50");
    EXPECT_EQ(significant, "-1.323k");
}

}  // namespace
}  // namespace mirelto
