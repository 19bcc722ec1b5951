// The largest gain of a response within a frequency range. Plain double arithmetic, no state.
#pragma once

#include "mirelto/response/transfer.h"

namespace mirelto {

struct Peak {
    double frequency = 0;  // Hz
    double gainDb = 0;     // 20 log10 |H| at that frequency
};
// The largest |H| within [low, high], refined to 1e-9 relative in frequency (for a maximum that
// is not flatter than a quadratic); an end of the range when |H| is largest there. NaN when h
// gives no finite value.
Peak PeakGain(const FrequencyResponse& h, double low, double high);

}  // namespace mirelto
