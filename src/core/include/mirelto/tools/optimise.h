// Best standard values: every combination of preferred values within a few series steps of each
// part of the ideal (unrounded) design, ranked by the worst relative error of fa, fo and Q of the
// built circuit (CircuitPoles, the back-calculation's numbers). The search is exhaustive over
// the neighbourhood it names and deterministic; it never samples and never prunes.
//
// DesignIdeal runs the window's synthesis over DesignState and belongs to the thread that owns
// the design record. Everything else keeps no state and may run on a worker thread, cancelled
// through RunControl.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mirelto/design/circuit.h"
#include "mirelto/design/messages.h"
#include "mirelto/tools/run_control.h"

namespace mirelto {

struct IdealDesign {
    bool realisable = false;
    Circuit circuit;      // the given parts as given, the computed ones unrounded
    std::string message;  // when not realisable: the rejection's English text or the fault's text
    std::optional<MessageId> rejection;  // the synthesis's refusal, when that was the reason
};

// The window's constant calculation without rounding (series 0) for the given parts (LPF: R1..R3,
// HPF: C1..C3). DesignState and the message sink are as before afterwards: a rejection comes back
// in `message` instead of reaching the sink.
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
};

struct Candidate {
    Circuit circuit;
    PoleSet built;               // fa, fo, Q of the circuit
    PoleSet error;               // (built - requested) / requested, per quantity, signed
    double worstError = 0;       // the largest |error|: what the ranking sorts by
    double rmsError = 0;         // root mean square of the three errors: the first tie-break
    std::int64_t index = 0;      // position in the enumeration order: the last tie-break
    bool plainRounding = false;  // the constant calculation's circuit
};

struct OptimiseResult {
    RunStatus status = RunStatus::Invalid;
    std::string message;  // Invalid: what is wrong with the input
    // The values each part moves over, ascending; their product is the neighbourhood. The
    // enumeration runs through it like an odometer, R1 slowest and C3 fastest.
    std::array<std::vector<double>, kComponentCount> candidates;
    std::int64_t combinations = 0;
    std::int64_t evaluated = 0;     // fewer than combinations when cancelled
    std::int64_t unrealisable = 0;  // evaluated combinations without fa, fo, Q: not ranked
    std::vector<Candidate> best;    // best first, at most `keep`
    // The constant calculation's circuit: computed parts rounded to their series, given parts as
    // given. Always evaluated; it is in the neighbourhood for every steps >= 1.
    Candidate plain;
    // 1-based position of `plain` among the ranked combinations evaluated; 0 when not ranked.
    std::int64_t plainRank = 0;
};

// The ranking runs by worst error, then the rms error, then enumeration order: a strict order,
// so the result never depends on anything but the input.
bool RanksBefore(const Candidate& a, const Candidate& b);

OptimiseResult OptimiseValues(const OptimiseInput& input, const RunControl& control = {});

}  // namespace mirelto
