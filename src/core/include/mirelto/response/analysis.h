// Everything the analysis window draws after a calculation, computed in one call: the curves of
// the requested response (a), of the built circuit (b) and optionally of the built circuit with
// a real op-amp (c), over an automatic log-frequency range, and the figures of the table.
// Pure functions of their input, safe on any thread.
#pragma once

#include <vector>

#include "mirelto/design/circuit.h"
#include "mirelto/response/peak.h"

namespace mirelto {

struct AnalysisInput {
    bool isLpf = true;
    bool hasRequest = true;            // false after a transfer-function calculation: only (b)
    PoleSet requested;                 // fa, fo, Q asked for (used when hasRequest)
    Circuit built;                     // the six parts of the result circuit
    double opAmpGbw = 0;               // Hz; 0 or NaN: no op-amp curve (c)
    double opAmpA0 = 0;                // the op-amp's open-loop DC gain; 0 or NaN: infinite
    double opAmpOutputResistance = 0;  // its open-loop output resistance, ohms; 0 or NaN: none
    int points = 400;                  // log-spaced frequencies, at least 2 (see AnalysisResult)
};

// One response over the frequency grid.
struct Trace {
    std::vector<double> magnitudeDb;  // 20 log10 |H|
    // Degrees, continuous along the grid and exact at each point: the angle of H on the branch
    // that the sum of its pole and zero factors' angles picks. The LPF starts near 0 and falls
    // towards -270; the HPF starts near +270 (the angle of s^3) and falls towards 0. The op-amp
    // trace is the built one's phase plus the continuous angle of H_opamp / H_built, so it goes
    // on below the built trace's end where the op-amp's own pole adds its lag.
    std::vector<double> phaseDeg;
    std::vector<double> groupDelay;  // seconds, -d(phase)/d(omega), analytic for all three
    bool empty() const { return magnitudeDb.empty(); }
};

// Evenly spaced samples from 0 to ten time constants of the slowest decaying pole of (a) and (b)
// together, the same times for both: 400, or more so that the fastest ringing of either gets 20
// samples a period, at most kMaxStepPoints. Where that bound binds, the span is cut short to keep
// 20 samples a period, and AnalysisResult::stepShortened says so.
constexpr int kMaxStepPoints = 6000;
struct StepTrace {
    std::vector<double> time;  // seconds
    std::vector<double> value;
    bool empty() const { return time.empty(); }
};

// The table's figures of one response; NaN where not defined. The op-amp response has no
// fa, fo, Q of its own (its poles are four): those stay NaN, and its gain at fo is taken at the
// built circuit's fo.
struct Figures {
    double fa = 0, fo = 0, q = 0;  // of the poles
    double cutoff = 0;             // -3 dB frequency, Hz
    double gainAtFoDb = 0;         // 20 log10 |H(j 2 pi fo)|
    Peak peak;                     // largest gain in the plotted range
};

struct AnalysisResult {
    // Hz, ascending: `points` log-spaced over at least three decades around fa and fo, and
    // between them the peak frequencies of the table and a fine band around every resonance of
    // (a) and (b) (eight half-widths either side of each complex pole, an eighth of one apart),
    // so that the curves show the peaks the table names.
    std::vector<double> frequency;
    Trace requested, built, opAmp;  // empty when not computed
    StepTrace requestedStep, builtStep;
    bool stepShortened = false;  // the steps end before settling: see StepTrace
    Figures requestedFigures, builtFigures, opAmpFigures;
    // The op-amp moves the -3 dB frequency by more than 1 % or the peak gain by more than
    // 0.5 dB against the ideal built circuit (or loses a figure the built circuit has).
    bool opAmpWarning = false;
};

// Built parts that are not all positive and finite give empty (b) and (c) traces and NaN
// figures; so does a request whose fa, fo, Q are not all positive and finite for (a).
AnalysisResult Analyse(const AnalysisInput& input);

// The plotted frequency range of Analyse: from the lowest to the highest of fa, fo and the -3 dB
// frequencies of the responses the input names, a decade and a half wider at each end and then
// widened to the next 1-2-5 step, so at least three decades. A built circuit without fa and fo
// (three real poles, say) is placed by the geometric mean of its poles. 10 Hz to 100 kHz when the
// input names nothing usable.
struct FrequencyRange {
    double low = 0, high = 0;  // Hz
};
FrequencyRange PlotRange(const AnalysisInput& input);

// Relative error (built - requested) / requested, in per cent; NaN when requested is 0.
double RelativeErrorPercent(double requested, double built);

}  // namespace mirelto
