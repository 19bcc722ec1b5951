#include "mirelto/response/cutoff.h"

#include <cmath>
#include <numbers>

#include "numeric/brent_root.h"
#include "numeric/constants.h"
#include "response/log_grid.h"

namespace mirelto {

namespace {

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

double CutoffFrequency(const FrequencyResponse& h, bool isLpf, double low, double high) {
    if (!ValidRange(low, high)) {
        return kNaN;
    }
    // 2 ln|H| + ln 2: zero at the crossing and nearly straight in ln f around it
    const auto excess = [&h](double x) {
        return 2 * std::log(std::abs(h(std::exp(x)))) + std::numbers::ln2;
    };
    const LogGrid grid(low, high);
    // The LPF's crossing is looked for from the top down, the HPF's from the bottom up; the first
    // change of side is the answer.
    const int first = isLpf ? grid.Count() - 1 : 0;
    const int direction = isLpf ? -1 : 1;
    double xPrevious = grid.At(first);
    double gPrevious = excess(xPrevious);
    for (int i = first + direction; i >= 0 && i < grid.Count(); i += direction) {
        const double x = grid.At(i);
        const double g = excess(x);
        if (!std::isnan(g) && !std::isnan(gPrevious) && (g >= 0) != (gPrevious >= 0)) {
            return std::exp(BrentRoot(excess, xPrevious, x, gPrevious, g, 1e-13));
        }
        xPrevious = x;
        gPrevious = g;
    }
    return kNaN;
}

HalfPowerRoots HalfPowerSquares(const Rational3& h) {
    double d[4], n[4], e[4];
    SquaredMagnitude(h.den, d);
    SquaredMagnitude(h.num, n);
    for (int k = 0; k < 4; ++k) {
        e[k] = d[k] - 2 * n[k];
    }
    const Roots roots = PolynomialRoots(e);
    HalfPowerRoots squares;
    for (int i = 0; i < roots.count; ++i) {
        const Complex root = roots.root[i];
        if (root.imag() == 0 && root.real() > 0) {
            squares.x[squares.count++] = root.real();
        }
    }
    return squares;
}

double CutoffFrequency(const Rational3& h, bool isLpf, double low, double high) {
    if (!ValidRange(low, high)) {
        return kNaN;
    }
    const HalfPowerRoots squares = HalfPowerSquares(h);
    double best = kNaN;
    for (int i = 0; i < squares.count; ++i) {
        // Newton steps on ln|D|^2 - ln 2|N|^2 in ln x mend what the expansion cost in precision.
        double x = squares.x[i];
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
