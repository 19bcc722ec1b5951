// The one test every quantity of a calculation passes before it is used: above zero, neither
// infinite nor NaN (a frequency, a Q, a part value, a rate).
#pragma once

#include <cmath>

namespace mirelto {

// Whether `x` is above zero and finite; false for NaN.
inline bool IsPositiveFinite(double x) {
    return x > 0 && std::isfinite(x);
}

}  // namespace mirelto
