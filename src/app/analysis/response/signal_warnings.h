// The signal-limit warnings of the analysis window's op-amp, worded here from the core's codes:
// a part that is not stable as the follower, and a sine that exceeds the output swing, the slew
// rate or the input common-mode range.
#pragma once

#include <QString>

#include <mirelto/response/op_amp_model.h>
#include <mirelto/tools/signal_limits.h>

namespace mirelto {

// The warnings one to a line, each after "⚠ "; "" when there are none.
QString SignalWarningsText(const SignalLimits& limits, const OpAmp& opAmp);

}  // namespace mirelto
