// Transfer functions of degree 3: the requested response and a circuit's own (ideal follower) as
// N(s)/D(s), their value and group delay at a frequency, and fa, fo, Q read back from poles.
// Plain double arithmetic, no state: every function here may run on any thread.
#pragma once

#include <functional>

#include "mirelto/design/circuit.h"
#include "mirelto/numeric/polynomial.h"

namespace mirelto {

// A transfer function N(s)/D(s) of degree 3 at most, coefficients by ascending power of s.
struct Rational3 {
    double num[4] = {0, 0, 0, 0};
    double den[4] = {0, 0, 0, 0};
};

// The requested response as N(s)/D(s): LPF wa wo^2 / ((s + wa)(s^2 + (wo/Q)s + wo^2)), HPF
// s^3 / (the same denominator).
Rational3 RequestedTransfer(const PoleSet& poles, bool isLpf);
// The circuit's own transfer function with an ideal follower (LPF 1/(1 + a1 s + a2 s^2 + a3 s^3),
// HPF s^3/(s^3 + b2 s^2 + b1 s + b0)).
Rational3 CircuitTransfer(const Circuit& circuit);

// H(j 2 pi f).
Complex Evaluate(const Rational3& h, double frequency);
// The group delay -d(phase)/d(omega) of h at f, in seconds, from H'/H = N'/N - D'/D.
double GroupDelay(const Rational3& h, double frequency);

// fa, fo, Q in the units of the poles (rad/s for a transfer function's denominator) of one real
// pole and one complex pair: the real one is the pole nearest the real axis, so poles from a
// formula with rounding in their imaginary parts are read right. NaN unless both lie in the
// left half-plane.
PoleSet PolesFromRoots(const Complex (&poles)[3]);

// Any response as a function of frequency (Hz), for the measures that search it.
using FrequencyResponse = std::function<Complex(double frequency)>;

}  // namespace mirelto
