// Typed texts are arbitrary bytes: whatever arrives, reading a value or a series size never
// throws, never yields an infinity, and valid texts keep reading as what they say.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "mirelto/values/eseries.h"
#include "mirelto/values/value_text.h"

namespace mirelto {
namespace {

using namespace std::string_literals;

// Pieces that typed values are made of, including the ones that make the reading hard.
const std::array<std::string, 44> kPieces{
    "0", "1",  "2",      "3", "4",  "5",   "6",        "7",    "8",        "9",    "+",
    "-", ".",  "E",      "e", "p",  "n",   "u",        "m",    "k",        "M",    "g",
    "t", "P",  "K",      "T", "ｋ", "Ｍ",  "ｍ",       "ｐ",   "μ",        "µ",    " ",
    ",", "\t", "\u3000", "Ω", "Hz", "\0"s, "\xC1\xAB", "\xFF", "\xE2\x88", "e999", "e-999"};

// A value is NaN, or a finite double (zero included): never an infinity.
testing::AssertionResult IsNaNOrFinite(double value) {
    if (std::isnan(value) || std::isfinite(value)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "got " << value;
}

std::string RandomBytes(std::mt19937_64& engine, std::size_t length) {
    std::string text(length, '\0');
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (i % 8 == 0) {
            bits = engine();
        }
        text[i] = static_cast<char>(bits >> (8 * (i % 8)));
    }
    return text;
}

std::string RandomMix(std::mt19937_64& engine, std::size_t pieces) {
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    std::string text;
    for (std::size_t i = 0; i < pieces; ++i) {
        text += kPieces[pick(engine)];
    }
    return text;
}

TEST(ValueTextFuzzTest, RandomBytesReadAsNaNOrFinite) {
    std::mt19937_64 engine(0x6d6972656c746f);
    std::uniform_int_distribution<std::size_t> length(0, 24);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = RandomBytes(engine, length(engine));
        double value = 0;
        ASSERT_NO_THROW(value = ParseValue(text));
        ASSERT_TRUE(IsNaNOrFinite(value));
        std::int32_t size = 0;
        ASSERT_NO_THROW(size = ParseSeries(text));
        (void)size;
    }
}

TEST(ValueTextFuzzTest, RandomMixesReadAsNaNOrFinite) {
    std::mt19937_64 engine(4700);
    std::uniform_int_distribution<std::size_t> pieces(0, 12);
    int numbers = 0;
    for (int i = 0; i < 30000; ++i) {
        const std::string text = RandomMix(engine, pieces(engine));
        double value = 0;
        ASSERT_NO_THROW(value = ParseValue(text));
        ASSERT_TRUE(IsNaNOrFinite(value)) << text;
        numbers += std::isnan(value) ? 0 : 1;
    }
    // The mixes are not all garbage: a fair share of them hold a number.
    EXPECT_GT(numbers, 3000);
}

// Blanks and commas mean nothing inside a value: inserting them anywhere changes no reading.
TEST(ValueTextFuzzTest, BlanksAndCommasAnywhereChangeNothing) {
    std::mt19937_64 engine(2200);
    std::uniform_int_distribution<std::size_t> pieces(1, 8);
    std::uniform_int_distribution<int> coin(0, 3);
    for (int i = 0; i < 10000; ++i) {
        std::string text = RandomMix(engine, pieces(engine));
        // Control characters are trimmed at the ends only, so keep them out of this property.
        std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        std::string spread;
        for (const char c : text) {
            if (coin(engine) == 0) {
                spread += coin(engine) < 2 ? " " : ",";
            }
            spread += c;
        }
        const double plain = ParseValue(text);
        const double spreadValue = ParseValue(spread);
        ASSERT_TRUE((std::isnan(plain) && std::isnan(spreadValue)) || plain == spreadValue)
            << "\"" << text << "\" vs \"" << spread << "\"";
    }
}

// The shortest text of a double reads back as that double; a prefix letter scales it.
TEST(ValueTextFuzzTest, ShortestTextsReadBackExactly) {
    std::mt19937_64 engine(3300);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 10000; ++i) {
        const double value = std::bit_cast<double>(bits(engine));
        if (!std::isfinite(value)) {
            continue;
        }
        char text[64];
        const auto end = std::to_chars(text, text + sizeof text, value).ptr;
        const std::string shortest(text, end);
        ASSERT_EQ(ParseValue(shortest), value) << shortest;
        const double kilo = value * 1e3;
        const double read = ParseValue(shortest + "k");
        ASSERT_TRUE(std::isfinite(kilo) ? read == kilo : std::isnan(read)) << shortest;
        ASSERT_EQ(ParseValue(shortest + "p"), value / 1e12) << shortest;
    }
}

TEST(ValueTextFuzzTest, MegabyteTexts) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    std::mt19937_64 engine(1);
    const std::string noise = RandomBytes(engine, kMiB);
    EXPECT_TRUE(IsNaNOrFinite(ParseValue(noise)));
    EXPECT_EQ(ParseSeries(noise), 0);

    const std::string nines(kMiB, '9');
    EXPECT_TRUE(std::isnan(ParseValue(nines)));
    EXPECT_TRUE(std::isnan(ParseValue(nines + "k5")));
    EXPECT_EQ(ParseSeries(nines), 0);

    const std::string zeros(kMiB, '0');
    EXPECT_EQ(ParseValue(zeros + "22k"), 22000);
    EXPECT_EQ(ParseValue(zeros + "k5"), 500);
    EXPECT_EQ(ParseValue("0." + zeros + "1"), 0.0);  // below the smallest subnormal
    EXPECT_EQ(ParseValue("1." + zeros + "1"), 1.0);
    EXPECT_EQ(ParseValue("1k" + std::string(kMiB, '5')), 1555.5555555555557);
    EXPECT_EQ(ParseSeries(zeros + "24"), 24);
    EXPECT_EQ(ParseValue("22kΩ" + noise), 22000);
    EXPECT_EQ(ParseValue(std::string(kMiB, ' ') + "22k" + std::string(kMiB, ',')), 22000);
}

// Every 32-bit integer reads back from its decimal and hexadecimal texts.
TEST(ParseSeriesFuzzTest, IntegerTextsRoundTrip) {
    std::mt19937_64 engine(192);
    std::uniform_int_distribution<std::int32_t> any(std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max());
    std::uniform_int_distribution<int> blanks(0, 3);
    for (int i = 0; i < 10000; ++i) {
        const std::int32_t n = any(engine);
        const std::string decimal = std::to_string(n);
        ASSERT_EQ(ParseSeries(decimal), n) << decimal;
        ASSERT_EQ(ParseSeries(std::string(blanks(engine), ' ') + decimal), n) << decimal;
        ASSERT_EQ(ParseSeries(decimal + " "), 0) << decimal;
        ASSERT_EQ(ParseSeries(decimal + "k"), 0) << decimal;
        ASSERT_EQ(ParseSeries("E" + decimal), 0) << decimal;

        const std::int64_t magnitude = n < 0 ? -std::int64_t{n} : n;
        char hex[32];
        const std::string digits(hex, std::to_chars(hex, hex + sizeof hex, magnitude, 16).ptr);
        const std::string sign = n < 0 ? "-" : "+";
        for (const char* marker : {"$", "x", "X", "0x", "0X"}) {
            ASSERT_EQ(ParseSeries(sign + marker + digits), n) << sign << marker << digits;
        }

        // One past the range, either way, is not a size.
        const std::int64_t outside =
            n < 0 ? std::int64_t{n} - (std::int64_t{1} << 32) : std::int64_t{n} + (1LL << 32);
        ASSERT_EQ(ParseSeries(std::to_string(outside)), 0) << outside;
    }
}

// A text with any character that no integer text has is not a size.
TEST(ParseSeriesFuzzTest, ForeignCharactersGiveZero) {
    std::mt19937_64 engine(24);
    std::uniform_int_distribution<std::size_t> length(0, 12);
    const std::string_view integerChars = " +-$xX0123456789abcdefABCDEF";
    for (int i = 0; i < 20000; ++i) {
        std::string text = RandomBytes(engine, length(engine));
        const bool foreign = text.find_first_not_of(integerChars) != std::string::npos;
        std::int32_t size = 0;
        ASSERT_NO_THROW(size = ParseSeries(text));
        if (foreign && text != "\xE2\x88\x9E") {
            ASSERT_EQ(size, 0);
        }
    }
}

}  // namespace
}  // namespace mirelto
