// Bairstow's iteration for the cubic root finder (internal): over checked reals, or over plain
// doubles that give the same bits as long as every value stays finite.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "numeric/checked_real.h"

namespace mirelto::bairstow {

using checked::Abs;
using checked::Real;
using checked::Sqrt;

inline constexpr int kIterationsPerLevel = 20;
inline constexpr double kFirstTolerance = 1e-14;
inline constexpr double kLastTolerance = 1e-6;  // nine levels: 1e-14 up to 9.999999999999997e-07
inline constexpr std::int32_t kMaxDegree = 3;   // the work slots run up to index degree + 2

// The iteration runs over checked reals (a fault raises at its first operation) or over plain
// doubles, which give the same bits for the same operations as long as every value stays
// finite: there a value that leaves the finite range, the only trace a fault leaves, makes it
// give up (Lost returns true) so that the checked iteration can run and raise the fault.
inline double Magnitude(double x) {
    return std::fabs(x);
}
inline checked::RealExpr Magnitude(Real x) {
    return Abs(x);
}
inline double SquareRoot(double x) {
    return std::sqrt(x);
}
inline checked::RealExpr SquareRoot(Real x) {
    return Sqrt(x);
}
inline checked::RealExpr SquareRoot(checked::RealExpr x) {
    return Sqrt(x);
}
// A sum is finite only when every term is: one test for many values (a finite sum that
// overflows merely hands the work to the checked iteration). Checked reals sum nothing.
template <class Num, class... Values>
bool Lost(Values... values) {
    if constexpr (std::is_same_v<Num, double>) {
        return !std::isfinite((0.0 + ... + values));
    } else {
        return false;
    }
}

// Roots of x^2 + r x + s into slots n and n - 1.
template <class Num>
bool QuadraticRoots(std::int32_t n, Num r, Num s, std::array<double, 6>& re,
                    std::array<double, 6>& im) {
    const Num hr = r * 0.5;
    const Num d = s - hr * hr;
    if (Lost<Num>(d)) {
        return false;
    }
    if (d > 0) {
        re[n] = -hr;
        re[n - 1] = -hr;
        im[n] = SquareRoot(d);
        im[n - 1] = -SquareRoot(d);
        return true;
    }
    const Num g = SquareRoot(-d);
    // The root of larger magnitude first; the other from the product of the roots, s.
    re[n] = (0 > hr) ? (-hr) + g : (-hr) - g;
    if (re[n] != 0) {
        re[n - 1] = s / re[n];
    }
    im[n - 1] = 0;
    im[n] = 0;
    return !Lost<Num>(re[n], re[n - 1]);
}

// One pass of the iteration on the cubic a[0..3]: the division by the trial quadratic
// x^2 + r x + s into b and c, and the correction of r and s.
template <class Num>
struct Correction {
    Num dr, ds;
    bool lost;  // plain doubles lost the trace of a fault
};
template <class Num>
Correction<Num> Pass(const std::array<double, 6>& a, std::array<double, 6>& b,
                     std::array<double, 6>& c, Num r, Num s) {
    constexpr std::int32_t n = kMaxDegree;  // fixed, so that the work slots can live in registers
    for (std::int32_t k = n; k >= 3; --k) {
        if (s != 0) {
            b[k] = ((a[k] - r * b[k + 1]) - b[k + 2]) / s;
        }
        if (s != 0) {
            c[k] = ((b[k] - r * c[k + 1]) - c[k + 2]) / s;
        }
    }
    b[2] = a[0];
    const Num e1 = a[1] - (r * b[2] + b[3]);
    const Num e2 = a[2] - ((s * b[2] + r * b[3]) + b[4]);
    const Num j11 = -(Num(b[2]) - c[4]);
    const Num j12 = -((b[3] - r * c[4]) - c[5]);
    const Num j21 = -((b[2] - r * c[3]) - c[4]);
    const Num det = j11 * j21 - j12 * c[3];
    const Num dr = (c[3] * e2 - j21 * e1) / det;
    const Num ds = (j12 * e1 - j11 * e2) / det;
    return {dr, ds, Lost<Num>(b[n], c[n], e1, e2, det, dr, ds, r, s)};
}

// Refines the trial quadratic x^2 + r x + s of the cubic a[0..3] into b; false when it does not
// converge, or when plain doubles lose the trace of a fault (`lost`).
template <class Num>
bool RefineQuadratic(std::array<double, 6>& a, std::array<double, 6>& b, std::array<double, 6>& c,
                     Num& r, Num& s, bool& lost) {
    Num tol = kFirstTolerance;
    for (;;) {
        for (int pass = 1; pass <= kIterationsPerLevel; ++pass) {
            const Correction<Num> step = Pass(a, b, c, r, s);
            if (step.lost) {
                lost = true;
                return false;
            }
            const Num dr = step.dr, ds = step.ds;
            if (tol >= Magnitude(dr) && tol >= Magnitude(ds)) {
                return true;
            }
            r = r + dr;
            s = s + ds;
            if (Lost<Num>(r, s)) {
                lost = true;
                return false;
            }
        }
        tol = tol * 10;
        if (!(tol <= kLastTolerance)) {
            return false;
        }
    }
}

// Bairstow over Num; false when plain doubles lost the trace of a fault.
template <class Num>
bool Over(std::int32_t n, std::array<double, 6>& a, std::array<double, 6>& re,
          std::array<double, 6>& im) {
    if (n < 0 || n > kMaxDegree) {
        std::fill(re.begin() + 1, re.end(), 0.0);
        std::fill(im.begin() + 1, im.end(), 0.0);
        return true;
    }
    const std::int32_t degree = n;
    std::array<double, 6> b{};  // quotient of the division by the trial quadratic
    std::array<double, 6> c{};  // quotient of b divided once more

    for (;;) {
        a[n + 1] = a[n + 2] = 0;
        b[n + 1] = b[n + 2] = 0;
        c[n + 1] = c[n + 2] = 0;

        if (n == 0) {
            return true;
        }
        if (n == 1) {
            re[1] = (-Num(a[1])) / a[0];
            im[1] = 0;
            n = 0;
            if (Lost<Num>(re[1])) {
                return false;
            }
            continue;
        }

        Num r;
        Num s;
        if (n == 2) {
            r = Num(a[1]) / a[0];
            s = Num(a[2]) / a[0];
            if (Lost<Num>(r, s)) {
                return false;
            }
        } else {  // n == kMaxDegree
            r = 1.0;
            s = 0.1;
            bool lost = false;
            if (!RefineQuadratic(a, b, c, r, s, lost)) {
                for (std::int32_t i = 1; i <= degree; ++i) {
                    re[i] = 0;
                    im[i] = 0;
                }
                return !lost;
            }
        }

        if (!QuadraticRoots(n, r, s, re, im)) {
            return false;
        }
        for (std::int32_t i = 0; i <= n; ++i) {
            a[i] = b[i + 2];
        }
        n = n - 2;
    }
}

}  // namespace mirelto::bairstow
