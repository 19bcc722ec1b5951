// What a command prints of the chosen op-amp: its figures (JSON), and the signal limits of
// --amplitude with their warnings (text lines and JSON), worded in English from the core's codes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <mirelto/design/circuit.h>
#include <mirelto/response/op_amp_model.h>
#include <mirelto/tools/signal_limits.h>

#include "arguments.h"
#include "json.h"

namespace mirelto::cli {

// {"name", "gbw", "a0", ...}: every figure, null when not given.
Json OpAmpFiguresJson(const OpAmp& opAmp);

struct SignalReport {
    OpAmp opAmp;
    std::optional<double> amplitude;     // V peak
    std::optional<SignalLimits> limits;  // when an op-amp or an amplitude is given
};
// The limits of --amplitude with the op-amp (of ReadOpAmp, or the one given).
SignalReport SignalReportOf(const Arguments& args, const Circuit& circuit, const OpAmp& opAmp);
SignalReport SignalReportOf(const Arguments& args, const Circuit& circuit);

// With --band: the output noise over it with the op-amp (ideal without a GBW), one line, and
// {"band", "temperature", "outputRms", "dynamicRangeDb"} as "noise".
std::string NoiseSummaryText(const Arguments& args, const Circuit& circuit, const OpAmp& opAmp,
                             std::string_view lineEnd);
void AddNoiseSummaryJson(Json& json, const Arguments& args, const Circuit& circuit,
                         const OpAmp& opAmp);

// The limits (with an amplitude) and then "Warning: ..." lines, each ended by `lineEnd`.
std::string SignalText(const SignalReport& report, std::string_view lineEnd);
// "signal": the figures (with an amplitude); and each warning appended to "warnings".
void AddSignalJson(Json& json, const SignalReport& report);

}  // namespace mirelto::cli
