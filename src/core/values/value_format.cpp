#include "mirelto/values/value_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "mirelto/values/si_prefix.h"
#include "mirelto/values/value_text.h"
#include "numeric/constants.h"

namespace mirelto {

namespace {

// From this magnitude on a fixed-point text switches to the exponent form ("1E018"): a double
// has no more than 17 significant digits, and 1e300 would otherwise fill 300 characters.
constexpr double kExponentFormFrom = 1e17;
// Exponents are written with at least this many digits and a sign only when negative: "E018".
constexpr int kExponentDigits = 3;

// "E018", "E-020", "E308".
std::string ExponentText(int exponent) {
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (digits.size() < kExponentDigits) {
        digits.insert(0, kExponentDigits - digits.size(), '0');
    }
    return (exponent < 0 ? "E-" : "E") + digits;
}

// The shortest digits that read back as the value, in the exponent form: "1E018", "-2.5E300".
std::string ExponentForm(double value) {
    std::array<char, 32> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::scientific);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t e = text.find('e');
    if (error != std::errc{} || e == std::string_view::npos) {
        return {};
    }
    int exponent = 0;
    std::string_view exponentText = text.substr(e + 1);
    if (exponentText.front() == '+') {
        exponentText.remove_prefix(1);
    }
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    return std::string(text.substr(0, e)) + ExponentText(exponent);
}

std::string PaddedTo(std::size_t width, std::string_view shown) {
    std::string text;
    text.reserve(std::max(width, shown.size()));
    if (shown.size() < width) {
        text.append(width - shown.size(), ' ');
    }
    text.append(shown);
    return text;
}

}  // namespace

std::string FormatFixed(double value, int width, int decimals) {
    const std::size_t wanted = width > 0 ? static_cast<std::size_t>(width) : 0;
    if (!std::isfinite(value)) {
        // " ***** " at width 7: a blank, asterisks up to width - 1, a blank; two blanks at most 2.
        std::string marker(std::max<std::size_t>(wanted, 2), '*');
        marker.front() = ' ';
        marker.back() = ' ';
        return marker;
    }
    if (std::fabs(value) >= kExponentFormFrom) {
        return PaddedTo(wanted, ExponentForm(value));
    }
    // A double has at most 1074 digits after the point; further ones would all be zeros.
    constexpr int kMaxDecimals = 1074;
    const int places = std::clamp(decimals, 0, kMaxDecimals);
    // Sign, up to 17 integer digits below kExponentFormFrom, the point and the decimals.
    std::array<char, 1 + 17 + 1 + kMaxDecimals> digits;
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                            std::chars_format::fixed, places);
    if (error != std::errc{}) {
        return FormatFixed(kNaN, width, decimals);
    }
    std::string_view shown(digits.data(), static_cast<std::size_t>(end - digits.data()));
    // "-0.000" says nothing the reader could use: a value rounded to zero shows unsigned.
    if (shown.front() == '-' && shown.find_first_not_of("-0.") == std::string_view::npos) {
        shown.remove_prefix(1);
    }
    return PaddedTo(wanted, shown);
}

namespace {

constexpr double kThresholdFactor = 0.999999;  // 999.9995 shows as 1.000k, not 1000.000
// A significant-digit text in the end rows switches to the exponent form where the plain one would
// need more than 17 digits or leading zeros: 1e28 is "10000000000000000T", 1e29 "1.000E017T".
constexpr int kMostPlainDigits = 17;

}  // namespace

std::string FormatSI(double value, int width, int decimals) {
    std::size_t row = kSiUnitRow;
    // No row fits NaN or infinity; they show the asterisk marker without a prefix.
    if (std::isfinite(value) && value != 0.0) {
        row = 0;
        while (row + 1 < kSiPrefixes.size() &&
               std::fabs(value) >= kSiPrefixes[row + 1].value * kThresholdFactor) {
            ++row;
        }
    }
    const int fixedWidth = width > std::numeric_limits<int>::min() ? width - 1 : width;
    return FormatFixed(value / kSiPrefixes[row].value, fixedWidth, decimals) +
           std::string(kSiPrefixes[row].letter);
}

std::string FormatSISignificant(double value, int digits) {
    if (!std::isfinite(value)) {
        return {};
    }
    const int precision = std::clamp(digits, 1, 17);
    // Rounded in decimal first, so the row follows the rounded value: 999.95 at four digits is
    // "1.000k", not "1000.0".
    std::array<char, 32> buffer;
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::scientific, precision - 1);
    if (error != std::errc{}) {
        return {};
    }
    const std::string_view scientific(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t e = scientific.find('e');
    std::string mantissa;
    for (const char c : scientific.substr(0, e)) {
        if (c != '.') {
            mantissa += c;
        }
    }
    std::string_view exponentText = scientific.substr(e + 1);
    if (exponentText.front() == '+') {
        exponentText.remove_prefix(1);
    }
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    // Rows three decades apart, floor division for negative exponents, clamped to p..T.
    const int lastRow = static_cast<int>(kSiPrefixes.size()) - 1;
    const int row = std::clamp(
        static_cast<int>(kSiUnitRow) + (exponent >= 0 ? exponent / 3 : -((2 - exponent) / 3)), 0,
        lastRow);
    const int integerDigits = exponent - 3 * (row - static_cast<int>(kSiUnitRow)) + 1;
    const int mantissaDigits = static_cast<int>(mantissa.size());
    std::string text;
    if (value < 0 && mantissa.find_first_not_of('0') != std::string::npos) {
        text += '-';
    }
    if (integerDigits > kMostPlainDigits || integerDigits < -kMostPlainDigits + 1) {
        // Far beyond tera or below pico: "1.000E288T" rather than 289 digits.
        text += mantissa.substr(0, 1);
        if (mantissaDigits > 1) {
            text += '.';
            text += mantissa.substr(1);
        }
        text += ExponentText(integerDigits - 1);
    } else if (integerDigits <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-integerDigits), '0');
        text += mantissa;
    } else if (integerDigits >= mantissaDigits) {
        text += mantissa;
        text.append(static_cast<std::size_t>(integerDigits - mantissaDigits), '0');
    } else {
        text += mantissa.substr(0, static_cast<std::size_t>(integerDigits));
        text += '.';
        text += mantissa.substr(static_cast<std::size_t>(integerDigits));
    }
    return text.append(kSiPrefixes[static_cast<std::size_t>(row)].letter);
}

std::string FormatShown(double value) {
    return FormatSI(value, kShownWidth, kShownDecimals);
}

namespace {

constexpr int kMostSignificantDigits = 17;
// How close a typed text must read back to the value: far below any tolerance, far above the
// ulps a series value carries from its decade scaling.
constexpr double kTypedSameValue = 1e-12;

// "6.800n" as "6.8n": trailing zeros of the fraction say nothing the reader needs.
std::string WithoutTrailingZeros(std::string text) {
    if (text.find('.') == std::string::npos) {
        return text;
    }
    const bool prefixed = !text.empty() && std::isalpha(static_cast<unsigned char>(text.back()));
    const std::string prefix = prefixed ? text.substr(text.size() - 1) : std::string();
    std::string number = prefixed ? text.substr(0, text.size() - 1) : text;
    while (!number.empty() && number.back() == '0') {
        number.pop_back();
    }
    if (!number.empty() && number.back() == '.') {
        number.pop_back();
    }
    return number + prefix;
}

}  // namespace

std::string FormatTyped(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    for (int digits = 1; digits <= kMostSignificantDigits; ++digits) {
        std::string text = WithoutTrailingZeros(FormatSISignificant(value, digits));
        if (std::fabs(ParseValue(text) - value) <= kTypedSameValue * std::fabs(value)) {
            return text;
        }
    }
    // The prefix's scaling can round away from every decimal text; a number without a prefix is
    // read correctly rounded, so its shortest form always reads back.
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::scientific)
                         .ptr;
    return std::string(buffer.data(), end);
}

}  // namespace mirelto
