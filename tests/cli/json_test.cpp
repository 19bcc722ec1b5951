// The JSON writer of the --json outputs, and the strict reader the tests check them with.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "json.h"
#include "json_check.h"

namespace mirelto::cli {
namespace {

struct TextCase {
    std::string name;
    std::string input;
    std::string expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class JsonStringTest : public testing::TestWithParam<TextCase> {};

// A text with characters JSON must escape or cannot carry; write it; escaped, invalid UTF-8
// replaced by U+FFFD, and the reader gives back the text (with the replacements).
TEST_P(JsonStringTest, EscapesAndReadsBack) {
    const TextCase& c = GetParam();
    const std::string written = JsonString(c.input);
    EXPECT_EQ(written, c.expected);
    const test::JsonValue read = test::ParseJson(written);
    if (c.expected.find("\\ufffd") == std::string::npos &&
        c.expected.find("\xEF\xBF\xBD") == std::string::npos) {
        EXPECT_EQ(read.String(), c.input);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonStringTest,
    testing::Values(TextCase{"Plain", "3rd LPF", "\"3rd LPF\""},
                    TextCase{"QuoteAndBackslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
                    TextCase{"LineEnds", "x\r\ny\tz", "\"x\\r\\ny\\tz\""},
                    TextCase{"OtherControl", std::string("a\x01\x1f", 3), "\"a\\u0001\\u001f\""},
                    TextCase{"Nul", std::string("a\0b", 3), "\"a\\u0000b\""},
                    TextCase{"Omega", "22kΩ", "\"22kΩ\""},
                    TextCase{"Japanese", "実現できません", "\"実現できません\""},
                    TextCase{"FourBytes", "\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},
                    TextCase{"StrayByte",
                             "a\xFF"
                             "b",
                             "\"a\xEF\xBF\xBD"
                             "b\""},
                    TextCase{"Overlong", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
                    TextCase{"Surrogate", "\xED\xA0\x80",
                             "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
                    TextCase{"CutShort", "ok\xE3\x81", "\"ok\xEF\xBF\xBD\xEF\xBF\xBD\""}),
    [](const auto& info) { return info.param.name; });

struct NumberCase {
    std::string name;
    double value;
    std::string expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.name;
}

class JsonNumberTest : public testing::TestWithParam<NumberCase> {};

// A double; write it; the shortest exact text, null where JSON has no number.
TEST_P(JsonNumberTest, WritesShortestExactText) {
    EXPECT_EQ(JsonNumber(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, JsonNumberTest,
    testing::Values(NumberCase{"Integer", 1420, "1420"}, NumberCase{"Tenth", 0.1, "0.1"},
                    NumberCase{"Nano", 6.8e-9, "6.8e-09"}, NumberCase{"NegativeZero", -0.0, "-0"},
                    NumberCase{"Result", 1395.1830000000002, "1395.1830000000002"},
                    NumberCase{"NaN", std::numeric_limits<double>::quiet_NaN(), "null"},
                    NumberCase{"Infinity", HUGE_VAL, "null"},
                    NumberCase{"MinusInfinity", -HUGE_VAL, "null"}),
    [](const auto& info) { return info.param.name; });

// Random doubles; write them; each reads back as the same double.
TEST(JsonNumberTest, EveryNumberReadsBack) {
    std::mt19937_64 engine(11);
    for (int i = 0; i < 20000; ++i) {
        double v = 0;
        do {
            const std::uint64_t bits = engine();
            std::memcpy(&v, &bits, sizeof v);
        } while (!std::isfinite(v));
        const std::string text = JsonNumber(v);
        ASSERT_EQ(test::ParseJson(text).Number(), v) << text;
    }
}

// A document with every kind of value; write it; exactly this indented text, and the reader
// finds every value where it was put.
TEST(JsonWriterTest, WritesNestedDocuments) {
    JsonWriter json;
    json.BeginObject().Key("command").String("design").Key("series").BeginArray(true);
    json.Integer(6).Integer(24).EndArray().Key("empty").BeginObject().EndObject();
    json.Key("rows").BeginArray().BeginObject().Key("ok").Bool(true).Key("none").Null();
    json.EndObject().Number(0.5).EndArray().Key("seed").Unsigned(18446744073709551615u);
    json.EndObject();
    const std::string expected =
        "{\n"
        "  \"command\": \"design\",\n"
        "  \"series\": [6, 24],\n"
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
    EXPECT_EQ(json.Text(), expected);
    const test::JsonValue doc = test::ParseJson(json.Text());
    EXPECT_EQ(doc["series"][1].Number(), 24);
    EXPECT_TRUE(doc["rows"][0]["ok"].Bool());
    EXPECT_TRUE(doc["rows"][0]["none"].IsNull());
    EXPECT_EQ(doc["rows"][1].Number(), 0.5);
    EXPECT_TRUE(doc["empty"].Object().empty());
}

class JsonReaderRejectsTest : public testing::TestWithParam<std::string> {};

// A malformed document; read it; refused, so that a check with the reader means something.
TEST_P(JsonReaderRejectsTest, Refuses) {
    EXPECT_THROW(test::ParseJson(GetParam()), std::runtime_error) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Malformed, JsonReaderRejectsTest,
                         testing::Values("{\"a\": 1,}", "[1, 2,]", "{\"a\" 1}", "01", "1.", ".5",
                                         "nan", "\"tab\there\"", "\"\\x\"", "[1] 2",
                                         "{\"a\": 1, \"a\": 2}", "\"\xFF\"", "\"\\ud800\"", "", "{",
                                         "\"open"));

}  // namespace
}  // namespace mirelto::cli
