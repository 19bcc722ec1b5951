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

}  // namespace mirelto
