// Brent's method for a root of a function of one variable: inverse quadratic interpolation kept
// safe by bisection. Internal to the core.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace mirelto {

// Brent's method for a root of f in [a, b] where fa and fb differ in sign, to `tolerance`.
template <class F>
double BrentRoot(const F& f, double a, double b, double fa, double fb, double tolerance) {
    double c = b, fc = fb, d = b - a, e = d;
    for (int iteration = 0; iteration < 200; ++iteration) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol =
            2 * std::numeric_limits<double>::epsilon() * std::fabs(b) + 0.5 * tolerance;
        const double half = 0.5 * (c - b);
        if (std::fabs(half) <= tol || fb == 0) {
            return b;
        }
        if (std::fabs(e) >= tol && std::fabs(fa) > std::fabs(fb)) {
            // inverse quadratic interpolation, or the secant when only two points differ
            const double sb = fb / fa;
            double p, q;
            if (a == c) {
                p = 2 * half * sb;
                q = 1 - sb;
            } else {
                const double qa = fa / fc, rb = fb / fc;
                p = sb * (2 * half * qa * (qa - rb) - (b - a) * (rb - 1));
                q = (qa - 1) * (rb - 1) * (sb - 1);
            }
            if (p > 0) {
                q = -q;
            }
            p = std::fabs(p);
            if (2 * p < std::min(3 * half * q - std::fabs(tol * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = half;
                e = d;
            }
        } else {
            d = half;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol ? d : std::copysign(tol, half);
        fb = f(b);
    }
    return b;
}

}  // namespace mirelto
