#include "numeric/cubic_root_check.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/constants.h"

namespace mirelto::cubic {

namespace {

// Relative residual below which a value counts as a root: a few hundred units of rounding in
// the largest term of the cubic. Values that the iteration returns for a true factor lie far
// below it; values from a quadratic that is not a factor lie far above.
constexpr double kRootTolerance = 1e-12;

// A double with an exponent of its own, value = mantissa * 2^exponent, so that the cubic can be
// evaluated where its terms leave the double range (1e126 cubed beside 1e-162, or 1e-164 squared
// beside the smallest subnormal). Each operation rounds its mantissa once, as the same operation
// on doubles does, so within the double range the results are the doubles' bit for bit.
struct Wide {
    double mantissa = 0;  // 0, or 0.5 <= |mantissa| < 1
    int exponent = 0;

    static Wide Of(double x) {
        Wide w;
        w.mantissa = std::frexp(x, &w.exponent);
        return w;
    }
    // Nearest double; beyond the range an infinity, below it a subnormal or zero.
    double ToDouble() const { return std::ldexp(mantissa, exponent); }

    friend Wide operator*(Wide a, Wide b) {
        Wide w = Of(a.mantissa * b.mantissa);
        w.exponent += a.exponent + b.exponent;
        return w;
    }
    friend Wide operator/(Wide a, Wide b) {
        Wide w = Of(a.mantissa / b.mantissa);
        w.exponent += a.exponent - b.exponent;
        return w;
    }
    friend Wide operator+(Wide a, Wide b) {
        if (a.mantissa == 0) {
            return b;
        }
        if (b.mantissa == 0) {
            return a;
        }
        // Aligned to the larger exponent, less one so that a carry cannot overflow; a term more
        // than the double range below the other is negligible anyway.
        const int top = std::max(a.exponent, b.exponent) + 1;
        Wide w =
            Of(std::ldexp(a.mantissa, a.exponent - top) + std::ldexp(b.mantissa, b.exponent - top));
        w.exponent += top;
        return w;
    }
    friend Wide operator-(Wide a, Wide b) { return a + Wide{-b.mantissa, b.exponent}; }
    friend Wide Abs(Wide a) { return {std::fabs(a.mantissa), a.exponent}; }
    // a <= b for a, b >= 0.
    friend bool NoLarger(Wide a, Wide b) {
        if (a.mantissa == 0 || b.mantissa == 0) {
            return a.mantissa == 0;
        }
        return a.exponent < b.exponent || (a.exponent == b.exponent && a.mantissa <= b.mantissa);
    }
    friend Wide Sqrt(Wide a) {
        // An even exponent halves exactly.
        const bool odd = (a.exponent % 2) != 0;
        Wide w = Of(std::sqrt(odd ? a.mantissa * 2 : a.mantissa));
        w.exponent += (odd ? a.exponent - 1 : a.exponent) / 2;
        return w;
    }
};

// x^3 + k2 x^2 + k1 x + k0 by Horner's rule, where (x + k2) is exact near x = -k2.
Wide Cubic(double k2, double k1, double k0, double x) {
    const Wide w = Wide::Of(x);
    return ((w + Wide::Of(k2)) * w + Wide::Of(k1)) * w + Wide::Of(k0);
}

// Within these magnitudes (or zero) every term, partial sum and product of the cubic below
// stays a normal double, where Wide gives the doubles' results bit for bit: plain arithmetic
// answers the same, many times faster.
constexpr double kPlainLow = 0x1p-250;
constexpr double kPlainHigh = 0x1p250;

bool InPlainRange(double v) {
    const double a = std::fabs(v);
    return a == 0 || (a >= kPlainLow && a <= kPlainHigh);
}

}  // namespace

bool IsRoot(double k2, double k1, double k0, double x) {
    if (InPlainRange(x) && InPlainRange(k2) && InPlainRange(k1) && InPlainRange(k0)) {
        const double ax = std::fabs(x);
        const double scale = ((ax + std::fabs(k2)) * ax + std::fabs(k1)) * ax + std::fabs(k0);
        return std::fabs(((x + k2) * x + k1) * x + k0) <= kRootTolerance * scale;
    }
    const Wide ax = Wide::Of(std::fabs(x));
    const Wide scale = ((ax + Wide::Of(std::fabs(k2))) * ax + Wide::Of(std::fabs(k1))) * ax +
                       Wide::Of(std::fabs(k0));
    return NoLarger(Abs(Cubic(k2, k1, k0, x)), Wide::Of(kRootTolerance) * scale);
}

namespace {

// The root in [lo, hi], where the cubic changes sign, by Newton steps kept inside the bracket
// and bisection where they leave it or stall. Accurate to the last bit or two.
double SolveBracketed(double k2, double k1, double k0, double lo, double hi) {
    Wide fLo = Cubic(k2, k1, k0, lo);
    if (fLo.mantissa == 0) {
        return lo;
    }
    if (Cubic(k2, k1, k0, hi).mantissa == 0) {
        return hi;
    }
    // Half the width, not half the sum: a bracket as wide as the double range stays finite.
    const auto middle = [](double a, double b) {
        return std::isfinite(b - a) ? a + (b - a) / 2 : a / 2 + b / 2;
    };
    double x = middle(lo, hi);
    for (int step = 0; step < 4000; ++step) {
        const Wide fx = Cubic(k2, k1, k0, x);
        if (fx.mantissa == 0) {
            return x;
        }
        if ((fx.mantissa < 0) == (fLo.mantissa < 0)) {
            lo = x;
            fLo = fx;
        } else {
            hi = x;
        }
        const double mid = middle(lo, hi);
        if (mid <= lo || mid >= hi) {
            break;  // lo and hi are neighbouring doubles
        }
        const Wide w = Wide::Of(x);
        const Wide slope = (Wide::Of(3) * w + Wide::Of(2) * Wide::Of(k2)) * w + Wide::Of(k1);
        const double newton = slope.mantissa != 0 ? (w - fx / slope).ToDouble() : mid;
        x = (newton > lo && newton < hi && std::isfinite(newton)) ? newton : mid;
        if (x == lo || x == hi) {
            x = mid;
        }
    }
    return NoLarger(Abs(Cubic(k2, k1, k0, lo)), Abs(Cubic(k2, k1, k0, hi))) ? lo : hi;
}

}  // namespace

// A true real root of x^3 + k2 x^2 + k1 x + k0: of the real roots, the one nearest to `hint`.
double RealRootNear(double k2, double k1, double k0, double hint) {
    // Every root lies within the Cauchy bound 1 + max |k|. Rounded, the bound can fall a hair
    // short of a root just beyond -k2 (beside 1e126 the 1 is lost); the cubic has then not yet
    // changed sign there, and the next double out lies past the root.
    const double bound = 1 + std::max({std::fabs(k2), std::fabs(k1), std::fabs(k0)});
    const double outward = std::min(std::nextafter(bound, std::numeric_limits<double>::infinity()),
                                    std::numeric_limits<double>::max());
    const double lower = Cubic(k2, k1, k0, -bound).mantissa > 0 ? -outward : -bound;
    const double upper = Cubic(k2, k1, k0, bound).mantissa < 0 ? outward : bound;
    double brackets[3][2];
    int count = 0;
    // The turning points, where the slope 3x^2 + 2 k2 x + k1 is zero.
    const Wide disc = Wide::Of(k2) * Wide::Of(k2) - Wide::Of(3) * Wide::Of(k1);
    if (!(disc.mantissa > 0)) {
        brackets[count][0] = lower;
        brackets[count][1] = upper;
        ++count;
    } else {
        const Wide root = Sqrt(disc);
        const double left = ((Wide::Of(-k2) - root) / Wide::Of(3)).ToDouble();   // local maximum
        const double right = ((Wide::Of(-k2) + root) / Wide::Of(3)).ToDouble();  // local minimum
        const double atLeft = Cubic(k2, k1, k0, left).mantissa;
        const double atRight = Cubic(k2, k1, k0, right).mantissa;
        if (atLeft >= 0) {
            brackets[count][0] = lower;
            brackets[count][1] = left;
            ++count;
        }
        if (atLeft >= 0 && atRight <= 0) {
            brackets[count][0] = left;
            brackets[count][1] = right;
            ++count;
        }
        if (atRight <= 0) {
            brackets[count][0] = right;
            brackets[count][1] = upper;
            ++count;
        }
    }
    double best = kNaN;
    for (int i = 0; i < count; ++i) {
        const double root = SolveBracketed(k2, k1, k0, brackets[i][0], brackets[i][1]);
        if (std::isnan(best) || std::fabs(root - hint) < std::fabs(best - hint)) {
            best = root;
        }
    }
    return best;
}

}  // namespace mirelto::cubic
