// The circuit with a real op-amp as the follower: a single-pole model solved from the nodal
// equations of the circuit at each frequency. Plain double arithmetic, no state.
#pragma once

#include "mirelto/design/circuit.h"
#include "mirelto/numeric/polynomial.h"

namespace mirelto {

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

}  // namespace mirelto
