#include "mirelto/tools/presets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "mirelto/numeric/polynomial.h"
#include "mirelto/response/cutoff.h"
#include "mirelto/response/transfer.h"
#include "mirelto/values/value_format.h"
#include "numeric/constants.h"
#include "numeric/linear_solve.h"

namespace mirelto {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kOrder = 3;
const PoleSet kNoPoles{kNaN, kNaN, kNaN};

PoleSet FromRoots(const Roots& roots) {
    if (roots.count != kOrder) {
        return kNoPoles;
    }
    return PolesFromRoots(roots.root);
}

PoleSet Scaled(const PoleSet& p, double frequency) {
    return {p.fa / frequency, p.fo / frequency, p.q};
}

// s^3 + d[2] s^2 + d[1] s + d[0], ascending as Rational3 holds it.
using Cubic = std::array<double, 4>;

// The -3 dB frequency of d0 / D(s) in the units of D: the highest w with |D(jw)|^2 = 2 d0^2.
// The root is taken as found, not refined: the presets' digits were fixed with it.
double HalfPowerFrequency(const Cubic& d) {
    Rational3 allPole;
    allPole.num[0] = d[0];
    std::copy(d.begin(), d.end(), allPole.den);
    const HalfPowerRoots squares = HalfPowerSquares(allPole);
    double highest = kNaN;
    for (int k = 0; k < squares.count; ++k) {
        if (!(squares.x[k] <= highest)) {
            highest = squares.x[k];
        }
    }
    return std::sqrt(highest);
}

PoleSet Butterworth() {
    Complex poles[kOrder];
    for (int k = 1; k <= kOrder; ++k) {
        poles[k - 1] = std::polar(1.0, kPi * (2 * k + kOrder - 1) / (2 * kOrder));
    }
    return PolesFromRoots(poles);
}

// The reverse Bessel polynomial: coefficient k is (2n - k)! / (2^(n-k) k! (n-k)!); its group delay
// at zero frequency is 1.
Cubic BesselPolynomial() {
    const auto factorial = [](int m) {
        double f = 1;
        for (int i = 2; i <= m; ++i) {
            f *= i;
        }
        return f;
    };
    Cubic d{};
    for (int k = 0; k <= kOrder; ++k) {
        d[k] = factorial(2 * kOrder - k) /
               (std::ldexp(1.0, kOrder - k) * factorial(k) * factorial(kOrder - k));
    }
    return d;
}

PoleSet Bessel(Normalisation normalisation) {
    const Cubic d = BesselPolynomial();
    const double c[4] = {d[0], d[1], d[2], d[3]};
    const PoleSet delayNormalised = FromRoots(PolynomialRoots(c));
    switch (normalisation) {
        case Normalisation::Delay:
            return delayNormalised;
        case Normalisation::Cutoff3dB:
            return Scaled(delayNormalised, HalfPowerFrequency(d));
        case Normalisation::RippleEdge:
            break;
    }
    return kNoPoles;
}

PoleSet Chebyshev(double rippleDb, Normalisation normalisation) {
    if (!(rippleDb > 0) || normalisation == Normalisation::Delay) {
        return kNoPoles;
    }
    const double epsilon = std::sqrt(std::expm1(rippleDb * std::numbers::ln10 / 10));
    const double a = std::asinh(1 / epsilon) / kOrder;
    Complex poles[kOrder];
    for (int k = 1; k <= kOrder; ++k) {
        const double theta = kPi * (2 * k - 1) / (2 * kOrder);
        poles[k - 1] = Complex(-std::sinh(a) * std::sin(theta), std::cosh(a) * std::cos(theta));
    }
    const PoleSet rippleEdge = PolesFromRoots(poles);
    if (normalisation == Normalisation::RippleEdge) {
        return rippleEdge;
    }
    // |H|^2 = 1 / (1 + eps^2 T3(w)^2) is half at T3(w) = 1/eps, beyond the ripple band when eps < 1
    if (!(epsilon < 1)) {
        return kNoPoles;
    }
    return Scaled(rippleEdge, std::cosh(std::acosh(1 / epsilon) / kOrder));
}

// Papoulis' optimum L polynomial for the odd order n = 2k + 1:
// L(x) = integral from -1 to 2x - 1 of v(u)^2 du, v = sum over i <= k of a_i P_i(u),
// a_i = (2i + 1) / (sqrt 2 (k + 1)), P_i the Legendre polynomials. Ascending coefficients.
std::array<double, kOrder + 1> OptimumLPolynomial() {
    constexpr int k = (kOrder - 1) / 2;
    // Legendre polynomials by (i + 1) P_(i+1) = (2i + 1) u P_i - i P_(i-1)
    double legendre[k + 1][k + 1] = {};
    legendre[0][0] = 1;
    if (k >= 1) {
        legendre[1][1] = 1;
    }
    for (int i = 1; i < k; ++i) {
        for (int j = 0; j <= i + 1; ++j) {
            const double up = j > 0 ? legendre[i][j - 1] : 0;
            legendre[i + 1][j] = ((2 * i + 1) * up - i * legendre[i - 1][j]) / (i + 1);
        }
    }
    double v[k + 1] = {};
    for (int i = 0; i <= k; ++i) {
        const double a = (2 * i + 1) / (std::numbers::sqrt2 * (k + 1));
        for (int j = 0; j <= k; ++j) {
            v[j] += a * legendre[i][j];
        }
    }
    double antiderivative[kOrder + 1] = {};  // of v^2, degree 2k + 1 = n
    for (int i = 0; i <= k; ++i) {
        for (int j = 0; j <= k; ++j) {
            antiderivative[i + j + 1] += v[i] * v[j] / (i + j + 1);
        }
    }
    // L(x) = V(2x - 1) - V(-1), V composed with 2x - 1 by Horner's scheme
    std::array<double, kOrder + 1> l{};
    double atMinusOne = 0;
    for (int j = kOrder; j >= 0; --j) {
        for (int m = kOrder; m >= 0; --m) {
            l[m] = 2 * (m > 0 ? l[m - 1] : 0) - l[m];
        }
        l[0] += antiderivative[j];
        atMinusOne = -atMinusOne + antiderivative[j];
    }
    l[0] -= atMinusOne;
    return l;
}

// The left-half-plane roots of 1 + L(-s^2): with y = w^2 = -s^2 the roots y of 1 + L(y) give the
// poles s = -sqrt(-y).
PoleSet Legendre(Normalisation normalisation) {
    if (normalisation != Normalisation::Cutoff3dB) {
        return kNoPoles;
    }
    const std::array<double, kOrder + 1> l = OptimumLPolynomial();
    const double c[4] = {1 + l[0], l[1], l[2], l[3]};
    const Roots y = PolynomialRoots(c);
    if (y.count != kOrder) {
        return kNoPoles;
    }
    Complex poles[kOrder];
    for (int k = 0; k < kOrder; ++k) {
        poles[k] = -std::sqrt(-y.root[k]);
    }
    return PolesFromRoots(poles);
}

// The linear-phase responses. Time is in units of the reference delay tau, so the reference
// phase is -w and the error e(w) = w - arg D(jw) for the all-pole d0 / D(s).

// arg D(jw), continuous from 0 towards 270 degrees for a cubic with its roots in the left half
// plane: the real part of D(jw) changes sign before the imaginary part does.
double Angle(const Cubic& d, double w) {
    const double re = d[0] - d[2] * w * w;
    const double im = w * (d[1] - w * w);
    const double angle = std::atan2(im, re);
    return im < 0 ? angle + 2 * kPi : angle;
}

double PhaseError(const Cubic& d, double w) {
    return w - Angle(d, w);
}

// de/dw = 1 - d(arg D)/dw = 1 - Re(D'(jw) / D(jw))
double PhaseErrorSlope(const Cubic& d, double w) {
    const Complex s(0, w);
    const Complex value = ((s + d[2]) * s + d[1]) * s + d[0];
    const Complex slope = (3.0 * s + 2 * d[2]) * s + d[1];
    return 1 - (slope / value).real();
}

bool Hurwitz(const Cubic& d) {
    return d[0] > 0 && d[1] > 0 && d[2] > 0 && d[2] * d[1] > d[0];
}

// Unknowns: d0, d1, d2, the three inner extrema w1 < w2 < w3 and the band edge W.
constexpr int kUnknowns = 7;
using LinearPhaseState = double[kUnknowns];

// e(w1) = -err, e(w2) = +err, e(w3) = -err with e' = 0 at each, and e(W) = +err.
void EquirippleResiduals(const LinearPhaseState& x, double error, double (&r)[kUnknowns]) {
    const Cubic d{x[0], x[1], x[2], 1};
    for (int i = 0; i < 3; ++i) {
        const double target = i % 2 == 0 ? -error : error;
        r[2 * i] = PhaseError(d, x[3 + i]) - target;
        r[2 * i + 1] = PhaseErrorSlope(d, x[3 + i]);
    }
    r[6] = PhaseError(d, x[6]) - error;
}

// The cubic whose error passes exactly through -err, +err, -err at the inner points of a degree-7
// Chebyshev alternation over [0, W]: arg D(jw) = w - e is linear in d0, d1, d2 through its
// tangent, (d1 w - w^3) cos t = (d0 - d2 w^2) sin t with t = w - e.
bool GuessForBand(double error, double band, LinearPhaseState& x) {
    double a[3][3], b[3];
    for (int i = 0; i < 3; ++i) {
        const double w = band * std::cos((3 - i) * kPi / 7);
        const double t = w - (i % 2 == 0 ? -error : error);
        a[i][0] = -std::sin(t);
        a[i][1] = w * std::cos(t);
        a[i][2] = w * w * std::sin(t);
        b[i] = w * w * w * std::cos(t);
        x[3 + i] = w;
    }
    DenseLu<double, 3> lu;
    if (!lu.Factor(a)) {
        return false;
    }
    double coefficients[3];
    lu.Solve(b, coefficients);
    std::copy(coefficients, coefficients + 3, x);
    x[6] = band;
    return Hurwitz({x[0], x[1], x[2], 1});
}

// A starting point for Newton: the smallest band whose guess already overshoots +err at W.
bool InitialGuess(double error, LinearPhaseState& x) {
    double previous = kNaN, previousBand = kNaN;
    for (int step = 4; step < 160; ++step) {
        const double band = 0.05 * step;
        if (!GuessForBand(error, band, x)) {
            previous = kNaN;
            continue;
        }
        const double reach = PhaseError({x[0], x[1], x[2], 1}, band) / error;
        if (previous < 1 && reach >= 1) {
            const double edge =
                previousBand + (band - previousBand) * (1 - previous) / (reach - previous);
            return GuessForBand(error, edge, x);
        }
        previous = reach;
        previousBand = band;
    }
    return false;
}

double LargestMagnitude(const double (&r)[kUnknowns]) {
    double m = 0;
    for (double v : r) {
        m = std::max(m, std::fabs(v));
    }
    return m;
}

// Newton's method with a central-difference Jacobian; a step that does not lower the residual
// is halved.
bool SolveEquiripple(double error, LinearPhaseState& x) {
    double r[kUnknowns];
    EquirippleResiduals(x, error, r);
    double size = LargestMagnitude(r);
    for (int iteration = 0; iteration < 60 && size > 1e-16 * error; ++iteration) {
        double jacobian[kUnknowns][kUnknowns];
        for (int j = 0; j < kUnknowns; ++j) {
            const double h = 1e-7 * std::fabs(x[j]);
            LinearPhaseState up, down;
            std::copy(x, x + kUnknowns, up);
            std::copy(x, x + kUnknowns, down);
            up[j] += h;
            down[j] -= h;
            double rUp[kUnknowns], rDown[kUnknowns];
            EquirippleResiduals(up, error, rUp);
            EquirippleResiduals(down, error, rDown);
            for (int i = 0; i < kUnknowns; ++i) {
                jacobian[i][j] = (rUp[i] - rDown[i]) / (2 * h);
            }
        }
        double negated[kUnknowns];
        for (int i = 0; i < kUnknowns; ++i) {
            negated[i] = -r[i];
        }
        DenseLu<double, kUnknowns> lu;
        if (!lu.Factor(jacobian)) {
            return false;
        }
        double step[kUnknowns];
        lu.Solve(negated, step);
        bool improved = false;
        for (double fraction = 1; fraction > 1e-3 && !improved; fraction /= 2) {
            LinearPhaseState trial;
            for (int i = 0; i < kUnknowns; ++i) {
                trial[i] = x[i] + fraction * step[i];
            }
            double rTrial[kUnknowns];
            EquirippleResiduals(trial, error, rTrial);
            if (LargestMagnitude(rTrial) < size && Hurwitz({trial[0], trial[1], trial[2], 1})) {
                std::copy(trial, trial + kUnknowns, x);
                std::copy(rTrial, rTrial + kUnknowns, r);
                size = LargestMagnitude(r);
                improved = true;
            }
        }
        if (!improved) {
            break;  // at the limit of rounding
        }
    }
    const bool ordered = 0 < x[3] && x[3] < x[4] && x[4] < x[5] && x[5] < x[6];
    return ordered && size <= 1e-10 * error;
}

PoleSet LinearPhasePoles(double errorDegrees, Normalisation normalisation) {
    if (!(errorDegrees > 0) || normalisation == Normalisation::RippleEdge) {
        return kNoPoles;
    }
    const double error = errorDegrees * kPi / 180;
    LinearPhaseState x;
    if (!InitialGuess(error, x) || !SolveEquiripple(error, x)) {
        return kNoPoles;
    }
    const Cubic d{x[0], x[1], x[2], 1};
    const double c[4] = {d[0], d[1], d[2], d[3]};
    const PoleSet delayNormalised = FromRoots(PolynomialRoots(c));
    if (normalisation == Normalisation::Delay) {
        return delayNormalised;
    }
    return Scaled(delayNormalised, HalfPowerFrequency(d));
}

}  // namespace

const std::vector<Preset>& Presets() {
    using enum ResponseFamily;
    using enum Normalisation;
    static const std::vector<Preset> presets = {
        {Butterworth, 0, Cutoff3dB, "Butterworth"},
        {Bessel, 0, Cutoff3dB, "Bessel (-3 dB)"},
        {Bessel, 0, Delay, "Bessel (delay)"},
        {Chebyshev, 0.01, Cutoff3dB, "Chebyshev 0.01 dB (-3 dB)"},
        {Chebyshev, 0.01, RippleEdge, "Chebyshev 0.01 dB (ripple edge)"},
        {Chebyshev, 0.1, Cutoff3dB, "Chebyshev 0.1 dB (-3 dB)"},
        {Chebyshev, 0.1, RippleEdge, "Chebyshev 0.1 dB (ripple edge)"},
        {Chebyshev, 0.25, Cutoff3dB, "Chebyshev 0.25 dB (-3 dB)"},
        {Chebyshev, 0.25, RippleEdge, "Chebyshev 0.25 dB (ripple edge)"},
        {Chebyshev, 0.5, Cutoff3dB, "Chebyshev 0.5 dB (-3 dB)"},
        {Chebyshev, 0.5, RippleEdge, "Chebyshev 0.5 dB (ripple edge)"},
        {Chebyshev, 1, Cutoff3dB, "Chebyshev 1 dB (-3 dB)"},
        {Chebyshev, 1, RippleEdge, "Chebyshev 1 dB (ripple edge)"},
        {Chebyshev, 2, Cutoff3dB, "Chebyshev 2 dB (-3 dB)"},
        {Chebyshev, 2, RippleEdge, "Chebyshev 2 dB (ripple edge)"},
        {Chebyshev, 3, Cutoff3dB, "Chebyshev 3 dB (-3 dB)"},
        {Chebyshev, 3, RippleEdge, "Chebyshev 3 dB (ripple edge)"},
        {LinearPhase, 0.05, Cutoff3dB, "Linear phase 0.05°"},
        {LinearPhase, 0.5, Cutoff3dB, "Linear phase 0.5°"},
        {Legendre, 0, Cutoff3dB, "Legendre"},
    };
    return presets;
}

PoleSet NormalisedPoles(const Preset& preset) {
    switch (preset.family) {
        case ResponseFamily::Butterworth:
            return preset.normalisation == Normalisation::Cutoff3dB ? Butterworth() : kNoPoles;
        case ResponseFamily::Bessel:
            return Bessel(preset.normalisation);
        case ResponseFamily::Chebyshev:
            return Chebyshev(preset.parameter, preset.normalisation);
        case ResponseFamily::LinearPhase:
            return LinearPhasePoles(preset.parameter, preset.normalisation);
        case ResponseFamily::Legendre:
            return Legendre(preset.normalisation);
    }
    return kNoPoles;
}

PoleSet PresetPoles(const Preset& preset, double fc, bool isLpf) {
    const PoleSet n = NormalisedPoles(preset);
    if (isLpf) {
        return {fc * n.fa, fc * n.fo, n.q};
    }
    return {fc / n.fa, fc / n.fo, n.q};
}

std::string PresetValueText(double value) {
    return FormatSISignificant(value, kPresetDigits);
}

}  // namespace mirelto
