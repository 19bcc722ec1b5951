// What a sine of a given amplitude asks of the op-amp over the plotted range: the largest output
// (peak, max over f of |H(f)| A) and the largest slew (max over f of 2 pi f |H(f)| A), against the
// op-amp's output swing, slew rate and input common-mode range (a follower's input equals its
// output), as warning codes the programs word; and the full-power bandwidth. The response is the
// circuit with the op-amp when it has a GBW, else the ideal follower. A pure function.
#pragma once

#include <string_view>
#include <vector>

#include "mirelto/design/circuit.h"
#include "mirelto/response/analysis.h"
#include "mirelto/response/op_amp_model.h"

namespace mirelto {

// In the order SignalLimitsOf lists them.
enum class SignalWarning {
    NotUnityGainStable,  // the op-amp is not stable as a unity-gain follower
    OutputSwing,         // the largest output exceeds the output swing
    SlewRate,            // the largest slew demand exceeds the slew rate
    CommonMode,          // the largest input (= output) exceeds the input common-mode range
};
// "unity-gain-stability", "output-swing", "slew-rate", "common-mode".
std::string_view SignalWarningCode(SignalWarning warning);

struct SignalLimitsInput {
    Circuit circuit;
    OpAmp opAmp;
    double amplitude = 0;  // input sine, V peak; 0 or NaN: only the op-amp's own warning
    FrequencyRange range;  // Hz; low = high = 0: the plotted range of the circuit
};

// Each limit and margin is NaN when a figure it needs is missing (listed in `missing`).
struct SignalLimits {
    double largestOutput = 0, outputFrequency = 0;  // V peak, at Hz
    double largestSlew = 0, slewFrequency = 0;      // V/s, at Hz
    double swingLimit = 0;       // the output's peak either way without clipping, V
    double commonModeLimit = 0;  // the input's peak either way inside the common-mode range, V
    // Limit minus demand (V, V, V/s): below zero, a warning.
    double swingMargin = 0, commonModeMargin = 0, slewMargin = 0;
    // The highest frequency at which a sine of the full output swing does not slew-limit:
    // slew rate / (2 pi swingLimit), Hz.
    double fullPowerBandwidth = 0;
    std::vector<SignalWarning> warnings;
    std::vector<OpAmpFigure> missing;
};

SignalLimits SignalLimitsOf(const SignalLimitsInput& input);

}  // namespace mirelto
