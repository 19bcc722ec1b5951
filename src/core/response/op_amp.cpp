#include "mirelto/response/op_amp.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

// The op-amp as the nodal rows need it: 1/A(s) = 1/a0 + s/wt, and Ro.
struct Dynamics {
    double inverseA0 = 0;  // 1/a0; 0 for an infinite DC gain
    double follower = 0;   // 1/wt, s
    double ro = 0;         // ohms
};

Dynamics DynamicsOf(const OpAmp& opAmp) {
    Dynamics d;
    d.follower = 1 / (kTwoPi * opAmp.gbw);
    d.inverseA0 = opAmp.a0 > 0 ? 1 / opAmp.a0 : 0;
    d.ro = opAmp.outputResistance > 0 ? opAmp.outputResistance : 0;
    return d;
}

// The factored nodal equations of A, B, P and the op-amp's output at s.
struct Nodal {
    NodalLu lu;
    Ladder w;
    Dynamics d;
    Complex s, inverseA;
    bool ok = false;
};

// Rows A, B, P are the node equations (siemens); the op-amp's row joins the output node's
// equation (Vout - Vx)/Ro + yFb (Vout - VB) = 0 with Vx = A (VP - Vout), divided by A/Ro:
// (1 + (1 + Ro yFb)/A) Vout - (Ro yFb / A) VB - VP = 0. With Ro = 0 it is Vout = A (VP - Vout),
// finite at s = 0 and the ideal follower for an infinite gbw.
void FillMatrix(const Ladder& w, const Dynamics& d, Complex s, Complex inverseA,
                NodalLu::Matrix& m) {
    const Complex yIn = w.input.At(s), yA = w.shuntA.At(s), yAB = w.middle.At(s);
    const Complex yFb = w.feedback.At(s), yBP = w.series.At(s), yP = w.shuntP.At(s);
    const Complex roFb = d.ro * yFb;
    const NodalLu::Matrix rows = {{yIn + yA + yAB, -yAB, 0.0, 0.0},
                                  {-yAB, yAB + yFb + yBP, -yBP, -yFb},
                                  {0.0, -yBP, yBP + yP, 0.0},
                                  {0.0, -roFb * inverseA, -1.0, 1.0 + (1.0 + roFb) * inverseA}};
    for (int i = 0; i < kNodes; ++i) {
        std::copy(rows[i], rows[i] + kNodes, m[i]);
    }
}

Nodal Factor(const Circuit& circuit, const OpAmp& opAmp, double frequency) {
    Nodal n;
    n.w = LadderOf(circuit);
    n.d = DynamicsOf(opAmp);
    n.s = Complex(0, kTwoPi * frequency);
    n.inverseA = n.d.inverseA0 + n.s * n.d.follower;
    NodalLu::Matrix m;
    FillMatrix(n.w, n.d, n.s, n.inverseA, m);
    // The admittance rows (siemens) and the op-amp's row (dimensionless) differ by many decades.
    n.ok = opAmp.gbw > 0 && n.lu.FactorEquilibrated(m);
    return n;
}

}  // namespace

ResponseWithSlope CircuitResponseWithOpAmpSlope(const Circuit& circuit, const OpAmp& opAmp,
                                                double frequency) {
    const Complex nan(kNaN, kNaN);
    const Nodal n = Factor(circuit, opAmp, frequency);
    if (!n.ok) {
        return {nan, nan};
    }
    const Complex yIn = n.w.input.At(n.s);
    const NodalLu::Vector rhs = {yIn, 0.0, 0.0, 0.0};
    NodalLu::Vector v;
    n.lu.Solve(rhs, v);

    // M V = b differentiated by s: M V' = b' - M' V, M' holding the capacitances and, in the
    // op-amp's row, d(1/A)/ds = 1/wt.
    const Ladder& w = n.w;
    const double cIn = w.input.c, cA = w.shuntA.c, cAB = w.middle.c;
    const double cFb = w.feedback.c, cBP = w.series.c, cP = w.shuntP.c;
    const double ro = n.d.ro, dInverseA = n.d.follower;
    const Complex yFb = w.feedback.At(n.s);
    const Complex dRowB = -ro * (cFb * n.inverseA + yFb * dInverseA);
    const Complex dRowOut = dInverseA * (1.0 + ro * yFb) + n.inverseA * ro * cFb;
    const NodalLu::Vector slopeRhs = {
        cIn - (cIn + cA + cAB) * v[0] + cAB * v[1],
        cAB * v[0] - (cAB + cFb + cBP) * v[1] + cBP * v[2] + cFb * v[3],
        cBP * v[1] - (cBP + cP) * v[2], -dRowB * v[1] - dRowOut * v[3]};
    NodalLu::Vector dv;
    n.lu.Solve(slopeRhs, dv);
    return {v[3], dv[3]};
}

ResponseWithSlope CircuitResponseWithOpAmpSlope(const Circuit& circuit, double gbw,
                                                double frequency) {
    return CircuitResponseWithOpAmpSlope(circuit, OpAmp::WithGbw(gbw), frequency);
}

Complex CircuitResponseWithOpAmp(const Circuit& circuit, const OpAmp& opAmp, double frequency) {
    return CircuitResponseWithOpAmpSlope(circuit, opAmp, frequency).h;
}

Complex CircuitResponseWithOpAmp(const Circuit& circuit, double gbw, double frequency) {
    return CircuitResponseWithOpAmp(circuit, OpAmp::WithGbw(gbw), frequency);
}

Complex NodalDeterminant(const Circuit& circuit, const OpAmp& opAmp, Complex s) {
    const Dynamics d = DynamicsOf(opAmp);
    NodalLu::Matrix m;
    FillMatrix(LadderOf(circuit), d, s, d.inverseA0 + s * d.follower, m);
    // Gaussian elimination with partial pivoting, unscaled: the determinant must stay a
    // polynomial in s.
    Complex det = 1;
    for (int col = 0; col < kNodes; ++col) {
        int pivot = col;
        for (int r = col + 1; r < kNodes; ++r) {
            pivot = std::abs(m[r][col]) > std::abs(m[pivot][col]) ? r : pivot;
        }
        if (pivot != col) {
            std::swap(m[pivot], m[col]);
            det = -det;
        }
        det *= m[col][col];
        if (m[col][col] == 0.0) {
            return 0;
        }
        for (int r = col + 1; r < kNodes; ++r) {
            const Complex factor = m[r][col] / m[col][col];
            for (int c = col; c < kNodes; ++c) {
                m[r][c] -= factor * m[col][c];
            }
        }
    }
    return det;
}

NoiseTransfers NoiseTransfersAt(const Circuit& circuit, const OpAmp& opAmp, double frequency) {
    // The ideal follower is the limit of an infinite gbw.
    OpAmp model = opAmp;
    if (!HasDynamics(model)) {
        model.gbw = HUGE_VAL;
        model.a0 = kNaN;
    }
    const Complex nan(kNaN, kNaN);
    const Nodal n = Factor(circuit, model, frequency);
    NoiseTransfers t{{nan, nan, nan}, nan, nan};
    if (!n.ok) {
        return t;
    }
    const auto out = [&n](const NodalLu::Vector& rhs) {
        NodalLu::Vector v;
        n.lu.Solve(rhs, v);
        return v[3];
    };
    // A current I into the output node enters the op-amp's row as Ro I / A (see Factor).
    const Complex intoOutput = n.d.ro * n.inverseA;
    // Node indices: 0 A, 1 B, 2 P, 3 output; -1 ground or the input (held by the source).
    // LPF: R1 in-A, R2 A-B, R3 B-P. HPF: R1 A-ground, R2 B-output, R3 P-ground.
    const Complex toOutput = circuit.isLpf ? Complex(0.0) : -intoOutput;
    const NodalLu::Vector lpf[3] = {
        {1.0, 0.0, 0.0, 0.0}, {1.0, -1.0, 0.0, 0.0}, {0.0, 1.0, -1.0, 0.0}};
    const NodalLu::Vector hpf[3] = {
        {1.0, 0.0, 0.0, 0.0}, {0.0, 1.0, 0.0, toOutput}, {0.0, 0.0, 1.0, 0.0}};
    const auto& injections = circuit.isLpf ? lpf : hpf;
    for (int r = 0; r < 3; ++r) {
        t.resistor[r] = out(injections[r]);
    }
    t.voltage = out({0.0, 0.0, 0.0, 1.0});
    t.current = out({0.0, 0.0, 1.0, 0.0});
    return t;
}

}  // namespace mirelto
