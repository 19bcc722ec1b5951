#include "mirelto/response/op_amp.h"

#include "numeric/constants.h"
#include "numeric/linear_solve.h"

namespace mirelto {

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
using NodalLu = DenseLu<Complex, kNodes>;

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
    const NodalLu::Matrix m = {{yIn + yA + yAB, -yAB, 0.0, 0.0},
                               {-yAB, yAB + yFb + yBP, -yBP, -yFb},
                               {0.0, -yBP, yBP + yP, 0.0},
                               {0.0, 0.0, -1.0, 1.0 + s * follower}};
    const NodalLu::Vector rhs = {yIn, 0.0, 0.0, 0.0};
    // The admittance rows (siemens) and the op-amp's row (dimensionless) differ by many decades.
    NodalLu lu;
    if (!lu.FactorEquilibrated(m)) {
        return {nan, nan};
    }
    NodalLu::Vector v;
    lu.Solve(rhs, v);

    // M V = b differentiated by s: M V' = b' - M' V, M' holding the capacitances.
    const double cIn = w.input.c, cA = w.shuntA.c, cAB = w.middle.c;
    const double cFb = w.feedback.c, cBP = w.series.c, cP = w.shuntP.c;
    const NodalLu::Vector slopeRhs = {
        cIn - (cIn + cA + cAB) * v[0] + cAB * v[1],
        cAB * v[0] - (cAB + cFb + cBP) * v[1] + cBP * v[2] + cFb * v[3],
        cBP * v[1] - (cBP + cP) * v[2], -follower * v[3]};
    NodalLu::Vector dv;
    lu.Solve(slopeRhs, dv);
    return {v[3], dv[3]};
}

Complex CircuitResponseWithOpAmp(const Circuit& circuit, double gbw, double frequency) {
    return CircuitResponseWithOpAmpSlope(circuit, gbw, frequency).h;
}

}  // namespace mirelto
