// Responses of the requested transfer function and of a circuit: fa, fo and Q of any six parts,
// the complex frequency response (ideal follower, or a single-pole op-amp solved by nodal
// analysis), the step response, the -3 dB frequency and the peak gain. Plain double arithmetic,
// no shared state: every function here may run on any thread.
#pragma once

#include <complex>
#include <functional>
#include <vector>

namespace mirelto {

using Complex = std::complex<double>;

// A third-order response as the calculator states it: a real pole at fa and a pole pair of
// natural frequency fo and quality factor Q (Hz), gain 1 in the pass band (at zero frequency for
// the LPF, at infinite frequency for the HPF).
struct PoleSet {
    double fa = 0, fo = 0, q = 0;
};

// The six parts of a circuit of the given form (see filter.h for the two circuits).
struct Circuit {
    double R1 = 0, R2 = 0, R3 = 0;  // ohms
    double C1 = 0, C2 = 0, C3 = 0;  // farads
    bool isLpf = true;
};

// fa, fo, Q of the circuit from the same normalised coefficients as AnalyzeTransfer, agreeing
// with it to 1e-12 relative; all three NaN when the circuit has no real pole and complex pair
// (a part that is not positive and finite, say).
PoleSet AnalyzeCircuit(const Circuit& circuit);

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

// The roots of c[0] + c[1] x + c[2] x^2 + c[3] x^3; `count` is the degree left after dropping
// zero leading coefficients. Complex roots come as exact conjugate pairs.
struct Roots {
    Complex root[3];
    int count = 0;
};
Roots PolynomialRoots(const double (&c)[4]);

// fa, fo, Q in the units of the poles (rad/s for a transfer function's denominator) of one real
// pole and one complex pair: the real one is the pole nearest the real axis, so poles from a
// formula with rounding in their imaginary parts are read right. NaN unless both lie in the
// left half-plane.
PoleSet PolesFromRoots(const Complex (&poles)[3]);

// The circuit with a single-pole op-amp as the follower: open-loop gain A(s) = 2 pi gbw / s
// (gbw in Hz), output tied to the inverting input, solved from the nodal equations of the
// circuit at each frequency in complex arithmetic. NaN unless gbw > 0; an infinite gbw gives the
// ideal follower.
Complex CircuitResponseWithOpAmp(const Circuit& circuit, double gbw, double frequency);

// The same response with its derivative dH/ds (s in rad/s) from the same factorisation: the
// group delay is -Re(dhds / h).
struct ResponseWithSlope {
    Complex h;
    Complex dhds;
};
ResponseWithSlope CircuitResponseWithOpAmpSlope(const Circuit& circuit, double gbw,
                                                double frequency);

// The unit-step response of h at the given times (seconds, ascending, from 0; 0 before the step
// at t < 0). Exact for the step within rounding, repeated poles included; NaN when h is not
// proper (numerator degree above the denominator's) or has no denominator.
std::vector<double> StepResponse(const Rational3& h, const std::vector<double>& times);

using FrequencyResponse = std::function<Complex(double frequency)>;

// The -3 dB frequency (|H| = 1/sqrt 2 of the pass-band gain 1): the highest crossing for the LPF,
// the lowest for the HPF, searched within [low, high]; NaN when |H| does not cross there.
// Crossings are found on a log grid of 40 points a decade, so two crossings closer than that
// may both be missed; each found one is refined to 1e-12 relative.
double CutoffFrequency(const FrequencyResponse& h, bool isLpf, double low, double high);
// The same for a rational response, from the roots of |D(jw)|^2 - 2 |N(jw)|^2, a cubic in w^2:
// no search, for the many circuits of a tolerance run. Crossings where |H| only touches the
// -3 dB level are not counted.
double CutoffFrequency(const Rational3& h, bool isLpf, double low, double high);

struct Peak {
    double frequency = 0;  // Hz
    double gainDb = 0;     // 20 log10 |H| at that frequency
};
// The largest |H| within [low, high], refined to 1e-9 relative in frequency (for a maximum that
// is not flatter than a quadratic); an end of the range when |H| is largest there. NaN when h
// gives no finite value.
Peak PeakGain(const FrequencyResponse& h, double low, double high);

}  // namespace mirelto
