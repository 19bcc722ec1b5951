// Value text: engineering notation with SI prefix letters ("22k", "3.3n", "1.2e-6", "4k7").
// Owns reading typed text into doubles in base units; writing them back is value_format.h's.
// Always "." as the decimal mark, whatever the process locale. Keeps no state.
#pragma once

#include <string_view>

namespace mirelto {

// The value of a typed text (UTF-8, any bytes), or a quiet NaN when it holds no number.
// Never throws.
double ParseValue(std::string_view text);

// The value of a text that holds a number and nothing ParseValue would skip or take apart: no
// comma, underscore or blank inside the number, and after it at most a prefix letter and one
// unit ("Hz", "Ω", "ohm", "F", "V", "A", "s", "V/s"), blanks allowed between them ("10 kHz",
// "4k7", "3.3 nF"); else a quiet NaN. Where it gives a value, ParseValue gives the same one.
// For command lines, where a text the window would read by skipping some of it ("1,5k" as 15k,
// "10 trials" as 10T) is more likely a mistake than a value. Never throws.
double ParseValueStrict(std::string_view text);

// How a text is read: as the window reads its boxes (ParseValue), or strictly.
enum class ValueReading { Window, Strict };

// A percentage as typed: a value text, a trailing "%" allowed ("1", "1%", "500m"), read as a
// fraction from 0 up to (not including) kMostPercent %.
inline constexpr double kMostPercent = 100;
enum class PercentProblem { None, NotAPercentage, OutOfRange };
struct PercentReading {
    double fraction = 0;
    PercentProblem problem = PercentProblem::None;
};
PercentReading ParsePercent(std::string_view text, ValueReading reading = ValueReading::Window);

}  // namespace mirelto
