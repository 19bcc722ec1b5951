#include "mirelto/response/response.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>
#include <utility>

namespace mirelto {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

Complex Polynomial(const double (&c)[4], Complex s) {
    return ((c[3] * s + c[2]) * s + c[1]) * s + c[0];
}

Complex Derivative(const double (&c)[4], Complex s) {
    return (3 * c[3] * s + 2 * c[2]) * s + c[1];
}

}  // namespace

Rational3 RequestedTransfer(const PoleSet& poles, bool isLpf) {
    const double wa = kTwoPi * poles.fa;
    const double wo = kTwoPi * poles.fo;
    Rational3 h;
    // (s + wa)(s^2 + (wo/Q) s + wo^2)
    h.den[0] = wa * wo * wo;
    h.den[1] = wo * wo + wa * wo / poles.q;
    h.den[2] = wa + wo / poles.q;
    h.den[3] = 1;
    if (isLpf) {
        h.num[0] = h.den[0];
    } else {
        h.num[3] = 1;
    }
    return h;
}

Rational3 CircuitTransfer(const Circuit& c) {
    Rational3 h;
    if (c.isLpf) {
        h.num[0] = 1;
        h.den[0] = 1;
        h.den[1] = c.R1 * c.C1 + (c.R1 + c.R2 + c.R3) * c.C3;
        h.den[2] = c.R1 * c.C1 * c.C3 * (c.R2 + c.R3) + c.R3 * c.C2 * c.C3 * (c.R1 + c.R2);
        h.den[3] = c.R1 * c.R2 * c.R3 * c.C1 * c.C2 * c.C3;
    } else {
        h.num[3] = 1;
        h.den[3] = 1;
        h.den[2] = 1 / (c.R1 * c.C1) + (1 / c.R3) * (1 / c.C1 + 1 / c.C2 + 1 / c.C3);
        h.den[1] = (1 / (c.R1 * c.R3 * c.C1)) * (1 / c.C2 + 1 / c.C3) +
                   (1 / (c.R2 * c.R3 * c.C3)) * (1 / c.C1 + 1 / c.C2);
        h.den[0] = 1 / (c.R1 * c.R2 * c.R3 * c.C1 * c.C2 * c.C3);
    }
    return h;
}

Complex Evaluate(const Rational3& h, double frequency) {
    const Complex s(0, kTwoPi * frequency);
    return Polynomial(h.num, s) / Polynomial(h.den, s);
}

double GroupDelay(const Rational3& h, double frequency) {
    // d(phase)/d(omega) = Re(H'(s)/H(s)) on s = j omega
    const Complex s(0, kTwoPi * frequency);
    const Complex logSlope =
        Derivative(h.num, s) / Polynomial(h.num, s) - Derivative(h.den, s) / Polynomial(h.den, s);
    return -logSlope.real();
}

namespace {

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
double CubicRealRoot(double a2, double a1, double a0) {
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

// Up to two Newton steps on the monic cubic, each kept only when it lowers the residual.
Complex Polish(double a2, double a1, double a0, Complex x) {
    for (int i = 0; i < 2; ++i) {
        const Complex fx = ((x + a2) * x + a1) * x + a0;
        const Complex slope = (3.0 * x + 2 * a2) * x + a1;
        if (slope == 0.0) {
            break;
        }
        const Complex next = x - fx / slope;
        if (!(std::abs(((next + a2) * next + a1) * next + a0) < std::abs(fx))) {
            break;
        }
        x = next;
    }
    return x;
}

}  // namespace

PoleSet PolesFromRoots(const Complex (&poles)[3]) {
    int real = 0;
    for (int k = 1; k < 3; ++k) {
        if (std::fabs(poles[k].imag()) < std::fabs(poles[real].imag())) {
            real = k;
        }
    }
    const Complex pair = poles[(real + 1) % 3];
    if (!(poles[real].real() < 0 && pair.real() < 0)) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan, nan};
    }
    return {-poles[real].real(), std::abs(pair), std::abs(pair) / (-2 * pair.real())};
}

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
        const double r = CubicRealRoot(a[2], a[1], a[0]);
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

namespace {

// The admittance g + s c of one branch of the ladder.
struct Branch {
    double g = 0, c = 0;
    Complex At(Complex s) const { return g + s * c; }
};

// The six branches by position: input to A, A to ground, A to B, B to the output, B to P, P to
// ground.
struct Ladder {
    Branch input, shuntA, middle, feedback, series, shuntP;
};

Ladder LadderOf(const Circuit& k) {
    const Branch r1{1 / k.R1, 0}, r2{1 / k.R2, 0}, r3{1 / k.R3, 0};
    const Branch c1{0, k.C1}, c2{0, k.C2}, c3{0, k.C3};
    return k.isLpf ? Ladder{r1, c1, r2, c2, r3, c3} : Ladder{c1, r1, c2, r2, c3, r3};
}

constexpr int kNodes = 4;  // A, B, P, output
using Matrix = Complex[kNodes][kNodes];
using Vector = Complex[kNodes];

// LU factors with partial pivoting of a row-equilibrated matrix: the admittance rows (siemens)
// and the op-amp's row (dimensionless) differ by many decades, so each row is scaled first.
class SmallLu {
  public:
    // False when a row or a pivot vanishes.
    bool Factor(const Matrix& m) {
        for (int i = 0; i < kNodes; ++i) {
            double largest = 0;
            for (int j = 0; j < kNodes; ++j) {
                largest = std::max(largest, std::abs(m[i][j]));
            }
            if (!(largest > 0) || !std::isfinite(largest)) {
                return false;
            }
            rowScale_[i] = 1 / largest;
            for (int j = 0; j < kNodes; ++j) {
                lu_[i][j] = m[i][j] * rowScale_[i];
            }
            order_[i] = i;
        }
        for (int k = 0; k < kNodes; ++k) {
            int pivot = k;
            for (int i = k + 1; i < kNodes; ++i) {
                if (std::abs(lu_[i][k]) > std::abs(lu_[pivot][k])) {
                    pivot = i;
                }
            }
            if (!(std::abs(lu_[pivot][k]) > 0)) {
                return false;
            }
            std::swap(lu_[pivot], lu_[k]);
            std::swap(order_[pivot], order_[k]);
            for (int i = k + 1; i < kNodes; ++i) {
                lu_[i][k] /= lu_[k][k];
                for (int j = k + 1; j < kNodes; ++j) {
                    lu_[i][j] -= lu_[i][k] * lu_[k][j];
                }
            }
        }
        return true;
    }

    void Solve(const Vector& rhs, Vector& x) const {
        for (int i = 0; i < kNodes; ++i) {
            x[i] = rhs[order_[i]] * rowScale_[order_[i]];
            for (int j = 0; j < i; ++j) {
                x[i] -= lu_[i][j] * x[j];
            }
        }
        for (int i = kNodes - 1; i >= 0; --i) {
            for (int j = i + 1; j < kNodes; ++j) {
                x[i] -= lu_[i][j] * x[j];
            }
            x[i] /= lu_[i][i];
        }
    }

  private:
    Matrix lu_;
    double rowScale_[kNodes];
    int order_[kNodes];
};

}  // namespace

ResponseWithSlope CircuitResponseWithOpAmpSlope(const Circuit& circuit, double gbw,
                                                double frequency) {
    const Complex nan(kNaN, kNaN);
    if (!(gbw > 0)) {
        return {nan, nan};
    }
    const Ladder w = LadderOf(circuit);
    const Complex s(0, kTwoPi * frequency);
    // Vout = A (VP - Vout) with A = wt / s, written (1 + s / wt) Vout - VP = 0 so that the row
    // stays finite at s = 0 and an infinite gbw gives the ideal follower.
    const double follower = 1 / (kTwoPi * gbw);
    const Complex yIn = w.input.At(s), yA = w.shuntA.At(s), yAB = w.middle.At(s);
    const Complex yFb = w.feedback.At(s), yBP = w.series.At(s), yP = w.shuntP.At(s);
    // Node equations of A, B, P and the op-amp's output for Vin = 1; unknowns VA, VB, VP, Vout.
    const Matrix m = {{yIn + yA + yAB, -yAB, 0.0, 0.0},
                      {-yAB, yAB + yFb + yBP, -yBP, -yFb},
                      {0.0, -yBP, yBP + yP, 0.0},
                      {0.0, 0.0, -1.0, 1.0 + s * follower}};
    const Vector rhs = {yIn, 0.0, 0.0, 0.0};
    SmallLu lu;
    if (!lu.Factor(m)) {
        return {nan, nan};
    }
    Vector v;
    lu.Solve(rhs, v);

    // M V = b differentiated by s: M V' = b' - M' V, M' holding the capacitances.
    const double cIn = w.input.c, cA = w.shuntA.c, cAB = w.middle.c;
    const double cFb = w.feedback.c, cBP = w.series.c, cP = w.shuntP.c;
    const Vector slopeRhs = {cIn - (cIn + cA + cAB) * v[0] + cAB * v[1],
                             cAB * v[0] - (cAB + cFb + cBP) * v[1] + cBP * v[2] + cFb * v[3],
                             cBP * v[1] - (cBP + cP) * v[2], -follower * v[3]};
    Vector dv;
    lu.Solve(slopeRhs, dv);
    return {v[3], dv[3]};
}

Complex CircuitResponseWithOpAmp(const Circuit& circuit, double gbw, double frequency) {
    return CircuitResponseWithOpAmpSlope(circuit, gbw, frequency).h;
}

namespace {

constexpr int kMaxOrder = 3;
constexpr int kAugmented = kMaxOrder + 1;
using RealMatrix = double[kAugmented][kAugmented];

// exp(M) for an m x m matrix (m <= 4) by scaling and squaring: M / 2^k has norm below 1/4, where
// fourteen Taylor terms leave an error under 1e-18.
void MatrixExponential(const RealMatrix& m, int size, RealMatrix& result) {
    double norm = 0;
    for (int i = 0; i < size; ++i) {
        double row = 0;
        for (int j = 0; j < size; ++j) {
            row += std::fabs(m[i][j]);
        }
        norm = std::max(norm, row);
    }
    int squarings = 0;
    while (norm > 0.25 && squarings < 1000) {
        norm /= 2;
        ++squarings;
    }
    const double scale = std::ldexp(1.0, -squarings);
    RealMatrix a{}, term{}, next{};
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) {
            a[i][j] = m[i][j] * scale;
        }
    }
    // Horner form of I + A (I + A/2 (I + A/3 (...))).
    for (int i = 0; i < size; ++i) {
        term[i][i] = 1;
    }
    for (int k = 14; k >= 1; --k) {
        for (int i = 0; i < size; ++i) {
            for (int j = 0; j < size; ++j) {
                double sum = 0;
                for (int l = 0; l < size; ++l) {
                    sum += a[i][l] * term[l][j];
                }
                next[i][j] = (i == j ? 1.0 : 0.0) + sum / k;
            }
        }
        std::copy(&next[0][0], &next[0][0] + kAugmented * kAugmented, &term[0][0]);
    }
    for (int s = 0; s < squarings; ++s) {
        for (int i = 0; i < size; ++i) {
            for (int j = 0; j < size; ++j) {
                double sum = 0;
                for (int l = 0; l < size; ++l) {
                    sum += term[i][l] * term[l][j];
                }
                next[i][j] = sum;
            }
        }
        std::copy(&next[0][0], &next[0][0] + kAugmented * kAugmented, &term[0][0]);
    }
    std::copy(&term[0][0], &term[0][0] + kAugmented * kAugmented, &result[0][0]);
}

}  // namespace

// The step response is propagated in the controllable canonical state space of h with the exact
// discretisation for a constant input (x <- Phi x + Gamma, both from one matrix exponential), not
// by partial fractions: those divide by the differences between poles and lose all accuracy for
// coincident or nearly coincident ones (a real pole at fo with Q = 0.5, say).
std::vector<double> StepResponse(const Rational3& h, const std::vector<double>& times) {
    std::vector<double> values(times.size(), kNaN);
    int n = kMaxOrder;
    while (n >= 0 && h.den[n] == 0) {
        --n;
    }
    if (n < 0) {
        return values;
    }
    for (int k = n + 1; k <= kMaxOrder; ++k) {
        if (h.num[k] != 0) {
            return values;  // not proper: the step would contain impulses
        }
    }
    const double direct = h.num[n] / h.den[n];
    if (n == 0) {
        for (std::size_t i = 0; i < times.size(); ++i) {
            values[i] = times[i] < 0 ? 0.0 : times[i] >= 0 ? direct : kNaN;
        }
        return values;
    }
    // Time in units of 1/rate, rate bounding the poles' size, keeps the state matrix near 1.
    double rate = 0;
    for (int k = 0; k < n; ++k) {
        rate = std::max(rate, std::pow(std::fabs(h.den[k] / h.den[n]), 1.0 / (n - k)));
    }
    if (!(rate > 0) || !std::isfinite(rate)) {
        rate = 1;
    }
    // H(rate sigma) = (beta_n sigma^n + ... ) / (sigma^n + alpha_(n-1) sigma^(n-1) + ...)
    double alpha[kMaxOrder] = {}, output[kMaxOrder] = {};
    for (int k = 0; k < n; ++k) {
        const double unit = std::pow(rate, n - k);
        alpha[k] = h.den[k] / h.den[n] / unit;
        output[k] = h.num[k] / h.den[n] / unit - direct * alpha[k];
    }
    // Augmented generator [[A, B], [0, 0]] for x' = A x + B u, A the companion of the alphas.
    RealMatrix generator{};
    for (int i = 0; i + 1 < n; ++i) {
        generator[i][i + 1] = 1;
    }
    for (int k = 0; k < n; ++k) {
        generator[n - 1][k] = -alpha[k];
    }
    generator[n - 1][n] = 1;

    double state[kMaxOrder] = {};
    double reached = 0;   // scaled time the state stands at
    double stepUsed = 0;  // the step that transition and input hold, 0 before the first
    RealMatrix transition{};
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (!(times[i] >= 0)) {
            values[i] = times[i] < 0 ? 0.0 : kNaN;
            continue;
        }
        double step = times[i] * rate - reached;
        if (step < -1e-12 * reached) {  // times going backwards: start again from rest
            std::fill(state, state + n, 0.0);
            reached = 0;
            step = times[i] * rate;
        }
        if (step > 0) {
            // A step within 1e-12 of the last one reuses its matrices; `reached` advances by the
            // step actually taken, so the time error never builds up over many samples.
            if (!(std::fabs(step - stepUsed) <= 1e-12 * stepUsed)) {
                RealMatrix scaled{};
                for (int r = 0; r <= n; ++r) {
                    for (int c = 0; c <= n; ++c) {
                        scaled[r][c] = generator[r][c] * step;
                    }
                }
                MatrixExponential(scaled, n + 1, transition);
                stepUsed = step;
            }
            double next[kMaxOrder];
            for (int r = 0; r < n; ++r) {
                next[r] = transition[r][n];  // the input's contribution over the step
                for (int c = 0; c < n; ++c) {
                    next[r] += transition[r][c] * state[c];
                }
            }
            std::copy(next, next + n, state);
            reached += stepUsed;
        }
        double y = direct;
        for (int k = 0; k < n; ++k) {
            y += output[k] * state[k];
        }
        values[i] = y;
    }
    return values;
}

}  // namespace mirelto
