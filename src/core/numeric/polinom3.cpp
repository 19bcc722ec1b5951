#include "mirelto/numeric/polinom3.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/checked_real.h"
#include "numeric/constants.h"

namespace mirelto {

thread_local std::int32_t PolyDegree = 0;
thread_local std::array<double, 6> PolyCoef{};
thread_local std::array<double, 6> RootRe{};
thread_local std::array<double, 6> RootIm{};

using checked::Abs;
using checked::Exp;
using checked::Ln;
using checked::Real;
using checked::Sqrt;

double CubeRoot(double x) {
    const Real v = x;
    if (0 > v) {
        return -Exp(Ln(Abs(v)) / 3);
    }
    return Exp(Ln(v) / 3);
}

double CardanoRoot(double k2, double k1, double k0) {
    const Real m = -Real(k2);
    const Real p = (k1 * 3 - m * m) / 9;
    const Real q = ((((m * 2) * m) * m - (m * 9) * k1) + (-Real(k0)) * 27) / 27;
    const Real w = (((p * 4) * p) * p) / (q * q) + 1;
    const Real h = Sqrt(Abs(w));
    const Real u = ((h + 1) * q) / 2;
    const Real v = ((h - 1) * q) / 2;
    const Real cubeRootU = CubeRoot(u);
    const Real cubeRootV = CubeRoot(v);
    return (cubeRootU - cubeRootV) + m / 3;
}

namespace {

constexpr int kIterationsPerLevel = 20;
constexpr double kFirstTolerance = 1e-14;
constexpr double kLastTolerance = 1e-6;  // nine levels: 1e-14 up to 9.999999999999997e-07
constexpr std::int32_t kMaxDegree = 3;   // the work slots run up to index degree + 2

// Roots of x^2 + r x + s into slots n and n - 1.
void QuadraticRoots(std::int32_t n, Real r, Real s, std::array<double, 6>& re,
                    std::array<double, 6>& im) {
    const Real hr = r * 0.5;
    const Real d = s - hr * hr;
    if (d > 0) {
        re[n] = -hr;
        re[n - 1] = -hr;
        im[n] = Sqrt(d);
        im[n - 1] = -Sqrt(d);
        return;
    }
    const Real g = Sqrt(-d);
    // The root of larger magnitude first; the other from the product of the roots, s.
    re[n] = (0 > hr) ? (-hr) + g : (-hr) - g;
    if (re[n] != 0) {
        re[n - 1] = s / re[n];
    }
    im[n - 1] = 0;
    im[n] = 0;
}

}  // namespace

// Bairstow's iteration for a quadratic factor x^2 + r x + s of a (degree n >= 3) from r = 1,
// s = 0.1, its tolerance widening tenfold after each kIterationsPerLevel passes; b and c keep the
// quotients of the last pass. False when the tolerance passes kLastTolerance first.
bool FindQuadratic(std::int32_t n, const std::array<double, 6>& a, std::array<double, 6>& b,
                   std::array<double, 6>& c, Real& r, Real& s) {
    Real tol = kFirstTolerance;
    r = 1.0;
    s = 0.1;
    for (;;) {
        for (int pass = 1; pass <= kIterationsPerLevel; ++pass) {
            for (std::int32_t k = n; k >= 3; --k) {
                if (s != 0) {
                    b[k] = ((a[k] - r * b[k + 1]) - b[k + 2]) / s;
                }
                if (s != 0) {
                    c[k] = ((b[k] - r * c[k + 1]) - c[k + 2]) / s;
                }
            }
            b[2] = a[0];
            const Real e1 = a[1] - (r * b[2] + b[3]);
            const Real e2 = a[2] - ((s * b[2] + r * b[3]) + b[4]);
            const Real j11 = -(Real(b[2]) - c[4]);
            const Real j12 = -((b[3] - r * c[4]) - c[5]);
            const Real j21 = -((b[2] - r * c[3]) - c[4]);
            const Real det = j11 * j21 - j12 * c[3];
            const Real dr = (c[3] * e2 - j21 * e1) / det;
            const Real ds = (j12 * e1 - j11 * e2) / det;
            if (tol >= Abs(dr) && tol >= Abs(ds)) {
                return true;
            }
            r = r + dr;
            s = s + ds;
        }
        tol = tol * 10;
        if (!(tol <= kLastTolerance)) {
            return false;
        }
    }
}

void Bairstow(std::int32_t n, std::array<double, 6>& a, std::array<double, 6>& re,
              std::array<double, 6>& im) {
    if (n < 0 || n > kMaxDegree) {
        std::fill(re.begin() + 1, re.end(), 0.0);
        std::fill(im.begin() + 1, im.end(), 0.0);
        return;
    }
    const std::int32_t degree = n;
    std::array<double, 6> b{};  // quotient of the division by the trial quadratic
    std::array<double, 6> c{};  // quotient of b divided once more

    for (;;) {
        a[n + 1] = a[n + 2] = 0;
        b[n + 1] = b[n + 2] = 0;
        c[n + 1] = c[n + 2] = 0;

        if (n == 0) {
            return;
        }
        if (n == 1) {
            re[1] = (-Real(a[1])) / a[0];
            im[1] = 0;
            n = 0;
            continue;
        }

        Real r;
        Real s;
        if (n == 2) {
            r = Real(a[1]) / a[0];
            s = Real(a[2]) / a[0];
        } else if (!FindQuadratic(n, a, b, c, r, s)) {
            for (std::int32_t i = 1; i <= degree; ++i) {
                re[i] = 0;
                im[i] = 0;
            }
            return;
        }

        QuadraticRoots(n, r, s, re, im);
        for (std::int32_t i = 0; i <= n; ++i) {
            a[i] = b[i + 2];
        }
        n = n - 2;
    }
}

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

bool IsRoot(double k2, double k1, double k0, double x) {
    const Wide ax = Wide::Of(std::fabs(x));
    const Wide scale = ((ax + Wide::Of(std::fabs(k2))) * ax + Wide::Of(std::fabs(k1))) * ax +
                       Wide::Of(std::fabs(k0));
    return NoLarger(Abs(Cubic(k2, k1, k0, x)), Wide::Of(kRootTolerance) * scale);
}

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

}  // namespace

double CubicRealRoot(double k3, double k2, double k1, double k0) {
    PolyDegree = 3;
    PolyCoef[0] = k3;
    PolyCoef[1] = k2;
    PolyCoef[2] = k1;
    PolyCoef[3] = k0;
    Bairstow(PolyDegree, PolyCoef, RootRe, RootIm);
    const double x = RootRe[1] != 0 ? RootRe[1] : CardanoRoot(k2, k1, k0);

    // The iteration can accept a quadratic that is not a factor, and Cardano's formula gives no
    // root when all three roots are real: never hand such a value on as a root.
    const bool finite = std::isfinite(k2) && std::isfinite(k1) && std::isfinite(k0);
    if (!finite || !std::isfinite(x) || IsRoot(k2, k1, k0, x)) {
        return x;
    }
    return RealRootNear(k2, k1, k0, x);
}

}  // namespace mirelto
