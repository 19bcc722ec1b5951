#include "mirelto/response/step.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "mirelto/numeric/finite.h"
#include "numeric/constants.h"

namespace mirelto {

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

// h in its controllable canonical state space, time in units of 1/rate.
struct ScaledStateSpace {
    int n = 0;
    double rate = 1;
    double direct = 0;  // the output's share of the input
    double output[kMaxOrder] = {};
    RealMatrix generator{};  // [[A, B], [0, 0]] for x' = A x + B u
};

// h of order n >= 1, proper, with h.den[n] != 0.
ScaledStateSpace StateSpaceOf(const Rational3& h, int n) {
    ScaledStateSpace s;
    s.n = n;
    s.direct = h.num[n] / h.den[n];
    // Time in units of 1/rate, rate bounding the poles' size, keeps the state matrix near 1.
    double rate = 0;
    for (int k = 0; k < n; ++k) {
        rate = std::max(rate, std::pow(std::fabs(h.den[k] / h.den[n]), 1.0 / (n - k)));
    }
    s.rate = IsPositiveFinite(rate) ? rate : 1;
    // H(rate sigma) = (beta_n sigma^n + ... ) / (sigma^n + alpha_(n-1) sigma^(n-1) + ...)
    double alpha[kMaxOrder] = {};
    for (int k = 0; k < n; ++k) {
        const double unit = std::pow(s.rate, n - k);
        alpha[k] = h.den[k] / h.den[n] / unit;
        s.output[k] = h.num[k] / h.den[n] / unit - s.direct * alpha[k];
    }
    // A is the companion matrix of the alphas.
    for (int i = 0; i + 1 < n; ++i) {
        s.generator[i][i + 1] = 1;
    }
    for (int k = 0; k < n; ++k) {
        s.generator[n - 1][k] = -alpha[k];
    }
    s.generator[n - 1][n] = 1;
    return s;
}

// The response at each time from rest, stepping the state from one time to the next.
void Propagate(const ScaledStateSpace& s, const std::vector<double>& times,
               std::vector<double>& values) {
    const int n = s.n;
    double state[kMaxOrder] = {};
    double reached = 0;   // scaled time the state stands at
    double stepUsed = 0;  // the step that transition and input hold, 0 before the first
    RealMatrix transition{};
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (!(times[i] >= 0)) {
            values[i] = times[i] < 0 ? 0.0 : kNaN;
            continue;
        }
        double step = times[i] * s.rate - reached;
        if (step < -1e-12 * reached) {  // times going backwards: start again from rest
            std::fill(state, state + n, 0.0);
            reached = 0;
            step = times[i] * s.rate;
        }
        if (step > 0) {
            // A step within 1e-12 of the last one reuses its matrices; `reached` advances by the
            // step actually taken, so the time error never builds up over many samples.
            if (!(std::fabs(step - stepUsed) <= 1e-12 * stepUsed)) {
                RealMatrix scaled{};
                for (int r = 0; r <= n; ++r) {
                    for (int c = 0; c <= n; ++c) {
                        scaled[r][c] = s.generator[r][c] * step;
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
        double y = s.direct;
        for (int k = 0; k < n; ++k) {
            y += s.output[k] * state[k];
        }
        values[i] = y;
    }
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
    if (n == 0) {
        const double direct = h.num[n] / h.den[n];
        for (std::size_t i = 0; i < times.size(); ++i) {
            values[i] = times[i] < 0 ? 0.0 : times[i] >= 0 ? direct : kNaN;
        }
        return values;
    }
    Propagate(StateSpaceOf(h, n), times, values);
    return values;
}

}  // namespace mirelto
