// The SI prefixes the programs read and write, pico to tera, three decades apart: one table for
// the value texts, the result boxes, the report and the chart labels.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace mirelto {

struct SiPrefix {
    int exponent;      // of ten: -12 to 12
    double value;      // 10^exponent, the nearest double: what a result is divided by
    double magnitude;  // 10^|exponent|, exact: what a typed number is divided or multiplied by
    std::string_view letter;  // as results are written, ASCII: "u" for micro, "" for none
    std::string_view symbol;  // as a person reads it, UTF-8: "µ" for micro
};

// clang-format off
inline constexpr std::array<SiPrefix, 9> kSiPrefixes{{
    {-12, 1e-12, 1e12, "p", "p"},
    {-9,  1e-9,  1e9,  "n", "n"},
    {-6,  1e-6,  1e6,  "u", "\xC2\xB5"},
    {-3,  1e-3,  1e3,  "m", "m"},
    {0,   1,     1,    "",  ""},
    {3,   1e3,   1e3,  "k", "k"},
    {6,   1e6,   1e6,  "M", "M"},
    {9,   1e9,   1e9,  "G", "G"},
    {12,  1e12,  1e12, "T", "T"},
}};
// clang-format on

// The row without a prefix.
inline constexpr std::size_t kSiUnitRow = 4;

}  // namespace mirelto
