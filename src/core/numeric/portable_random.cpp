#include "mirelto/numeric/portable_random.h"

#include <cmath>
#include <limits>

#include "mirelto/numeric/finite.h"
#include "numeric/constants.h"

namespace mirelto {

namespace {

// 2^-53: one engine output's top 53 bits become a double in [0, 1) exactly.
constexpr double kTwoToMinus53 = 1.0 / 9007199254740992.0;
constexpr int kDiscardedBits = 11;

// ln 2 split so that e * kLn2High is exact for every binary exponent e of a double.
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kSqrtHalf = 0.70710678118654752440;

// 2 atanh(s) = ln((1 + s) / (1 - s)) by its series; |s| <= 0.172 after the reduction, where the
// terms up to s^23 leave a remainder below 1e-17 relative.
constexpr int kLogTerms = 11;

}  // namespace

double PortableRandom::Uniform() {
    return static_cast<double>(engine_() >> kDiscardedBits) * kTwoToMinus53;
}

double PortableRandom::Normal() {
    if (hasSpare_) {
        hasSpare_ = false;
        return spare_;
    }
    double u = 0, v = 0, s = 0;
    do {
        u = 2 * Uniform() - 1;
        v = 2 * Uniform() - 1;
        s = u * u + v * v;
    } while (s >= 1 || s == 0);
    const double factor = std::sqrt(-2 * PortableLog(s) / s);
    spare_ = v * factor;
    hasSpare_ = true;
    return u * factor;
}

double PortableLog(double x) {
    if (!IsPositiveFinite(x)) {
        return x == 0 ? -std::numeric_limits<double>::infinity() : kNaN;
    }
    int exponent = 0;
    double m = std::frexp(x, &exponent);  // exact: x = m 2^exponent, m in [0.5, 1)
    if (m < kSqrtHalf) {
        m *= 2;
        exponent -= 1;
    }
    const double s = (m - 1) / (m + 1);
    const double z = s * s;
    double series = 1.0 / (2 * kLogTerms + 1);
    for (int k = kLogTerms - 1; k >= 0; --k) {
        series = series * z + 1.0 / (2 * k + 1);
    }
    const double e = exponent;
    return e * kLn2High + (2 * s * series + e * kLn2Low);
}

}  // namespace mirelto
