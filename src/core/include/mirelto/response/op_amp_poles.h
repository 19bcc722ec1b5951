// The poles of the circuit with a single-pole op-amp: the characteristic polynomial of the nodal
// equations (degree 4, or 5 with an output resistance), its roots, and the three dominant ones
// read as fa, fo, Q, the op-amp's own pole (far out) set apart. Plain double arithmetic, no
// state.
#pragma once

#include <vector>

#include "mirelto/design/circuit.h"
#include "mirelto/numeric/polynomial.h"
#include "mirelto/response/op_amp_model.h"

namespace mirelto {

// Every pole of the circuit with the op-amp, rad/s, nearest the origin first; empty when the
// parts are not all positive and finite or the op-amp has no positive finite GBW.
std::vector<Complex> OpAmpCircuitPoles(const Circuit& circuit, const OpAmp& opAmp);

// fa, fo, Q (Hz) of the three poles nearest the origin: with no op-amp GBW, the circuit's own
// (CircuitPoles). NaN when those three are not one real pole and a pair in the left half-plane.
PoleSet DominantPoles(const Circuit& circuit, const OpAmp& opAmp);

}  // namespace mirelto
