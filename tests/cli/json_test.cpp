// The two JSON helpers of the --json outputs: how a number becomes a value, and how a document
// is printed.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "json.h"
#include "test_support.h"

namespace mirelto::cli {
namespace {

using test::PrintTo;  // found by the printer through this namespace

struct NumberCase {
    std::string name;
    double value;
    std::string expected;
};

class JsonNumberTest : public testing::TestWithParam<NumberCase> {};

// A double; make it a value and print it; an integer without a fraction, null where JSON has no
// number, otherwise the double's round-trip text.
TEST_P(JsonNumberTest, WritesTheValue) {
    EXPECT_EQ(JsonNumber(GetParam().value).dump(), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Numbers, JsonNumberTest, testing::Values(
    NumberCase{"Integer", 1420, "1420"},
    NumberCase{"Ohms", 22000, "22000"},
    NumberCase{"HundredThousand", 1e5, "100000"},
    NumberCase{"NegativeInteger", -3300, "-3300"},
    NumberCase{"Zero", 0, "0"},
    NumberCase{"NegativeZero", -0.0, "-0.0"},
    NumberCase{"LastExactInteger", 9007199254740991.0, "9007199254740991"},
    NumberCase{"TwoToThe53", 9007199254740992.0, "9.007199254740992e+15"},
    NumberCase{"Huge", 1e300, "1e+300"},
    NumberCase{"Tenth", 0.1, "0.1"},
    NumberCase{"TenPercent", 0.05, "0.05"},
    NumberCase{"Nano", 6.8e-9, "6.8e-09"},
    NumberCase{"OneNano", 1e-9, "1e-09"},
    NumberCase{"Nominal", 1.5e-9, "1.5e-09"},
    NumberCase{"TenThousandth", 1e-4, "0.0001"},
    NumberCase{"Result", 1395.1830000000002, "1395.1830000000002"},
    NumberCase{"NaN", std::numeric_limits<double>::quiet_NaN(), "null"},
    NumberCase{"Infinity", HUGE_VAL, "null"},
    NumberCase{"MinusInfinity", -HUGE_VAL, "null"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// Random doubles, half of them integral; print and read them back; each is the same double, -0
// included.
TEST(JsonNumberTest, EveryNumberReadsBack) {
    std::mt19937_64 engine(11);
    for (int i = 0; i < 20000; ++i) {
        double v = 0;
        do {
            v = std::bit_cast<double>(engine());
        } while (!std::isfinite(v));
        if (i % 2 == 1) {
            v = std::trunc(std::ldexp(v, -std::ilogb(v) + static_cast<int>(engine() % 70)));
        }
        const std::string text = JsonText(JsonNumber(v));
        const double read = Json::parse(text).get<double>();
        ASSERT_EQ(std::bit_cast<std::uint64_t>(read), std::bit_cast<std::uint64_t>(v)) << text;
    }
}

struct TextCase {
    std::string name;
    std::string input;
    std::string expected;  // the printed document, without its final line feed
};

class JsonTextTest : public testing::TestWithParam<TextCase> {};

// A text with characters JSON must escape or cannot carry; print it; escaped, UTF-8 kept as it
// is, invalid UTF-8 replaced by U+FFFD, and the document reads back.
TEST_P(JsonTextTest, EscapesAndReplaces) {
    const TextCase& c = GetParam();
    const std::string printed = JsonText(c.input);
    EXPECT_EQ(printed, c.expected + "\n");
    const Json read = Json::parse(printed);
    if (c.expected.find("\xEF\xBF\xBD") == std::string::npos) {
        EXPECT_EQ(read.get<std::string>(), c.input);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, JsonTextTest, testing::Values(
    TextCase{"Plain", "3rd LPF", "\"3rd LPF\""},
    TextCase{"QuoteAndBackslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
    TextCase{"LineEnds", "x\r\ny\tz", "\"x\\r\\ny\\tz\""},
    TextCase{"OtherControl", std::string("a\x01\x1f", 3), "\"a\\u0001\\u001f\""},
    TextCase{"Nul", std::string("a\0b", 3), "\"a\\u0000b\""},
    TextCase{"Omega", "22kΩ", "\"22kΩ\""},
    TextCase{"Japanese", "実現できません", "\"実現できません\""},
    TextCase{"FourBytes", "\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},
    TextCase{"StrayByte", "a\xFF" "b", "\"a\xEF\xBF\xBD" "b\""},
    TextCase{"Overlong", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
    TextCase{"Surrogate", "\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    TextCase{"CutShortInside", "\xE3\x81" "x", "\"\xEF\xBF\xBD" "x\""},
    TextCase{"CutShortAtEnd", "ok\xE3\x81", "\"ok\xEF\xBF\xBD\""}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// A document with nested objects and arrays; print it; indented by two spaces, keys in the order
// they were added, one line feed at the end.
TEST(JsonTextTest, IndentsAndKeepsKeyOrder) {
    const Json document{{"command", "design"},
                        {"series", {6, 24}},
                        {"empty", Json::object()},
                        {"rows", {{{"ok", true}, {"none", nullptr}}, JsonNumber(0.5)}},
                        {"seed", std::uint64_t{18446744073709551615u}}};
    const std::string expected =
        "{\n"
        "  \"command\": \"design\",\n"
        "  \"series\": [\n"
        "    6,\n"
        "    24\n"
        "  ],\n"
        "  \"empty\": {},\n"
        "  \"rows\": [\n"
        "    {\n"
        "      \"ok\": true,\n"
        "      \"none\": null\n"
        "    },\n"
        "    0.5\n"
        "  ],\n"
        "  \"seed\": 18446744073709551615\n"
        "}\n";
    EXPECT_EQ(JsonText(document), expected);
}

}  // namespace
}  // namespace mirelto::cli
