// A SPICE netlist of a circuit, readable by ngspice and LTspice: the six parts, the follower as an
// ideal unity-gain voltage-controlled voltage source or a single-pole op-amp, a 1 V AC source at
// the input, an .ac sweep and the lines that print the response and measure its -3 dB frequency
// and peak; on request the op-amp's noise sources and a .noise analysis over a band. A part that is
// a preferred value is written as its nominal decimal value. Keeps no state.
#pragma once

#include <string>

#include "mirelto/design/circuit.h"
#include "mirelto/response/analysis.h"
#include "mirelto/response/op_amp_model.h"
#include "mirelto/tools/noise.h"

namespace mirelto {

inline constexpr int kDefaultPointsPerDecade = 100;

struct NetlistOptions {
    std::string title;     // the first line; empty: "Mirelto third-order low-pass filter" or so
    FrequencyRange range;  // the .ac sweep, Hz; low = high = 0: PlotRange of the circuit alone
    int pointsPerDecade = kDefaultPointsPerDecade;
    // Hz; positive and finite: the follower is a single-pole op-amp subcircuit of this
    // gain-bandwidth product (the analysis window's op-amp trace); otherwise the ideal follower.
    double opAmpGbw = 0;
    // The op-amp's figures: a positive finite gbw here wins over opAmpGbw; a0 and the output
    // resistance go into the subcircuit, en and in (with their corners) into the noise sources.
    OpAmp opAmp;
    // Positive: a .noise analysis of v(out) over this band (Hz) with the op-amp's en and in as
    // sources, printing the total output noise and each source's share (ngspice -b).
    FrequencyRange noiseBand;
    double temperature = kDefaultNoiseTemperature;  // degrees Celsius, for .temp and the sources
};

// The netlist, LF line ends. Nodes: in (source), a, b, p (follower input), out (output). The parts
// must be positive and finite.
std::string SpiceNetlist(const Circuit& circuit, const NetlistOptions& options = {});

// A value as SPICE reads it: the shortest text that reads back as the same double, in plain or
// e-notation. Never a scale letter: SPICE takes "M" for milli and "F" for femto.
std::string SpiceNumber(double value);

}  // namespace mirelto
