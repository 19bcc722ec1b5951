// The unit-step response of a transfer function, for the analysis window's step plot. Plain
// double arithmetic, no state.
#pragma once

#include <vector>

#include "mirelto/response/transfer.h"

namespace mirelto {

// The unit-step response of h at the given times (seconds, ascending, from 0; 0 before the step
// at t < 0). Exact for the step within rounding, repeated poles included; NaN when h is not
// proper (numerator degree above the denominator's) or has no denominator.
std::vector<double> StepResponse(const Rational3& h, const std::vector<double>& times);

}  // namespace mirelto
