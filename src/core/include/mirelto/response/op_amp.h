// The circuit with a real op-amp as the follower: a single-pole model solved from the nodal
// equations of the circuit at each frequency, and from the same equations the transfer of each
// noise source to the output. Plain double arithmetic, no state.
#pragma once

#include "mirelto/design/circuit.h"
#include "mirelto/numeric/polynomial.h"
#include "mirelto/response/op_amp_model.h"

namespace mirelto {

// The circuit with a single-pole op-amp as the follower: open-loop gain
// A(s) = a0 / (1 + s a0 / (2 pi gbw)) (gbw in Hz; a missing or infinite a0 gives 2 pi gbw / s),
// driving the output through its open-loop output resistance when one is given, output tied to
// the inverting input; solved from the nodal equations of the circuit at each frequency in complex
// arithmetic. NaN unless gbw > 0; an infinite gbw gives the ideal follower.
Complex CircuitResponseWithOpAmp(const Circuit& circuit, const OpAmp& opAmp, double frequency);
Complex CircuitResponseWithOpAmp(const Circuit& circuit, double gbw, double frequency);

// The same response with its derivative dH/ds (s in rad/s) from the same factorisation: the
// group delay is -Re(dhds / h).
struct ResponseWithSlope {
    Complex h;
    Complex dhds;
};
ResponseWithSlope CircuitResponseWithOpAmpSlope(const Circuit& circuit, const OpAmp& opAmp,
                                                double frequency);
ResponseWithSlope CircuitResponseWithOpAmpSlope(const Circuit& circuit, double gbw,
                                                double frequency);

// The determinant of the nodal equations at a complex s (rad/s), the characteristic polynomial of
// the circuit with the op-amp up to a constant: its zeros are the poles of the response.
Complex NodalDeterminant(const Circuit& circuit, const OpAmp& opAmp, Complex s);

// The output voltage per unit of each noise source at one frequency, the input grounded:
// resistors R1..R3 as a current source of 1 A across each (transimpedance, ohms), the op-amp's
// voltage noise as 1 V in series with its non-inverting input, its current noise as 1 A into the
// non-inverting input's node (ohms). Without a positive GBW: the ideal follower.
struct NoiseTransfers {
    Complex resistor[3];
    Complex voltage;
    Complex current;
};
NoiseTransfers NoiseTransfersAt(const Circuit& circuit, const OpAmp& opAmp, double frequency);

}  // namespace mirelto
