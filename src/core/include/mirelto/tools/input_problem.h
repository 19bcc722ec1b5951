// What is wrong with the input of a tool (the optimiser, the tolerance analysis), as a code and
// the part it concerns, with its English words and its stable code name. The window words it in
// Japanese itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "mirelto/design/circuit.h"

namespace mirelto {

enum class InputProblem {
    None,
    RequestNotPositive,   // fa, fo and Q must be positive and finite
    PartNotPositive,      // `part` must be positive and finite
    NegativeSeries,       // `part`: a series size is 0 or more
    NoPreferredValues,    // `part`: no preferred values around it
    RoundedOutOfRange,    // `part`: its rounded value is out of the neighbourhood
    StepsOutOfRange,      // the neighbourhood is 1 to kMaxSteps steps
    NothingKept,          // at least one candidate must be kept
    ToleranceOutOfRange,  // `part`: a tolerance is 0 to below 100 %
    NoPoles,              // the circuit has no real pole and complex pole pair
    TrialsOutOfRange,     // 1 to kMaxTrials trials
    BinsOutOfRange,       // 1 to kMaxBins histogram bins
    CutoffRangeInvalid,   // the -3 dB search range must be 0 < low < high
};

struct Problem {
    InputProblem code = InputProblem::None;
    std::size_t part = kComponentCount;  // R1..C3 by index; kComponentCount when none
    explicit operator bool() const { return code != InputProblem::None; }
};

// The problem in English on one line: "R2 must be positive and finite"; empty for None.
std::string DescribeInEnglish(const Problem& problem);

// The stable kebab-case name mirelto-cli's --json gives it: "part-not-positive"; empty for None.
std::string_view ProblemCode(InputProblem code);

}  // namespace mirelto
