#include "refusal.h"

#include <new>

#include <mirelto/numeric/fault.h>

#include "common.h"
#include "json.h"

namespace mirelto::cli {

namespace {

// A code name, or "failed" where the core names none.
std::string OrFailed(std::string_view code) {
    return code.empty() ? std::string("failed") : std::string(code);
}

}  // namespace

Refused StopRefusal(ConstantStop stop, FaultKind fault, bool isLpf) {
    const std::optional<MessageId> message = StopMessage(stop, isLpf);
    const std::string code = OrFailed(message ? TextOf(*message).code : FaultCode(fault));
    return Refused(code, StopText(stop, fault, isLpf));
}

Refused ProblemRefusal(const Problem& problem) {
    return Refused(OrFailed(ProblemCode(problem.code)), DescribeInEnglish(problem));
}

std::string CodeOf(const std::exception& e) {
    if (const auto* refused = dynamic_cast<const Refused*>(&e)) {
        return refused->Code();
    }
    if (const auto* fault = dynamic_cast<const FloatingPointFault*>(&e)) {
        return OrFailed(FaultCode(fault->Kind()));
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
