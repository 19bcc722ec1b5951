// The times a step response is sampled at (internal): over the time the slowest pole of the
// responses takes to settle, finely enough for the fastest ringing.
#pragma once

#include <vector>

#include "mirelto/response/transfer.h"

namespace mirelto {

struct StepTimes {
    std::vector<double> times;  // empty when no pole decays
    bool shortened = false;     // cut short at kMaxStepPoints before settling
};

// Over the responses given (null: none).
StepTimes StepTimesOf(const Rational3* requested, const Rational3* built);

}  // namespace mirelto
