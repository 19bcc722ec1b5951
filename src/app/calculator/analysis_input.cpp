#include "calculator/analysis_input.h"

namespace mirelto {

std::optional<AnalysisInput> AnalysisInputFrom(const DesignRecord& design,
                                               const std::optional<KeptRequest>& kept) {
    if (!design.ResultValid) {
        return std::nullopt;
    }
    AnalysisInput input;
    input.isLpf = design.IsLpf;
    input.hasRequest = design.ConstantMode;
    input.requested = {design.Fa, design.Fo, design.Q};
    if (!design.ConstantMode && kept && kept->isLpf == design.IsLpf) {
        input.hasRequest = true;
        input.requested = kept->request;
    }
    const DesignRecord& d = design;
    if (!design.ConstantMode) {
        input.built = {d.R1, d.R2, d.R3, d.C1, d.C2, d.C3, d.IsLpf};
    } else if (design.IsLpf) {
        input.built = {d.R1, d.R2, d.R3, d.ResC1, d.ResC2, d.ResC3, true};
    } else {
        input.built = {d.ResR1, d.ResR2, d.ResR3, d.C1, d.C2, d.C3, false};
    }
    return input;
}

}  // namespace mirelto
