// Value text: engineering notation with SI prefix letters ("22k", "3.3n", "1.2e-6", "4k7").
// Owns reading typed text into doubles in base units; writing them back is value_format.h's.
// Always "." as the decimal mark, whatever the process locale. Keeps no state.
#pragma once

#include <string_view>

namespace mirelto {

// The value of a typed text (UTF-8, any bytes), or a quiet NaN when it holds no number.
// Never throws.
double ParseValue(std::string_view text);

}  // namespace mirelto
