// E-series preferred values: the k-th value of a series of n values per decade, rounding to the
// nearest member on a logarithmic scale, a member's nominal decimal value, and reading a series
// selector's text. Keeps no state.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace mirelto {

// The series parts are sold in, E3 to E192: the sizes a series selector offers and mirelto-cli
// takes (besides 0, no rounding).
inline constexpr std::array<std::int32_t, 7> kStandardSeries{3, 6, 12, 24, 48, 96, 192};

// The value with index k in the series of size n (n != 0); k = 0 is 1.0, k = n is 10.0.
double SeriesValue(std::int32_t k, std::int32_t n);

// The value rounded to the series of size n, sign kept; unchanged when it is zero or n is 0.
// A negative size rounds as its magnitude.
double RoundToSeries(double value, std::int32_t n);

// The nominal decimal value of a member: when `value` lies within 1e-12 of a member of a
// selector series (E3 to E192), the double nearest to that member's decimal value (1.5e-09, not
// the 1.4999999999999423e-09 the decade scaling leaves, nor the 2.2000000000000003e-09 "2.2n"
// reads as); any other value unchanged. For output only: calculations keep their bits.
double NominalValue(double value);

// The series size a selector text names: 0 for "∞" and for every text that is not an integer.
// Never throws.
std::int32_t ParseSeries(std::string_view text);

}  // namespace mirelto
