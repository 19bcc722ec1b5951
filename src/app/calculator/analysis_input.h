// What the calculator hands the analysis after a calculation: the request and circuit of its
// design record, with the request kept from an earlier constant calculation for comparison.
#pragma once

#include <optional>

#include <mirelto/design/circuit.h>
#include <mirelto/design/design_state.h>
#include <mirelto/response/analysis.h>

namespace mirelto {

// The request the analysis window compares a circuit with after a transfer-function calculation:
// that of the last successful constant calculation, kept by the main window while its mode stays,
// so that a circuit typed or applied afterwards is judged against what was asked for.
struct KeptRequest {
    PoleSet request;
    bool isLpf = true;
};

// What the analysis draws for the design record after a calculation: the request and the result
// circuit after a constant calculation (the given parts with the rounded computed ones); after a
// transfer-function calculation the circuit of the six parts, compared with `kept` when that was
// asked in the same mode, alone otherwise; none without a valid result.
std::optional<AnalysisInput> AnalysisInputFrom(const DesignRecord& design,
                                               const std::optional<KeptRequest>& kept = {});

}  // namespace mirelto
