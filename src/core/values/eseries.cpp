#include "mirelto/values/eseries.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "mirelto/numeric/finite.h"
#include "numeric/checked_real.h"

namespace mirelto {
namespace {

using checked::Real;

// ln 10 as the series and the decade factors have always been computed with (a few units in the
// last place above the nearest double); changing it moves results outside 1e-3..1e7.
constexpr double kLn10 = 2.30258509299405;

// Series up to E24 keep one decimal, larger ones two.
constexpr std::int64_t kLargestOneDecimalSeries = 24;

// Where the one-decimal formula misses the customary E-series value by one step: 4.6 -> 4.7,
// 3.2 -> 3.3, ... are raised inside (kRaiseAbove, kRaiseBelow) of k / n; 8.3 -> 8.2 is lowered
// inside (kLowerAbove, kLowerBelow).
constexpr double kRaiseAbove = 0.395;
constexpr double kRaiseBelow = 0.687;
constexpr double kLowerAbove = 0.896;
constexpr double kLowerBelow = 0.937;
constexpr double kCorrectionStep = 0.1;

// The two values of the two-decimal series that the customary E192 table has differently.
constexpr std::int64_t kHundredths459 = 459;
constexpr double kE192At459 = 4.58;
constexpr std::int64_t kHundredths919 = 919;
constexpr double kE192At919 = 9.2;

// Indices and sizes in 64 bits: l + 1 at the largest size and the magnitude of the most negative
// size must not overflow.
double SeriesFormula(std::int64_t k, std::int64_t n) {
    const Real q = Real(static_cast<double>(k)) / static_cast<double>(n);
    Real v = checked::Exp(q * kLn10);
    if (n > kLargestOneDecimalSeries) {
        const std::int64_t hundredths = checked::RoundToInt64(v * 100);
        if (hundredths == kHundredths459) {
            return kE192At459;
        }
        if (hundredths == kHundredths919) {
            return kE192At919;
        }
        return Real(static_cast<double>(hundredths)) / 100;
    }
    if (kRaiseAbove < q && q < kRaiseBelow) {
        v = v + kCorrectionStep;
    }
    if (kLowerAbove < q && q < kLowerBelow) {
        v = v - kCorrectionStep;
    }
    return Real(static_cast<double>(checked::RoundToInt64(v * 10))) / 10;
}

// The selector sizes, whose values around one decade (indices -1 to n + 1, all that rounding
// reads) are computed once by the formula: a calculation rounds three parts, and the
// exponentials would otherwise be half its time.
constexpr const auto& kTabulatedSizes = kStandardSeries;

class SeriesTables {
  public:
    SeriesTables() {
        std::size_t at = 0;
        for (std::size_t i = 0; i < kTabulatedSizes.size(); ++i) {
            const std::int64_t n = kTabulatedSizes[i];
            first_[i] = at;
            for (std::int64_t k = -1; k <= n + 1; ++k) {
                values_[at++] = SeriesFormula(k, n);
            }
        }
    }

    // The tabulated value, or nothing for other sizes and indices.
    const double* Find(std::int64_t k, std::int64_t n) const {
        for (std::size_t i = 0; i < kTabulatedSizes.size(); ++i) {
            if (kTabulatedSizes[i] == n) {
                return k >= -1 && k <= n + 1 ? &values_[first_[i] + static_cast<std::size_t>(k + 1)]
                                             : nullptr;
            }
        }
        return nullptr;
    }

  private:
    // Indices -1 to n + 1 of each size: n + 3 values.
    static constexpr std::size_t kCount = [] {
        std::size_t count = 0;
        for (const std::int32_t n : kTabulatedSizes) {
            count += static_cast<std::size_t>(n) + 3;
        }
        return count;
    }();
    std::array<std::size_t, kTabulatedSizes.size()> first_{};
    std::array<double, kCount> values_{};
};

double Series(std::int64_t k, std::int64_t n) {
    static const SeriesTables tables;
    const double* value = tables.Find(k, n);
    return value ? *value : SeriesFormula(k, n);
}

// 10^f: exact where the values of real components live, by the exponential elsewhere.
constexpr std::int64_t kFirstExact = -3;
constexpr std::array<double, 10> kExactDecades{0.001, 0.01, 0.1,   1,      10,
                                               100,   1000, 10000, 100000, 1000000};

Real DecadeFormula(std::int64_t f) {
    if (f >= kFirstExact && f < kFirstExact + static_cast<std::int64_t>(kExactDecades.size())) {
        return kExactDecades[static_cast<std::size_t>(f - kFirstExact)];
    }
    return checked::Exp(Real(static_cast<double>(f)) * kLn10);
}

// Every decade a finite non-zero double can lie in (its exponential neither overflows nor
// faults), computed once by the same formula.
constexpr std::int64_t kFirstDecade = -325;
constexpr std::int64_t kLastDecade = 308;

Real DecadeFactor(std::int64_t f) {
    static const auto table = [] {
        std::array<double, kLastDecade - kFirstDecade + 1> factors{};
        for (std::int64_t d = kFirstDecade; d <= kLastDecade; ++d) {
            factors[static_cast<std::size_t>(d - kFirstDecade)] = DecadeFormula(d);
        }
        return factors;
    }();
    if (f < kFirstDecade || f > kLastDecade) {
        return DecadeFormula(f);
    }
    return table[static_cast<std::size_t>(f - kFirstDecade)];
}

}  // namespace

double SeriesValue(std::int32_t k, std::int32_t n) {
    return Series(k, n);
}

double RoundToSeries(double value, std::int32_t n) {
    const Real x = value;
    if (x == 0 || n == 0) {
        return value;
    }
    // A negative size comes from a typed selector text; it rounds as its magnitude.
    const std::int64_t size = n < 0 ? -static_cast<std::int64_t>(n) : n;
    const Real s = x < 0 ? -1.0 : 1.0;
    const Real a = checked::Abs(x);

    // The decade exponent: floor(log10 a), except that an exact negative power of ten lands in
    // the decade below with mantissa 10.
    Real decade = checked::Log10(a);
    if (decade < 0) {
        decade = decade - 1;
    }
    const std::int64_t f = checked::TruncToInt64(decade);
    const Real p = DecadeFactor(f);
    const Real m0 = a / p;

    const std::int64_t l =
        checked::RoundToInt64(Real(static_cast<double>(size)) * checked::Log10(m0));
    const Real m = Series(l, size);
    // o is m's neighbour on the side where m0 lies; r turns "beyond the geometric mean" into t < 0.
    Real o;
    Real r;
    if (m0 > m) {
        o = Series(l + 1, size);
        r = 1;
    } else {
        o = Series(l - 1, size);
        r = -1;
    }
    const Real t = ((m / m0) * o / m0 - 1) * r;
    if (t < 0) {
        return (o * s) * p;
    }
    return (m * s) * p;
}

namespace {

// Every selector series' members have at most three significant digits (two decimals).
constexpr int kNominalDecimals = 2;
// A value this close to a member's decimal value is that member: the decade scaling leaves a
// member 4e-14 from it and reading "2.2n" one ulp; no two members are nearly this close.
constexpr double kNominalTolerance = 1e-12;

// The double nearest to the decimal value with three significant digits closest to `value`:
// the digits as an integer and a power of ten, read by the correctly rounded conversion
// ("150e-11" gives the double nearest to 1.5e-09).
double ThreeDigitDecimal(double value) {
    const int exponent = static_cast<int>(std::floor(std::log10(value))) - kNominalDecimals;
    const long long digits = std::llround(value / std::pow(10.0, exponent));
    const std::string text = std::to_string(digits) + "e" + std::to_string(exponent);
    double decimal = value;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), decimal);
    return error == std::errc{} && end == text.data() + text.size() ? decimal : value;
}

// Whether `decimal` is the decimal value of a member of a selector series.
bool IsSelectorMember(double decimal) {
    try {
        for (const std::int64_t n : kTabulatedSizes) {
            const double member = RoundToSeries(decimal, static_cast<std::int32_t>(n));
            if (std::fabs(member - decimal) <= kNominalTolerance * decimal) {
                return true;
            }
        }
    } catch (const FloatingPointFault&) {
        // Far outside the decades of real parts: not a member worth a decimal text.
    }
    return false;
}

}  // namespace

double NominalValue(double value) {
    if (!IsPositiveFinite(value)) {
        return value;
    }
    const double decimal = ThreeDigitDecimal(value);
    if (std::fabs(decimal - value) <= kNominalTolerance * decimal && IsSelectorMember(decimal)) {
        return decimal;
    }
    return value;
}

namespace {

constexpr std::string_view kInfinitySign = "\xE2\x88\x9E";  // "∞": no rounding

int DigitValue(char c, int base) {
    int digit = base;
    if (c >= '0' && c <= '9') {
        digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
    }
    return digit < base ? digit : -1;
}

}  // namespace

std::int32_t ParseSeries(std::string_view text) {
    if (text == kInfinitySign) {
        return 0;
    }
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    const std::string_view rest = text.substr(i);
    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        base = 16, i += 1;
    } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16, i += 2;
    }
    // One past the largest magnitude a signed 32-bit integer can hold (its negative fits).
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    const std::size_t digitsBegin = i;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) {
            return 0;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit) {
            return 0;
        }
    }
    if (i == digitsBegin || (!negative && magnitude == kLimit)) {
        return 0;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace mirelto
