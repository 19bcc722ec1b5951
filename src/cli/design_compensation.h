// design --compensate: the computed parts chosen for the circuit with the single-pole op-amp
// (Compensate), rounded to their series as the constant calculation rounds them, and fa, fo, Q of
// the rounded circuit with the op-amp; or, when the GBW cannot reach the request, the lowest that
// does. Also the least GBW line every design and analysis with an op-amp shows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include <mirelto/design/circuit.h>
#include <mirelto/response/op_amp_model.h>
#include <mirelto/tools/compensation.h>

#include "json.h"

namespace mirelto::cli {

struct CompensatedDesign {
    Compensation exact;   // before rounding
    Circuit rounded;      // the computed parts rounded to their series
    PoleSet result;       // the dominant poles of `rounded` with the op-amp, Hz
    double leastGbw = 0;  // the lowest GBW that reaches the request, Hz (NaN: none found)
};

// Refuses ("compensation-unreachable") when the op-amp's GBW cannot reach the request, giving the
// lowest GBW that does.
CompensatedDesign CompensateDesign(const PoleSet& request, const Circuit& ideal,
                                   const std::array<std::int32_t, 3>& series, const OpAmp& opAmp);

std::string CompensationText(const CompensatedDesign& design, const OpAmp& opAmp,
                             std::string_view lineEnd);
Json CompensationJson(const CompensatedDesign& design);

// "Least GBW for fo and Q within 1 % of the ideal op-amp's: ...Hz".
std::string LeastGbwText(const Circuit& circuit, const OpAmp& opAmp, std::string_view lineEnd);

}  // namespace mirelto::cli
