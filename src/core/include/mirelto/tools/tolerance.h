// Tolerance analysis of a built circuit: Monte Carlo trials with a tolerance per part (uniform or
// normal spread) giving percentiles and histograms of fa, fo, Q and the -3 dB frequency, and the
// relative sensitivities of fa, fo and Q to each part.
//
// A run repeats exactly from its seed, on every platform (PortableRandom). Keeps no state; runs
// on any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mirelto/design/circuit.h"
#include "mirelto/numeric/portable_random.h"
#include "mirelto/response/analysis.h"
#include "mirelto/tools/input_problem.h"
#include "mirelto/tools/run_control.h"
#include "mirelto/tools/spread.h"

namespace mirelto {

enum class Distribution {
    Uniform,  // evenly over nominal (1 - t) to nominal (1 + t)
    Normal,   // normal about the nominal value with 3 sigma = t
};

inline constexpr std::uint64_t kDefaultSeed = 1;
inline constexpr std::int64_t kDefaultTrials = 10000;
inline constexpr int kDefaultBins = 40;
inline constexpr double kDefaultResistorTolerance = 0.01;
inline constexpr double kDefaultCapacitorTolerance = 0.05;
// Up to 2 M trials a run keeps every trial's values (84 MB) and selects the percentiles from them.
inline constexpr std::int64_t kTrialsKept = std::int64_t{1} << 21;
// A run of more trials collects at most 16 M values (128 MB) at a time to select them from.
inline constexpr std::int64_t kValuesCollected = std::int64_t{1} << 24;

struct ToleranceInput {
    Circuit nominal;
    // Relative tolerance per part (R1..C3), 0.01 = 1 %; 0 to below 1.
    ComponentValues tolerance{kDefaultResistorTolerance,  kDefaultResistorTolerance,
                              kDefaultResistorTolerance,  kDefaultCapacitorTolerance,
                              kDefaultCapacitorTolerance, kDefaultCapacitorTolerance};
    Distribution distribution = Distribution::Uniform;
    std::int64_t trials = kDefaultTrials;
    std::uint64_t seed = kDefaultSeed;
    int bins = kDefaultBins;
    // Where the -3 dB frequency is searched; low = high = 0: PlotRange of the nominal circuit.
    FrequencyRange cutoffRange;
    // Hz: the -3 dB frequency of each circuit with a single-pole op-amp of this gain-bandwidth
    // product as the follower (CircuitResponseWithOpAmp), searched along its response; 0 or NaN:
    // with the ideal follower, from the rational response. fa, fo, Q stay the ideal circuit's.
    double opAmpGbw = 0;
    double opAmpA0 = 0;                // its DC gain; 0 or NaN: infinite
    double opAmpOutputResistance = 0;  // its output resistance, ohms; 0 or NaN: none
    // Memory bounds. A run of more trials than `trialsKept` keeps no trial's values: it replays
    // the seed, once for the sums and extremes and once for the spread, the histograms and the
    // values around each percentile's rank (at most `valuesCollected` of them; a bracket too
    // full to collect is narrowed in a further replay). Every figure is the same as with the
    // values kept; the replay costs the run's time again.
    std::int64_t trialsKept = kTrialsKept;
    std::int64_t valuesCollected = kValuesCollected;
};

// Relative sensitivities S = (dy/dx)(x/y) of one quantity to each part (R1..C3).
struct Sensitivities {
    ComponentValues fa{}, fo{}, q{};
};

// The relative step of the central differences: the truncation error (step^2) and the rounding
// error (1e-16 / step) of the derivative both stay near 1e-10.
inline constexpr double kSensitivityStep = 1e-5;

// By central differences of CircuitPoles, each part moved by +-kSensitivityStep relative. NaN
// where the circuit or a moved circuit has no fa, fo, Q.
Sensitivities SensitivitiesOf(const Circuit& circuit);

// The most trials and histogram bins a run takes.
inline constexpr std::int64_t kMaxTrials = 100'000'000;
inline constexpr int kMaxBins = 10000;

struct ToleranceResult {
    RunStatus status = RunStatus::Invalid;
    Problem problem;  // Invalid: what is wrong with the input
    // Trials run: fewer than asked when cancelled. A cancelled run that replayed has only the
    // count, mean, minimum and maximum of each spread; the rest is NaN.
    std::int64_t trials = 0;
    std::uint64_t seed = 0;
    FrequencyRange cutoffRange;  // where the -3 dB frequency was searched
    Spread fa, fo, q, cutoff;
    Sensitivities sensitivity;
};

// Each trial draws the six parts in the order R1..C3 (normal numbers two at a time), then
// analyses the circuit. Cancellation is polled, and progress reported, every few hundred trials.
ToleranceResult AnalyseTolerance(const ToleranceInput& input, const RunControl& control = {});

}  // namespace mirelto
