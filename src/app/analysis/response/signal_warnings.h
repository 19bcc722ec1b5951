// The signal-limit warnings of the analysis window's op-amp, worded here from the core's codes:
// a part that is not stable as the follower, and a sine that exceeds the output swing, the slew
// rate or the input common-mode range; and the margins they leave.
#pragma once

#include <QString>

#include <mirelto/response/op_amp_model.h>
#include <mirelto/tools/signal_limits.h>

namespace mirelto {

// The warnings one to a line, each after "⚠ "; "" when there are none.
QString SignalWarningsText(const SignalLimits& limits, const OpAmp& opAmp);

// What the sine asks against what the op-amp gives, a line each for the output swing, the slew
// rate and the full-power bandwidth, those whose figures are known; "" when none is.
QString SignalMarginsText(const SignalLimits& limits, const OpAmp& opAmp);

}  // namespace mirelto
