#include <cmath>
#include <limits>
#include <numbers>

#include "mirelto/response/response.h"

namespace mirelto {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// |P(jw)|^2 as a polynomial in x = w^2, coefficients by ascending power.
void SquaredMagnitude(const double (&p)[4], double (&out)[4]) {
    out[0] = p[0] * p[0];
    out[1] = p[1] * p[1] - 2 * p[0] * p[2];
    out[2] = p[2] * p[2] - 2 * p[1] * p[3];
    out[3] = p[3] * p[3];
}

// |P(jw)|^2 at x = w^2 and its derivative in x, from the real and imaginary parts: a sum of
// squares, free of the cancellation the expanded polynomial suffers.
struct SquaredValue {
    double value, slope;
};
SquaredValue SquaredAt(const double (&p)[4], double x) {
    const double re = p[0] - p[2] * x;  // Re P(jw)
    const double im = p[1] - p[3] * x;  // Im P(jw) / w
    return {re * re + x * im * im, -2 * p[2] * re + im * im - 2 * p[3] * x * im};
}

}  // namespace

double CutoffFrequency(const Rational3& h, bool isLpf, double low, double high) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    if (!(low > 0 && high > low && std::isfinite(high))) {
        return kNaN;
    }
    double d[4], n[4], e[4];
    SquaredMagnitude(h.den, d);
    SquaredMagnitude(h.num, n);
    for (int k = 0; k < 4; ++k) {
        e[k] = d[k] - 2 * n[k];
    }
    const Roots roots = PolynomialRoots(e);
    double best = kNaN;
    for (int i = 0; i < roots.count; ++i) {
        const Complex root = roots.root[i];
        if (root.imag() != 0 || !(root.real() > 0)) {
            continue;
        }
        // Newton steps on ln|D|^2 - ln 2|N|^2 in ln x mend what the expansion cost in precision.
        double x = root.real();
        double slope = 0;
        for (int step = 0; step < 2; ++step) {
            const SquaredValue dv = SquaredAt(h.den, x);
            const SquaredValue nv = SquaredAt(h.num, x);
            const double excess = std::log(dv.value) - std::log(2 * nv.value);
            slope = x * (dv.slope / dv.value - nv.slope / nv.value);
            if (!(std::fabs(slope) > 1e-3)) {
                break;
            }
            x *= std::exp(-excess / slope);
        }
        if (!(std::fabs(slope) > 1e-3)) {
            continue;  // touches the level without crossing it
        }
        const double f = std::sqrt(x) / kTwoPi;
        if (f < low || f > high) {
            continue;
        }
        if (std::isnan(best) || (isLpf ? f > best : f < best)) {
            best = f;
        }
    }
    return best;
}

}  // namespace mirelto
