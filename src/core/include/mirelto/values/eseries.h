// E-series preferred values: the k-th value of a series of n values per decade, rounding to the
// nearest member on a logarithmic scale, and reading a series selector's text. Keeps no state.
#pragma once

#include <cstdint>
#include <string_view>

namespace mirelto {

// The value with index k in the series of size n (n != 0); k = 0 is 1.0, k = n is 10.0.
double SeriesValue(std::int32_t k, std::int32_t n);

// The value rounded to the series of size n, sign kept; unchanged when it is zero or n is 0.
// A negative size rounds as its magnitude.
double RoundToSeries(double value, std::int32_t n);

// The series size a selector text names: 0 for "∞" and for every text that is not an integer.
// Never throws.
std::int32_t ParseSeries(std::string_view text);

}  // namespace mirelto
