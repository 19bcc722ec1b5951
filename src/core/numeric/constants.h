// Constants the calculations share. Internal to the core.
#pragma once

#include <limits>
#include <numbers>

namespace mirelto {

// Hertz to radians per second; 0x401921FB54442D18 as a double.
inline constexpr double kTwoPi = 2 * std::numbers::pi;

// The value of a figure that is not defined.
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace mirelto
