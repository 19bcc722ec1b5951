// Gain-bandwidth compensation: the three computed parts (LPF C1..C3, HPF R1..R3) moved from the
// ideal design so that the circuit with the single-pole op-amp has the requested fa, fo, Q as its
// three dominant poles (DominantPoles; the op-amp's own pole stays apart), by Newton's method on
// the logarithms of the parts against the logarithms of fa, fo, Q; the lowest GBW at which that
// is possible; and for any circuit the least GBW that keeps its fo and Q within 1 % of the ideal
// follower's. Pure functions; no state.
#pragma once

#include "mirelto/design/circuit.h"
#include "mirelto/response/op_amp_model.h"

namespace mirelto {

// The compensated dominant poles meet the request this closely (relative) or not at all.
inline constexpr double kCompensationTolerance = 1e-9;
// LeastGbw: fo and Q within this fraction of the ideal circuit's.
inline constexpr double kLeastGbwShift = 0.01;

struct CompensationInput {
    PoleSet requested;  // Hz
    Circuit ideal;      // the ideal design (DesignIdeal): given parts, computed ones unrounded
    OpAmp opAmp;        // with a positive finite GBW; its DC gain and output resistance count
};

struct Compensation {
    bool solved = false;
    Circuit circuit;  // the compensated parts (unrounded); the ideal design when not solved
    PoleSet poles;    // the dominant poles of `circuit` with the op-amp, Hz
};

Compensation Compensate(const CompensationInput& input);

// The lowest GBW (Hz, within 0.5 %) at which Compensate reaches the request, searched upwards
// from the input's GBW; NaN when none up to a million times fo reaches it.
double LeastCompensableGbw(const CompensationInput& input);

// The least GBW (Hz, within 0.1 %) for which the circuit with the op-amp (its DC gain and output
// resistance as given) keeps fo and Q within kLeastGbwShift of the ideal follower's; NaN when
// the circuit has no fo and Q.
double LeastGbw(const Circuit& circuit, const OpAmp& opAmp);

}  // namespace mirelto
