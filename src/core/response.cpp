#include "mirelto/response.h"

#include <numbers>

namespace mirelto {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

Complex Polynomial(const double (&c)[4], Complex s) {
    return ((c[3] * s + c[2]) * s + c[1]) * s + c[0];
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

}  // namespace mirelto
