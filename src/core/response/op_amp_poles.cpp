#include "mirelto/response/op_amp_poles.h"

#include <algorithm>
#include <cmath>

#include "mirelto/design/filter.h"
#include "mirelto/response/op_amp.h"
#include "mirelto/response/transfer.h"
#include "numeric/constants.h"

namespace mirelto {

namespace {

// The characteristic polynomial's degree at most: three capacitors and the op-amp's pole, one
// more with an output resistance (whose extra root sits at infinity or cancels).
constexpr int kMostDegree = 5;
constexpr int kSamples = 8;  // on a circle: more than kMostDegree + 1, a power of two

// det M(s) of the nodal matrix (NodalDeterminant), as polynomial coefficients in s / rho by
// ascending power: sampled at s = rho e^(2 pi i k / n) and transformed back (a polynomial of
// degree below n is fixed exactly by n such samples). The scale rho keeps the coefficients of
// like size.
std::vector<Complex> Coefficients(const Circuit& circuit, const OpAmp& opAmp, double rho) {
    Complex samples[kSamples];
    for (int k = 0; k < kSamples; ++k) {
        const Complex s = std::polar(rho, kTwoPi * k / kSamples);
        samples[k] = NodalDeterminant(circuit, opAmp, s);
    }
    std::vector<Complex> c(kSamples);
    for (int j = 0; j < kSamples; ++j) {
        for (int k = 0; k < kSamples; ++k) {
            c[j] += samples[k] * std::polar(1.0, -kTwoPi * j * k / kSamples);
        }
        c[j] /= kSamples;
    }
    // Drop the leading terms that are rounding noise.
    double largest = 0;
    for (const Complex& x : c) {
        largest = std::max(largest, std::abs(x));
    }
    while (!c.empty() && std::abs(c.back()) < 1e-9 * largest) {
        c.pop_back();
    }
    return c;
}

Complex Horner(const std::vector<Complex>& c, Complex x) {
    Complex v = 0;
    for (auto it = c.rbegin(); it != c.rend(); ++it) {
        v = v * x + *it;
    }
    return v;
}

// The roots by the Aberth-Ehrlich iteration: every root refined at once, each kept apart from
// the others; cubic convergence from starts spread on a circle.
std::vector<Complex> AberthRoots(const std::vector<Complex>& c) {
    const int n = static_cast<int>(c.size()) - 1;
    std::vector<Complex> d(n > 0 ? n : 0);
    for (int j = 1; j <= n; ++j) {
        d[j - 1] = c[j] * double(j);
    }
    std::vector<Complex> z(n > 0 ? n : 0);
    for (int k = 0; k < n; ++k) {
        z[k] = std::polar(1.0, kTwoPi * (k + 0.25) / n);
    }
    constexpr int kIterations = 200;
    for (int it = 0; it < kIterations; ++it) {
        double largestStep = 0;
        for (int k = 0; k < n; ++k) {
            const Complex ratio = Horner(c, z[k]) / Horner(d, z[k]);
            Complex repel = 0;
            for (int j = 0; j < n; ++j) {
                if (j != k) {
                    repel += 1.0 / (z[k] - z[j]);
                }
            }
            const Complex step = ratio / (1.0 - ratio * repel);
            z[k] -= step;
            largestStep = std::max(largestStep, std::abs(step) / std::max(1.0, std::abs(z[k])));
        }
        if (largestStep < 1e-15) {
            break;
        }
    }
    return z;
}

bool Usable(const Circuit& c) {
    for (const double part : ComponentsOf(c)) {
        if (!(part > 0) || !std::isfinite(part)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<Complex> OpAmpCircuitPoles(const Circuit& circuit, const OpAmp& opAmp) {
    if (!Usable(circuit) || !HasDynamics(opAmp)) {
        return {};
    }
    // The scale: the geometric mean of the three RC products' corners.
    const double rho =
        1 / std::cbrt(circuit.R1 * circuit.C1 * circuit.R2 * circuit.C2 * circuit.R3 * circuit.C3);
    std::vector<Complex> poles = AberthRoots(Coefficients(circuit, opAmp, rho));
    for (Complex& p : poles) {
        p *= rho;
    }
    std::sort(poles.begin(), poles.end(),
              [](Complex a, Complex b) { return std::abs(a) < std::abs(b); });
    return poles;
}

PoleSet DominantPoles(const Circuit& circuit, const OpAmp& opAmp) {
    if (!HasDynamics(opAmp)) {
        return Usable(circuit) ? CircuitPoles(circuit) : PoleSet{kNaN, kNaN, kNaN};
    }
    const std::vector<Complex> poles = OpAmpCircuitPoles(circuit, opAmp);
    if (poles.size() < 3) {
        return {kNaN, kNaN, kNaN};
    }
    const Complex three[3] = {poles[0], poles[1], poles[2]};
    const PoleSet radians = PolesFromRoots(three);
    return {radians.fa / kTwoPi, radians.fo / kTwoPi, radians.q};
}

}  // namespace mirelto
