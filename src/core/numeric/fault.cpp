#include "mirelto/numeric/fault.h"

namespace mirelto {

const char* FaultText(FaultKind kind) noexcept {
    switch (kind) {
        case FaultKind::InvalidOperation:
            return "Invalid floating point operation";
        case FaultKind::DivisionByZero:
            return "Floating point division by zero";
        case FaultKind::Overflow:
            return "Floating point overflow";
        case FaultKind::None:
            break;
    }
    return "";
}

const char* FaultCode(FaultKind kind) noexcept {
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
    return "";
}

}  // namespace mirelto
