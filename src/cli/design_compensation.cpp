#include "design_compensation.h"

#include <cmath>

#include <mirelto/response/op_amp_poles.h>
#include <mirelto/values/eseries.h>

#include "arguments.h"
#include "common.h"

namespace mirelto::cli {

CompensatedDesign CompensateDesign(const PoleSet& request, const Circuit& ideal,
                                   const std::array<std::int32_t, 3>& series, const OpAmp& opAmp) {
    CompensationInput input;
    input.requested = request;
    input.ideal = ideal;
    input.opAmp = opAmp;
    CompensatedDesign design;
    design.exact = Compensate(input);
    design.leastGbw = LeastCompensableGbw(input);
    if (!design.exact.solved) {
        const std::string least =
            std::isnan(design.leastGbw)
                ? std::string("no GBW up to a million times fo reaches it")
                : Concat("the lowest GBW that reaches it is ", Compact(design.leastGbw), "Hz");
        throw Refused("compensation-unreachable",
                      Concat("--compensate: an op-amp of GBW ", Compact(opAmp.gbw),
                             "Hz cannot give this fa, fo and Q; ", least));
    }
    ComponentValues parts = ComponentsOf(design.exact.circuit);
    const std::size_t first = ideal.isLpf ? 3 : 0;
    for (std::size_t i = 0; i < 3; ++i) {
        parts[first + i] = RoundToSeries(parts[first + i], series[i]);
    }
    design.rounded = CircuitOf(parts, ideal.isLpf);
    design.result = DominantPoles(design.rounded, opAmp);
    return design;
}

std::string CompensationText(const CompensatedDesign& d, const OpAmp& opAmp,
                             std::string_view lineEnd) {
    const ComponentValues exact = ComponentsOf(d.exact.circuit);
    const std::size_t first = d.exact.circuit.isLpf ? 3 : 0;
    std::string parts;
    for (std::size_t i = first; i < first + 3; ++i) {
        parts += Concat(i == first ? "" : "  ", ComponentName(i), " = ", Compact(exact[i]));
    }
    return Concat("Compensated for a single-pole op-amp of GBW ", Compact(opAmp.gbw),
                  "Hz: the results above are the rounded circuit's with it.", lineEnd,
                  "Before rounding: ", parts, lineEnd,
                  "Lowest GBW that reaches the request: ", Compact(d.leastGbw), "Hz", lineEnd);
}

Json CompensationJson(const CompensatedDesign& d) {
    return {{"exact", CircuitJson(d.exact.circuit)},
            {"exactResult", PolesJson(d.exact.poles)},
            {"leastGbw", JsonNumber(d.leastGbw)}};
}

std::string LeastGbwText(const Circuit& circuit, const OpAmp& opAmp, std::string_view lineEnd) {
    return Concat("Least GBW for fo and Q within 1 % of the ideal op-amp's: ",
                  Compact(LeastGbw(circuit, opAmp)), "Hz", lineEnd);
}

}  // namespace mirelto::cli
