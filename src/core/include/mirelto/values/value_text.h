// Value text: engineering notation with SI prefix letters ("22k", "3.3n", "1.2e-6", "4k7").
// Owns reading typed text into doubles in base units; writing them back is value_format.h's.
// Always "." as the decimal mark, whatever the process locale. Keeps no state.
#pragma once

#include <string_view>

namespace mirelto {

// The value of a typed text (UTF-8, any bytes), or a quiet NaN when it holds no number.
// Never throws.
double ParseValue(std::string_view text);

// A percentage as typed: a value text, a trailing "%" allowed ("1", "1%", "500m"), read as a
// fraction from 0 up to (not including) kMostPercent %.
inline constexpr double kMostPercent = 100;
enum class PercentProblem { None, NotAPercentage, OutOfRange };
struct PercentReading {
    double fraction = 0;
    PercentProblem problem = PercentProblem::None;
};
PercentReading ParsePercent(std::string_view text);

}  // namespace mirelto
