#include "numeric/checked_real.h"

#include <cmath>

namespace mirelto::checked {

void Raise(FaultKind kind) {
    throw FloatingPointFault(kind);
}

namespace {

// 2^63 as a double: the first value that no longer fits a signed 64-bit integer.
constexpr double kInt64Limit = 9223372036854775808.0;

std::int64_t ToInt64(double rounded) {
    if (std::isnan(rounded) || rounded >= kInt64Limit || rounded < -kInt64Limit) {
        Raise(FaultKind::InvalidOperation);
    }
    return static_cast<std::int64_t>(rounded);
}

}  // namespace

std::int64_t RoundToInt64(RealExpr x) {
    // nearbyint rounds halves to even under the default rounding mode.
    return ToInt64(std::nearbyint(static_cast<double>(x)));
}

std::int64_t TruncToInt64(RealExpr x) {
    return ToInt64(std::trunc(static_cast<double>(x)));
}

}  // namespace mirelto::checked
