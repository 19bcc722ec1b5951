#include "refusal.h"

#include <new>

#include <mirelto/numeric/fault.h>

#include "common.h"
#include "json.h"

namespace mirelto::cli {

namespace {

std::string MessageCode(MessageId id) {
    switch (id) {
        case MessageId::FaMissing:
            return "fa-missing";
        case MessageId::FoMissing:
            return "fo-missing";
        case MessageId::QMissing:
            return "q-missing";
        case MessageId::RequestNotPositive:
            return "request-not-positive";
        case MessageId::R1Missing:
            return "r1-missing";
        case MessageId::C1Missing:
            return "c1-missing";
        case MessageId::PartsMissing:
            return "parts-missing";
        case MessageId::PartsNotPositive:
            return "part-not-positive";
        case MessageId::UnrealisableLpf:
            return "unrealisable-lpf";
        case MessageId::UnrealisableHpf:
            return "unrealisable-hpf";
    }
    return "failed";
}

std::string FaultCode(FaultKind kind) {
    switch (kind) {
        case FaultKind::InvalidOperation:
            return "floating-point-invalid-operation";
        case FaultKind::DivisionByZero:
            return "floating-point-division-by-zero";
        case FaultKind::Overflow:
            return "floating-point-overflow";
        case FaultKind::None:
            break;
    }
    return "failed";
}

std::string ProblemCode(InputProblem code) {
    switch (code) {
        case InputProblem::None:
            break;
        case InputProblem::RequestNotPositive:
            return "request-not-positive";
        case InputProblem::PartNotPositive:
            return "part-not-positive";
        case InputProblem::NegativeSeries:
            return "negative-series";
        case InputProblem::NoPreferredValues:
            return "no-preferred-values";
        case InputProblem::RoundedOutOfRange:
            return "rounded-out-of-range";
        case InputProblem::StepsOutOfRange:
            return "steps-out-of-range";
        case InputProblem::NothingKept:
            return "nothing-kept";
        case InputProblem::ToleranceOutOfRange:
            return "tolerance-out-of-range";
        case InputProblem::NoPoles:
            return "no-poles";
        case InputProblem::TrialsOutOfRange:
            return "trials-out-of-range";
        case InputProblem::BinsOutOfRange:
            return "bins-out-of-range";
        case InputProblem::CutoffRangeInvalid:
            return "cutoff-range-invalid";
    }
    return "failed";
}

}  // namespace

Refused StopRefusal(ConstantStop stop, FaultKind fault, bool isLpf) {
    const std::optional<MessageId> message = StopMessage(stop, isLpf);
    const std::string code = message ? MessageCode(*message) : FaultCode(fault);
    return Refused(code, StopText(stop, fault, isLpf));
}

Refused ProblemRefusal(const Problem& problem) {
    return Refused(ProblemCode(problem.code), ProblemText(problem));
}

std::string DesignFileCode(DesignFileProblem problem) {
    switch (problem) {
        case DesignFileProblem::NotFound:
            return "design-file-not-found";
        case DesignFileProblem::IsDirectory:
            return "design-file-is-directory";
        case DesignFileProblem::Unreadable:
            return "design-file-unreadable";
        case DesignFileProblem::TooLarge:
            return "design-file-too-large";
        case DesignFileProblem::Empty:
            return "design-file-empty";
        case DesignFileProblem::NotUtf8:
            return "design-file-not-utf8";
        case DesignFileProblem::Truncated:
            return "design-file-truncated";
        case DesignFileProblem::NotJson:
            return "design-file-not-json";
        case DesignFileProblem::NotOurs:
            return "design-file-not-ours";
        case DesignFileProblem::NewerVersion:
            return "design-file-newer-version";
        case DesignFileProblem::Missing:
            return "design-file-missing-key";
        case DesignFileProblem::WrongType:
            return "design-file-wrong-type";
        case DesignFileProblem::BadValue:
            return "design-file-bad-value";
    }
    return "design-file";
}

std::string CodeOf(const std::exception& e) {
    if (const auto* refused = dynamic_cast<const Refused*>(&e)) {
        return refused->Code();
    }
    if (const auto* fault = dynamic_cast<const FloatingPointFault*>(&e)) {
        return FaultCode(fault->Kind());
    }
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
        return "out-of-memory";
    }
    return "failed";
}

std::string ErrorJsonText(std::string_view code, std::string_view message) {
    return JsonText({{"error", {{"code", code}, {"message", message}}}});
}

}  // namespace mirelto::cli
