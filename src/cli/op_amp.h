// --gbw: the circuit with a single-pole op-amp as the follower, against the ideal one, as the
// analysis window's table and warning give it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <mirelto/design/circuit.h>
#include <mirelto/response/analysis.h>
#include <mirelto/response/op_amp_model.h>

#include "arguments.h"
#include "json.h"

namespace mirelto::cli {

extern const std::array<Option, 1> kOpAmpOptions;  // --gbw

// The value of --gbw, Hz; nothing when it is not given.
std::optional<double> ReadGbw(const Arguments& args);

struct OpAmpFigures {
    double gbw = 0;  // Hz
    Figures ideal, real;
    bool warning = false;  // the window's: see AnalysisResult::opAmpWarning
};
OpAmpFigures OpAmpFiguresOf(const Circuit& circuit, double gbw);
// The same with the op-amp's DC gain and output resistance as well.
OpAmpFigures OpAmpFiguresOf(const Circuit& circuit, const OpAmp& opAmp);

// One line of the -3 dB frequency and peak with the op-amp, and the window's warning on a line
// of its own when it shows one; each ended by `lineEnd`.
std::string OpAmpText(const OpAmpFigures& figures, std::string_view lineEnd);
// {"gbw", "cutoff", "peak": {"frequency", "gainDb"}, "warning": text or null}
Json OpAmpJson(const OpAmpFigures& figures);

}  // namespace mirelto::cli
