// Reading the commands' options: the two option forms, values as SI texts, and the errors,
// each naming its option.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "arguments.h"
#include "common.h"
#include "test_support.h"

namespace mirelto::cli {
namespace {

using test::PrintTo;  // found by the printer through this namespace

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

// clang-format off
INSTANTIATE_TEST_SUITE_P(Words, BadWordsTest, testing::Values(
    BadWordsCase{"Unknown", {"--fb", "1"}, "unknown option \"--fb\""},
    BadWordsCase{"UnknownWithValue", {"--fb=1"}, "unknown option \"--fb\""},
    BadWordsCase{"MissingValueAtEnd", {"--fa"}, "--fa: needs a value (F)"},
    BadWordsCase{"MissingValueBeforeOption", {"--fa", "--json"}, "--fa: needs a value (F)"},
    BadWordsCase{"FlagWithValue", {"--json=yes"}, "--json: takes no value"},
    BadWordsCase{"StrayWord", {"22k"}, "unexpected argument \"22k\""},
    BadWordsCase{"SingleDash", {"-fa", "1"}, "unexpected argument \"-fa\""},
    BadWordsCase{"LineBreakStaysOnOneLine", {"a\nb"}, "unexpected argument \"a?b\""}),
    [](const auto& info) { return info.param.name; });
// clang-format on

struct ValueCase {
    std::string name;
    std::function<double(std::string_view)> parse;
    std::string text;
    double expected;  // NaN: a UsageError naming --x
};

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

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, ValueTest, testing::Values(
    ValueCase{"Kilo", Number, "22k", 22000},
    ValueCase{"InfixPrefix", Number, "4k7", 4700},
    ValueCase{"Nano", Number, "3.3n", 3.3 / 1e9},
    ValueCase{"Exponent", Number, "1.2e-6", 1.2e-6},
    ValueCase{"Negative", Number, "-1", -1},
    ValueCase{"NotAValue", Number, "abc", kBad},
    ValueCase{"Empty", Number, "", kBad},
    ValueCase{"Overflow", Number, "1e999", kBad},
    ValueCase{"PositiveKilo", Positive, "1.42k", 1420},
    ValueCase{"Zero", Positive, "0", kBad},
    ValueCase{"BelowZero", Positive, "-22k", kBad},
    ValueCase{"CountSI", Count, "10k", 10000},
    ValueCase{"CountPlain", Count, "40", 40},
    ValueCase{"CountFraction", Count, "1.5", kBad},
    ValueCase{"CountTooMany", Count, "100001", kBad},
    ValueCase{"CountZero", Count, "0", kBad},
    ValueCase{"SeriesPlain", Series, "6", 6},
    ValueCase{"SeriesWithE", Series, "E24", 24},
    ValueCase{"SeriesLowerE", Series, "e192", 192},
    ValueCase{"SeriesNone", Series, "0", 0},
    ValueCase{"SeriesInf", Series, "inf", 0},
    ValueCase{"SeriesInfinitySign", Series, "\xE2\x88\x9E", 0},
    ValueCase{"SeriesJustE", Series, "E", kBad},
    ValueCase{"SeriesTrailing", Series, "6x", kBad},
    ValueCase{"SeriesNegative", Series, "-6", kBad},
    ValueCase{"SeriesSeven", Series, "7", kBad},
    ValueCase{"SeriesE20", Series, "E20", kBad},
    ValueCase{"SeriesE3", Series, "E3", 3},
    ValueCase{"PercentPlain", Percent, "1", 0.01},
    ValueCase{"PercentSign", Percent, "5%", 0.05},
    ValueCase{"PercentMilli", Percent, "500m", 0.005},
    ValueCase{"PercentZero", Percent, "0", 0},
    ValueCase{"PercentWhole", Percent, "100", kBad},
    ValueCase{"PercentNegative", Percent, "-1", kBad},
    ValueCase{"PercentText", Percent, "five", kBad},
    ValueCase{"SeedZero", Seed, "0", 0},
    ValueCase{"SeedLargest", Seed, "18446744073709551615", 18446744073709551615.0},
    ValueCase{"SeedTooLarge", Seed, "18446744073709551616", kBad},
    ValueCase{"SeedNegative", Seed, "-1", kBad},
    ValueCase{"SeedExponent", Seed, "1e3", kBad}),
    [](const auto& info) { return info.param.name; });
// clang-format on

struct TextCase {
    std::string name;
    std::string text;
    std::string expected;
};

class PrintableTest : public testing::TestWithParam<TextCase> {};

// A typed text; make it printable, cut after 5 characters; controls and broken UTF-8 as "?".
TEST_P(PrintableTest, ReplacesControlsAndBrokenBytes) {
    EXPECT_EQ(Printable(GetParam().text, 5), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, PrintableTest, testing::Values(
    TextCase{"Plain", "22k", "22k"},
    TextCase{"Controls", "a\x1b\x07\x7f\t", "a????"},
    TextCase{"C1Control", "\xc2\x85", "?"},
    TextCase{"NoBreakSpaceKept", "\xc2\xa0", "\xc2\xa0"},
    TextCase{"StrayBytes", "\xff\xfe\x80", "???"},
    TextCase{"Overlong", "\xc0\xaf", "??"},
    TextCase{"Surrogate", "\xed\xa0\x80", "???"},
    TextCase{"BrokenOffSequence", "\xe3\x81", "??"},
    TextCase{"BeyondUnicode", "\xf4\x90\x80\x80", "????"},
    TextCase{"JapaneseKept", "\xe3\x81\x82\xf0\x9f\x98\x80", "\xe3\x81\x82\xf0\x9f\x98\x80"},
    TextCase{"FiveCharactersWhole", "12345", "12345"},
    TextCase{"CutAfterFive", "\xe3\x81\x82" "23456", "\xe3\x81\x82" "2345..."}),
    [](const auto& info) { return info.param.name; });
// clang-format on

class FixedTextTest : public testing::TestWithParam<TextCase> {};

// A number and a format (the case's text); write it; zero never shows a minus sign.
TEST_P(FixedTextTest, WritesNoNegativeZero) {
    const TextCase& c = GetParam();
    const std::size_t split = c.text.find(' ');
    const double value = std::stod(c.text.substr(0, split));
    EXPECT_EQ(FixedText(value, c.text.substr(split + 1).c_str()), c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, FixedTextTest, testing::Values(
    TextCase{"TinyNegativeSigned", "-1e-9 %+8.3f", "  +0.000"},
    TextCase{"NegativeRoundedToZero", "-0.0004 %.3f", "0.000"},
    TextCase{"NegativeZero", "-0 %+9.4f", "  +0.0000"},
    TextCase{"NegativeKept", "-0.0006 %.3f", "-0.001"},
    TextCase{"Positive", "2.5 %g", "2.5"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// Counts of one and more; the noun in the singular for one only.
TEST(CountedTest, PluralUnlessOne) {
    EXPECT_EQ(Counted(1, "trial"), "1 trial");
    EXPECT_EQ(Counted(0, "trial"), "0 trials");
    EXPECT_EQ(Counted(2, "combination"), "2 combinations");
}

struct ProblemCase {
    std::string name;
    Problem problem;
    std::string text;
};

class ProblemTextTest : public testing::TestWithParam<ProblemCase> {};

// A tool's input problem; word it; the English sentence, naming the part and the limit.
TEST_P(ProblemTextTest, WordsItInEnglish) {
    EXPECT_EQ(DescribeInEnglish(GetParam().problem), GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Problems, ProblemTextTest, testing::Values(
    ProblemCase{"PartNotPositive", {InputProblem::PartNotPositive, 4}, "C2 must be positive and finite"},
    ProblemCase{"NoPreferredValues", {InputProblem::NoPreferredValues, 0}, "R1: no preferred values around it"},
    ProblemCase{"Steps", {InputProblem::StepsOutOfRange}, "the neighbourhood is 1 to 3 steps"},
    ProblemCase{"Tolerance", {InputProblem::ToleranceOutOfRange, 2}, "R3: a tolerance is 0 to below 100 %"},
    ProblemCase{"Trials", {InputProblem::TrialsOutOfRange}, "the number of trials is 1 to 100000000"},
    ProblemCase{"Bins", {InputProblem::BinsOutOfRange}, "the number of histogram bins is 1 to 10000"},
    ProblemCase{"None", {}, ""}),
    [](const auto& info) { return info.param.name; });
// clang-format on

}  // namespace
}  // namespace mirelto::cli
