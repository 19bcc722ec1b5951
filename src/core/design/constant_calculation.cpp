#include "mirelto/design/constant_calculation.h"

#include <algorithm>
#include <cmath>

#include "mirelto/design/filter.h"

namespace mirelto {

namespace {

ConstantStop CheckRequest(const PoleSet& r) {
    if (std::isnan(r.fa)) {
        return ConstantStop::MissingFa;
    }
    if (std::isnan(r.fo)) {
        return ConstantStop::MissingFo;
    }
    if (std::isnan(r.q)) {
        return ConstantStop::MissingQ;
    }
    if (r.fa <= 0 || r.fo <= 0 || r.q <= 0) {
        return ConstantStop::NonPositiveRequest;
    }
    return ConstantStop::Done;
}

// The steps past the request checks, over out.record; a fault leaves what they stored.
ConstantStop CalculateParts(ConstantOutcome& out, const ConstantRequest& in) {
    DesignRecord& st = out.record;
    double* const given[2][3] = {{&st.C1, &st.C2, &st.C3}, {&st.R1, &st.R2, &st.R3}};
    double* const* const parts = given[in.isLpf ? 1 : 0];
    out.partsRead = true;
    out.givenTexts = in.givenTexts;
    *parts[0] = in.given[0];
    if (std::isnan(*parts[0])) {
        return ConstantStop::MissingFirstPart;
    }
    *parts[1] = in.given[1];
    *parts[2] = in.given[2];
    // A blank box takes the value and the text of the one before it.
    for (std::size_t i = 1; i < 3; ++i) {
        if (std::isnan(*parts[i])) {
            *parts[i] = *parts[i - 1];
            out.givenTexts[i] = out.givenTexts[i - 1];
            out.filled[i] = true;
        }
    }
    // A part of zero or less makes no filter: the arithmetic would fault on a zero and turn a
    // negative part into negative frequencies or advice that cannot be followed.
    if (std::any_of(parts, parts + 3, [](const double* v) { return !(*v > 0); })) {
        return ConstantStop::NonPositivePart;
    }
    st.Series1 = in.series[0];
    st.Series2 = in.series[1];
    st.Series3 = in.series[2];
    st.ResultValid = true;
    if (!SynthesiseInto(st, st.Fa, st.Fo, st.Q, st.Series1, st.Series2, st.Series3, st.IsLpf)) {
        st.ResultValid = false;
        return ConstantStop::Unrealisable;
    }
    out.built = {st.ResR1, st.ResR2, st.ResR3, st.ResC1, st.ResC2, st.ResC3, st.IsLpf};
    out.synthesised = true;
    AnalyseTransferInto(st, st.ResR1, st.ResR2, st.ResR3, st.ResC1, st.ResC2, st.ResC3);
    out.result = {st.FaResult, st.FoResult, st.QResult};
    return ConstantStop::Done;
}

}  // namespace

ConstantOutcome CalculateConstants(const DesignRecord& before, const ConstantRequest& request) {
    ConstantOutcome out;
    out.record = before;
    DesignRecord& st = out.record;
    st.ResultValid = false;
    st.ConstantMode = true;
    st.Fa = request.request.fa;
    st.Fo = request.request.fo;
    st.Q = request.request.q;
    out.stop = CheckRequest(request.request);
    if (out.stop != ConstantStop::Done) {
        return out;
    }
    st.IsLpf = request.isLpf;
    try {
        out.stop = CalculateParts(out, request);
    } catch (const FloatingPointFault& fault) {
        out.stop = ConstantStop::Fault;
        out.fault = fault.Kind();
    }
    return out;
}

std::optional<MessageId> StopMessage(ConstantStop stop, bool isLpf) {
    switch (stop) {
        case ConstantStop::MissingFa:
            return MessageId::FaMissing;
        case ConstantStop::MissingFo:
            return MessageId::FoMissing;
        case ConstantStop::MissingQ:
            return MessageId::QMissing;
        case ConstantStop::NonPositiveRequest:
            return MessageId::RequestNotPositive;
        case ConstantStop::MissingFirstPart:
            return isLpf ? MessageId::R1Missing : MessageId::C1Missing;
        case ConstantStop::NonPositivePart:
            return MessageId::PartsNotPositive;
        case ConstantStop::Unrealisable:
            return isLpf ? MessageId::UnrealisableLpf : MessageId::UnrealisableHpf;
        case ConstantStop::Done:
        case ConstantStop::Fault:
            break;
    }
    return std::nullopt;
}

}  // namespace mirelto
