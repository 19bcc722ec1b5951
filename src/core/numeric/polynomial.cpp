#include "mirelto/numeric/polynomial.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mirelto {

namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// x^2 + p x + q; real roots by the cancellation-free form, complex ones as an exact pair.
void QuadraticRoots(double p, double q, Complex* out) {
    const double discriminant = p * p - 4 * q;
    if (discriminant >= 0) {
        const double t = -0.5 * (p + std::copysign(std::sqrt(discriminant), p));
        out[0] = t;
        out[1] = t != 0 ? q / t : 0.0;
    } else {
        const double im = 0.5 * std::sqrt(-discriminant);
        out[0] = Complex(-0.5 * p, im);
        out[1] = Complex(-0.5 * p, -im);
    }
}

// A real root of the monic cubic x^3 + a2 x^2 + a1 x + a0 (a0 != 0): Newton's method kept inside
// a bracket that bisection shrinks whenever a step would leave it.
double BracketedCubicRoot(double a2, double a1, double a0) {
    const auto f = [&](double x) { return ((x + a2) * x + a1) * x + a0; };
    // every root lies within twice the largest of |a2|, |a1|^1/2, |a0|^1/3
    const double bound =
        2 * std::max({std::fabs(a2), std::sqrt(std::fabs(a1)), std::cbrt(std::fabs(a0))});
    double lo = -bound, hi = bound;  // f(lo) < 0 < f(hi)
    double x = -a2 / 3;
    for (int iteration = 0; iteration < 400; ++iteration) {
        const double fx = f(x);
        if (fx == 0) {
            return x;
        }
        (fx < 0 ? lo : hi) = x;
        const double slope = (3 * x + 2 * a2) * x + a1;
        double next = x - fx / slope;
        if (!(next > lo && next < hi)) {
            next = 0.5 * (lo + hi);
        }
        if (std::fabs(next - x) <= 2 * kEpsilon * std::fabs(x) || hi - lo <= kEpsilon * bound) {
            return next;
        }
        x = next;
    }
    return x;
}

// Within these squared magnitudes the squares of both decide the comparison below exactly where
// they differ by far more than the rounding of either.
constexpr double kSquaredLow = 0x1p-900;
constexpr double kSquaredHigh = 0x1p1000;
constexpr double kSquaredMargin = 1e-14;

bool InSquaredRange(double squared) {
    return squared >= kSquaredLow && squared <= kSquaredHigh;
}

// std::abs(a) < std::abs(b), the same answer: the squared magnitudes settle it unless they are
// within a few roundings of each other, where hypot does, at many times the cost.
bool SmallerMagnitude(Complex a, Complex b) {
    const double sa = a.real() * a.real() + a.imag() * a.imag();
    const double sb = b.real() * b.real() + b.imag() * b.imag();
    if (InSquaredRange(sa) && InSquaredRange(sb)) {
        if (sa < sb * (1 - kSquaredMargin)) {
            return true;
        }
        if (sa > sb * (1 + kSquaredMargin)) {
            return false;
        }
    }
    return std::abs(a) < std::abs(b);
}

// Up to two Newton steps on the monic cubic, each kept only when it lowers the residual.
Complex Polish(double a2, double a1, double a0, Complex x) {
    for (int i = 0; i < 2; ++i) {
        const Complex fx = ((x + a2) * x + a1) * x + a0;
        const Complex slope = (3.0 * x + 2 * a2) * x + a1;
        if (slope == 0.0) {
            break;
        }
        const Complex next = x - fx / slope;
        if (!SmallerMagnitude(((next + a2) * next + a1) * next + a0, fx)) {
            break;
        }
        x = next;
    }
    return x;
}

}  // namespace

Roots PolynomialRoots(const double (&c)[4]) {
    Roots roots;
    int degree = 3;
    while (degree > 0 && c[degree] == 0) {
        --degree;
    }
    int zeros = 0;  // exact roots at the origin are factored out, not iterated towards
    while (zeros < degree && c[zeros] == 0) {
        roots.root[zeros++] = 0.0;
    }
    const int rest = degree - zeros;
    double a[3] = {0, 0, 0};  // the monic remainder x^rest + a[rest-1] x^(rest-1) + ... + a[0]
    for (int k = 0; k < rest; ++k) {
        a[k] = c[k + zeros] / c[degree];
    }
    Complex* out = roots.root + zeros;
    if (rest == 1) {
        out[0] = -a[0];
    } else if (rest == 2) {
        QuadraticRoots(a[1], a[0], out);
    } else if (rest == 3) {
        const double r = BracketedCubicRoot(a[2], a[1], a[0]);
        // Deflate by (x - r) from the end that keeps the quotient accurate: from the constant
        // term when r outweighs the geometric mean of the roots, from the top otherwise.
        double p, q;
        if (std::fabs(r * r * r) >= std::fabs(a[0])) {
            q = -a[0] / r;
            p = (q - a[1]) / r;
        } else {
            p = a[2] + r;
            q = a[1] + r * p;
        }
        out[0] = r;
        QuadraticRoots(p, q, out + 1);
        if (out[1].imag() != 0) {
            out[1] = Polish(a[2], a[1], a[0], out[1]);
            out[2] = std::conj(out[1]);
        } else {
            out[1] = Polish(a[2], a[1], a[0], out[1]).real();
            out[2] = Polish(a[2], a[1], a[0], out[2]).real();
        }
    }
    roots.count = degree;
    return roots;
}

}  // namespace mirelto
