// Best standard values: every combination of preferred values within a few series steps of each
// part of the ideal (unrounded) design, ranked by one of the rankings of ranking.h: the worst
// relative error of fa, fo and Q of the built circuit (CircuitPoles, the back-calculation's
// numbers), the error of its -3 dB frequency, or its response's deviation. The search is exhaustive
// over the neighbourhood it names and deterministic; it never samples and never prunes.
//
// Nothing here keeps state: everything may run on a worker thread, the search cancelled through
// RunControl.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "mirelto/design/circuit.h"
#include "mirelto/design/constant_calculation.h"
#include "mirelto/response/op_amp_model.h"
#include "mirelto/tools/input_problem.h"
#include "mirelto/tools/ranking.h"
#include "mirelto/tools/run_control.h"

namespace mirelto {

struct IdealDesign {
    bool realisable = false;
    Circuit circuit;  // the given parts as given, the computed ones unrounded
    // When not realisable: where the constant calculation stopped, and for a Fault its kind.
    ConstantStop stop = ConstantStop::Done;
    FaultKind fault = FaultKind::None;
};

// The window's constant calculation (CalculateConstants) without rounding (series 0) for the
// given parts (LPF: R1..R3, HPF: C1..C3), blanks filled as the window fills them. Touches no
// global state and shows nothing.
IdealDesign DesignIdeal(ConstantRequest request);
IdealDesign DesignIdeal(const PoleSet& requested, bool isLpf, const std::array<double, 3>& given);

// The members of the series of size `series` (> 0) at most `steps` steps from the member
// RoundToSeries(value, series) gives, ascending: 2 steps + 1 of them, the rounded one with its
// bits. A step is the move to the next member.
std::vector<double> SeriesNeighbours(double value, std::int32_t series, int steps);

inline constexpr int kMaxSteps = 3;
inline constexpr std::size_t kDefaultKeep = 20;

struct OptimiseInput {
    PoleSet requested;  // fa, fo, Q asked for
    Circuit ideal;      // from DesignIdeal
    // Per part (R1..C3). A computed part moves over SeriesNeighbours of its ideal value, and its
    // series is also the one the constant calculation rounds it to. A given part moves over its
    // own value and SeriesNeighbours of it. 0: the part keeps its value in `ideal`.
    std::array<std::int32_t, kComponentCount> series{};
    int steps = 2;                    // 1..kMaxSteps
    std::size_t keep = kDefaultKeep;  // how many of the best are returned
    Ranking ranking = Ranking::Poles;
    // With a positive finite GBW: each candidate's fa, fo, Q are the dominant poles of the
    // circuit with this op-amp (DominantPoles); otherwise the ideal follower's.
    OpAmp opAmp;
};

struct Candidate {
    Circuit circuit;
    PoleSet built;          // fa, fo, Q of the circuit
    PoleSet error;          // (built - requested) / requested, per quantity, signed
    double worstError = 0;  // the largest |error|: what the poles ranking sorts by
    double rmsError = 0;    // root mean square of the three errors: its first tie-break
    // The other two rankings' figures (ranking.h); NaN where the circuit has none. Every
    // returned candidate and `plain` carry all three, whatever the ranking.
    double cutoff = std::numeric_limits<double>::quiet_NaN();       // -3 dB frequency, Hz
    double cutoffError = std::numeric_limits<double>::quiet_NaN();  // relative to the request's
    double responseDb = std::numeric_limits<double>::quiet_NaN();   // the response figure
    std::int64_t index = 0;      // position in the enumeration order: the last tie-break
    bool plainRounding = false;  // the constant calculation's circuit
};

struct OptimiseResult {
    RunStatus status = RunStatus::Invalid;
    Problem problem;  // Invalid: what is wrong with the input
    // The values each part moves over, ascending; their product is the neighbourhood. The
    // enumeration runs through it like an odometer, R1 slowest and C3 fastest.
    std::array<std::vector<double>, kComponentCount> candidates;
    std::int64_t combinations = 0;
    std::int64_t evaluated = 0;     // fewer than combinations when cancelled
    std::int64_t unrealisable = 0;  // evaluated combinations without the figure: not ranked
    double requestedCutoff = 0;     // the request's -3 dB frequency, Hz (NaN: none)
    std::vector<Candidate> best;    // best first, at most `keep`
    // The constant calculation's circuit: computed parts rounded to their series, given parts as
    // given. Always evaluated; it is in the neighbourhood for every steps >= 1.
    Candidate plain;
    // 1-based position of `plain` among the ranked combinations evaluated, by the input's
    // ranking; 0 when not ranked.
    std::int64_t plainRank = 0;
};

// The poles ranking runs by worst error, then the rms error, then enumeration order; the other two
// by |cutoffError| or responseDb first, then as the poles ranking: a strict order, so the result
// never depends on anything but the input.
bool RanksBefore(const Candidate& a, const Candidate& b, Ranking ranking = Ranking::Poles);

// Sets a candidate's cutoff and response figures against the request.
void AddFigures(Candidate& candidate, const ResponseReference& reference);

OptimiseResult OptimiseValues(const OptimiseInput& input, const RunControl& control = {});

}  // namespace mirelto
