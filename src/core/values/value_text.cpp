#include "mirelto/values/value_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "mirelto/values/si_prefix.h"

namespace mirelto {
namespace {

// The "no value" of a text. Callers test only for NaN-ness; the pattern is fixed so that every
// missing value looks the same in a debugger.
constexpr double kNoValue = std::bit_cast<double>(std::uint64_t{0xFFF8000000000000});

// Written exponents beyond this are rejected rather than converted: "1e-1025" is no value,
// not zero.
constexpr std::int64_t kLargestExponent = 1024;

// Prefix letters, eight columns per row. A letter's column is its first position modulo 8:
// upper-case "P" is pico, and only "m"/"M" change meaning with their case.
constexpr std::u32string_view kAsciiLetters = U"pnumkMgtPNUmKMGT";
constexpr std::u32string_view kFullWidthLetters =
    U"ｐｎｕｍｋＭｇｔＰＮＵｍＫＭＧＴＰＮμｍＫＭＧＴ";
// Keyboards type the micro sign where the Greek mu is meant; both mean micro.
constexpr char32_t kMicroSign = U'\u00B5';
constexpr std::size_t kMicroColumn = 2;

// Number characters: the number part of a text is its longest leading run of these.
bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Blanks and control characters (codes up to U+0020) around a text carry no meaning. In UTF-8
// such bytes never occur inside a multi-byte character, so trimming bytes is safe.
std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) {
        text.remove_suffix(1);
    }
    return text;
}

struct CodePoint {
    char32_t value;
    std::size_t length;  // bytes
};

// The first character of a UTF-8 text. Malformed, overlong or surrogate sequences give nothing,
// so no byte soup can pose as a prefix letter.
std::optional<CodePoint> FirstCodePoint(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(0);
    if (lead < 0x80) {
        return CodePoint{lead, 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return CodePoint{value, length};
}

std::optional<std::size_t> ColumnOf(char32_t letter) {
    if (const auto at = kAsciiLetters.find(letter); at != std::u32string_view::npos) {
        return at % 8;
    }
    if (const auto at = kFullWidthLetters.find(letter); at != std::u32string_view::npos) {
        return at % 8;
    }
    if (letter == kMicroSign) {
        return kMicroColumn;
    }
    return std::nullopt;
}

// The prefix column that a suffix starts with, and the suffix's first character's length.
std::optional<std::pair<std::size_t, std::size_t>> LeadingPrefix(std::string_view suffix) {
    const auto first = FirstCodePoint(suffix);
    if (!first) {
        return std::nullopt;
    }
    const auto column = ColumnOf(first->value);
    if (!column) {
        return std::nullopt;
    }
    return std::pair{*column, first->length};
}

// A prefix column scales the number: pico to milli divide (so "3.3n" is 3.3 / 1e9 rounded
// once), kilo to tera multiply.
double Scale(double value, std::size_t column) {
    const SiPrefix& prefix = kSiPrefixes[column < kSiUnitRow ? column : column + 1];
    const double scaled = prefix.exponent < 0 ? value / prefix.magnitude : value * prefix.magnitude;
    return std::isfinite(scaled) ? scaled : kNoValue;
}

// An optional "E" or "e", a sign and digits from `i` on, advancing `i` past them; false for an
// "E" without digits or an exponent beyond kLargestExponent.
bool ReadExponent(std::string_view text, std::size_t& i, std::int64_t& exponent) {
    if (!(i < text.size() && (text[i] == 'E' || text[i] == 'e'))) {
        return true;
    }
    ++i;
    bool exponentNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        exponentNegative = text[i] == '-';
        ++i;
    }
    const std::size_t exponentBegin = i;
    while (i < text.size() && IsDigit(text[i])) {
        if (exponent <= kLargestExponent) {
            exponent = exponent * 10 + (text[i] - '0');
        }
        ++i;
    }
    if (i == exponentBegin || exponent > kLargestExponent) {
        return false;
    }
    if (exponentNegative) {
        exponent = -exponent;
    }
    return true;
}

// For a number out of the double range either way: whether it is too small rather than too
// large, told by the decimal exponent of the mantissa's first non-zero digit.
bool Underflows(std::string_view mantissa, std::size_t integerDigits, std::int64_t exponent) {
    std::int64_t position = static_cast<std::int64_t>(integerDigits);  // digits left of "."
    for (const char c : mantissa) {
        if (c == '.') {
            continue;
        }
        --position;
        if (c != '0') {
            break;
        }
    }
    return position + exponent < 0;
}

// The value of a number part: [sign] digits [. digits] [(E|e) [sign] digits], with at least one
// digit before the exponent. Correctly rounded and independent of the locale; a magnitude below
// the smallest subnormal is a zero of the written sign, one beyond the largest double is no
// value.
double ConvertNumber(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaBegin = i;
    std::size_t integerDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i, ++integerDigits;
    }
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i, ++fractionDigits;
        }
    }
    if (integerDigits + fractionDigits == 0) {
        return kNoValue;
    }
    const std::size_t mantissaEnd = i;
    std::int64_t exponent = 0;
    if (!ReadExponent(text, i, exponent) || i != text.size()) {
        return kNoValue;
    }

    // from_chars takes no "+", so the sign is applied afterwards; rounding to nearest is
    // symmetric, so the negated magnitude is the correctly rounded negative value.
    const char* const begin = text.data() + mantissaBegin;
    const char* const end = text.data() + text.size();
    double magnitude = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, magnitude, std::chars_format::general);
    if (stop != end) {
        return kNoValue;
    }
    if (error == std::errc::result_out_of_range) {
        const std::string_view mantissa = text.substr(mantissaBegin, mantissaEnd - mantissaBegin);
        if (!Underflows(mantissa, integerDigits, exponent)) {
            return kNoValue;
        }
        magnitude = 0.0;
    } else if (error != std::errc{}) {
        return kNoValue;
    }
    return negative ? -magnitude : magnitude;
}

// "4k7": a number part of plain digits after an optional sign ("-4k7" is -4.7k), the prefix
// letter directly after it standing for the decimal mark, and digits directly after the letter.
// The digits are read as one decimal number, so "3n3" is exactly "3.3n". Anything after those
// digits is ignored like any suffix.
std::optional<double> LetterAsDecimalMark(std::string_view number, std::string_view rest) {
    const std::string_view digits =
        number.starts_with('+') || number.starts_with('-') ? number.substr(1) : number;
    if (digits.empty()) {
        return std::nullopt;
    }
    for (const char c : digits) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
    }
    const auto prefix = LeadingPrefix(rest);
    if (!prefix) {
        return std::nullopt;
    }
    const std::string_view afterLetter = rest.substr(prefix->second);
    std::size_t fraction = 0;
    while (fraction < afterLetter.size() && IsDigit(afterLetter[fraction])) {
        ++fraction;
    }
    if (fraction == 0) {
        return std::nullopt;
    }
    std::string dotted;
    dotted.reserve(number.size() + 1 + fraction);
    dotted.append(number).append(1, '.').append(afterLetter.substr(0, fraction));
    const double value = ConvertNumber(dotted);
    return std::isnan(value) ? kNoValue : Scale(value, prefix->first);
}

double ParseValueUnguarded(std::string_view text) {
    text = Trim(text);
    // Commas are digit grouping ("1,000") and blanks may sit anywhere ("1.5 k"): both go.
    std::string compact;
    compact.reserve(text.size());
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t to = std::min(text.find_first_of(", ", from), text.size());
        compact.append(text.substr(from, to - from));
        from = to + 1;
    }
    if (compact.empty()) {
        return kNoValue;
    }
    const std::string_view all = compact;
    std::size_t numberLength = 0;
    while (numberLength < all.size() && IsNumberChar(all[numberLength])) {
        ++numberLength;
    }
    const std::string_view number = all.substr(0, numberLength);
    const std::string_view rest = all.substr(numberLength);

    if (const auto value = LetterAsDecimalMark(number, rest)) {
        return *value;
    }
    const double value = ConvertNumber(number);
    const std::string_view suffix = Trim(rest);
    if (std::isnan(value) || suffix.empty()) {
        return value;
    }
    const auto prefix = LeadingPrefix(suffix);
    return prefix ? Scale(value, prefix->first) : value;
}

}  // namespace

double ParseValue(std::string_view text) {
    try {
        return ParseValueUnguarded(text);
    } catch (...) {
        // Only the working copy of a huge text can fail (out of memory): still no value.
        return kNoValue;
    }
}

PercentReading ParsePercent(std::string_view text) {
    if (text.ends_with('%')) {
        text.remove_suffix(1);
    }
    const double percent = ParseValue(text);
    if (!std::isfinite(percent)) {
        return {0, PercentProblem::NotAPercentage};
    }
    if (percent < 0 || percent >= kMostPercent) {
        return {0, PercentProblem::OutOfRange};
    }
    return {percent / kMostPercent, PercentProblem::None};
}

}  // namespace mirelto
