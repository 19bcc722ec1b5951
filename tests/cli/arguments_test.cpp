// Reading the commands' options: the two option forms, values as SI texts, and the errors,
// each naming its option.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "arguments.h"

namespace mirelto::cli {
namespace {

const std::array<Option, 3> kOptions{{
    {"--fa", "F", "fa"},
    {"--json", "", "json"},
    {"--help", "", "help"},
}};

// "--fa 1k", "--fa=2k" and a repeat; read; the last value wins, the flag is there.
TEST(ArgumentsTest, ReadsBothFormsAndKeepsTheLast) {
    const std::vector<std::string> words{"--fa", "1k", "--json", "--fa=2k"};
    const Arguments args(kOptions, words);
    EXPECT_EQ(args.Text("--fa"), "2k");
    EXPECT_TRUE(args.Has("--json"));
    EXPECT_FALSE(args.Has("--help"));
    EXPECT_FALSE(args.Text("--help").has_value());
}

// A negative number after an option; read; it is the value, not an option.
TEST(ArgumentsTest, TakesANegativeNumberAsAValue) {
    const std::vector<std::string> words{"--fa", "-1"};
    EXPECT_EQ(Arguments(kOptions, words).Text("--fa"), "-1");
}

struct BadWordsCase {
    std::string name;
    std::vector<std::string> words;
    std::string message;
};

void PrintTo(const BadWordsCase& c, std::ostream* os) {
    *os << c.name;
}

class BadWordsTest : public testing::TestWithParam<BadWordsCase> {};

// A bad command line; read it; a UsageError whose message names the option or the word.
TEST_P(BadWordsTest, ThrowsNamingTheOption) {
    const BadWordsCase& c = GetParam();
    try {
        const Arguments args(kOptions, c.words);
        FAIL() << "no error";
    } catch (const UsageError& e) {
        EXPECT_EQ(std::string(e.what()), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Words, BadWordsTest,
    testing::Values(
        BadWordsCase{"Unknown", {"--fb", "1"}, "unknown option \"--fb\""},
        BadWordsCase{"UnknownWithValue", {"--fb=1"}, "unknown option \"--fb\""},
        BadWordsCase{"MissingValueAtEnd", {"--fa"}, "--fa: needs a value (F)"},
        BadWordsCase{"MissingValueBeforeOption", {"--fa", "--json"}, "--fa: needs a value (F)"},
        BadWordsCase{"FlagWithValue", {"--json=yes"}, "--json: takes no value"},
        BadWordsCase{"StrayWord", {"22k"}, "unexpected argument \"22k\""},
        BadWordsCase{"SingleDash", {"-fa", "1"}, "unexpected argument \"-fa\""},
        BadWordsCase{"LineBreakStaysOnOneLine", {"a\nb"}, "unexpected argument \"a?b\""}),
    [](const auto& info) { return info.param.name; });

struct ValueCase {
    std::string name;
    std::function<double(std::string_view)> parse;
    std::string text;
    double expected;  // NaN: a UsageError naming --x
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class ValueTest : public testing::TestWithParam<ValueCase> {};

// An option's text; read it as its kind of value; the value, or an error naming the option.
TEST_P(ValueTest, ReadsOrNamesTheOption) {
    const ValueCase& c = GetParam();
    if (std::isnan(c.expected)) {
        try {
            c.parse(c.text);
            FAIL() << "accepted";
        } catch (const UsageError& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("--x: ")) << e.what();
        }
    } else {
        EXPECT_EQ(c.parse(c.text), c.expected);
    }
}

double Number(std::string_view t) {
    return ParseNumber("--x", t);
}
double Positive(std::string_view t) {
    return ParsePositive("--x", t);
}
double Count(std::string_view t) {
    return static_cast<double>(ParseCount("--x", t, 1, 100000));
}
double Series(std::string_view t) {
    return ParseSeriesOption("--x", t);
}
double Percent(std::string_view t) {
    return ParsePercent("--x", t);
}
double Seed(std::string_view t) {
    return static_cast<double>(ParseSeed("--x", t));
}

const double kBad = std::nan("");

INSTANTIATE_TEST_SUITE_P(
    Values, ValueTest,
    testing::Values(
        ValueCase{"Kilo", Number, "22k", 22000}, ValueCase{"InfixPrefix", Number, "4k7", 4700},
        ValueCase{"Nano", Number, "3.3n", 3.3 / 1e9},
        ValueCase{"Exponent", Number, "1.2e-6", 1.2e-6}, ValueCase{"Negative", Number, "-1", -1},
        ValueCase{"NotAValue", Number, "abc", kBad}, ValueCase{"Empty", Number, "", kBad},
        ValueCase{"Overflow", Number, "1e999", kBad},
        ValueCase{"PositiveKilo", Positive, "1.42k", 1420}, ValueCase{"Zero", Positive, "0", kBad},
        ValueCase{"BelowZero", Positive, "-22k", kBad}, ValueCase{"CountSI", Count, "10k", 10000},
        ValueCase{"CountPlain", Count, "40", 40}, ValueCase{"CountFraction", Count, "1.5", kBad},
        ValueCase{"CountTooMany", Count, "100001", kBad}, ValueCase{"CountZero", Count, "0", kBad},
        ValueCase{"SeriesPlain", Series, "6", 6}, ValueCase{"SeriesWithE", Series, "E24", 24},
        ValueCase{"SeriesLowerE", Series, "e192", 192}, ValueCase{"SeriesNone", Series, "0", 0},
        ValueCase{"SeriesInf", Series, "inf", 0},
        ValueCase{"SeriesInfinitySign", Series, "\xE2\x88\x9E", 0},
        ValueCase{"SeriesJustE", Series, "E", kBad},
        ValueCase{"SeriesTrailing", Series, "6x", kBad},
        ValueCase{"SeriesNegative", Series, "-6", kBad},
        ValueCase{"PercentPlain", Percent, "1", 0.01},
        ValueCase{"PercentSign", Percent, "5%", 0.05},
        ValueCase{"PercentMilli", Percent, "500m", 0.005},
        ValueCase{"PercentZero", Percent, "0", 0}, ValueCase{"PercentWhole", Percent, "100", kBad},
        ValueCase{"PercentNegative", Percent, "-1", kBad},
        ValueCase{"PercentText", Percent, "five", kBad}, ValueCase{"SeedZero", Seed, "0", 0},
        ValueCase{"SeedLargest", Seed, "18446744073709551615", 18446744073709551615.0},
        ValueCase{"SeedTooLarge", Seed, "18446744073709551616", kBad},
        ValueCase{"SeedNegative", Seed, "-1", kBad}, ValueCase{"SeedExponent", Seed, "1e3", kBad}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace mirelto::cli
