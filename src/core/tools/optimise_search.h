// The search's inner loop: each combination of a neighbourhood built, scored by the ranking and
// kept when it is among the best, the combinations split by index over the machine's cores.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mirelto/tools/optimise.h"

namespace mirelto::search {

// The candidate of a circuit with fa, fo, Q `built` (CircuitPoles) and their errors against the
// request.
Candidate Score(const Circuit& circuit, const PoleSet& built, const PoleSet& requested,
                std::int64_t index);

// Sets the ranking's figure of a scored candidate; false when the candidate has none and is not
// ranked. The returned rows get every figure afterwards (AddFigures).
bool Rank(Candidate& c, const ResponseReference& reference, Ranking ranking);

struct Job {
    const OptimiseInput& input;
    const std::array<std::vector<double>, kComponentCount>& values;  // what each part moves over
    const ResponseReference& reference;
    const Candidate& plain;  // scored and ranked
    bool plainRanked = false;
    std::int64_t total = 0;  // the product of the values' sizes
};

struct Found {
    std::vector<Candidate> best;  // best first, at most input.keep
    std::int64_t evaluated = 0;
    std::int64_t unrealisable = 0;
    std::int64_t aheadOfPlain = 0;  // ranked before the plain candidate
    bool plainEvaluated = false;
    bool cancelled = false;
};

// Every combination of the job, or up to a cancel: the same result on any number of cores.
Found SearchAll(const Job& job, const RunControl& control);

}  // namespace mirelto::search
