#include "mirelto/response/transfer.h"

#include <cmath>

#include "numeric/constants.h"

namespace mirelto {

namespace {

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

PoleSet PolesFromRoots(const Complex (&poles)[3]) {
    int real = 0;
    for (int k = 1; k < 3; ++k) {
        if (std::fabs(poles[k].imag()) < std::fabs(poles[real].imag())) {
            real = k;
        }
    }
    const Complex pair = poles[(real + 1) % 3];
    if (!(poles[real].real() < 0 && pair.real() < 0)) {
        return {kNaN, kNaN, kNaN};
    }
    return {-poles[real].real(), std::abs(pair), std::abs(pair) / (-2 * pair.real())};
}

}  // namespace mirelto
