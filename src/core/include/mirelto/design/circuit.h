// What a design is about: the six parts of a circuit in its low-pass or high-pass form, the fa,
// fo and Q that describe a third-order response, and the six parts as a table indexed by part
// for the tools that go over them one by one. Value types and their small helpers; no state.
#pragma once

#include <array>
#include <cstddef>

namespace mirelto {

// A third-order response as the calculator states it: a real pole at fa and a pole pair of
// natural frequency fo and quality factor Q (Hz), gain 1 in the pass band (at zero frequency for
// the LPF, at infinite frequency for the HPF).
struct PoleSet {
    double fa = 0, fo = 0, q = 0;
};

// The six parts of a circuit of the given form (see filter.h for the two circuits).
struct Circuit {
    double R1 = 0, R2 = 0, R3 = 0;  // ohms
    double C1 = 0, C2 = 0, C3 = 0;  // farads
    bool isLpf = true;
};

// The six parts in a fixed order, R1, R2, R3, C1, C2, C3, for tables indexed by part.
inline constexpr std::size_t kComponentCount = 6;
using ComponentValues = std::array<double, kComponentCount>;
ComponentValues ComponentsOf(const Circuit& circuit);
Circuit CircuitOf(const ComponentValues& parts, bool isLpf);
// "R1" ... "C3"; an empty text past the last part.
const char* ComponentName(std::size_t part);
// Whether the part is one the user gives in this form (LPF: the resistors, HPF: the capacitors)
// rather than one the synthesis computes.
bool IsGivenComponent(std::size_t part, bool isLpf);
// Whether all six parts are positive and finite: a circuit the responses can be taken of.
bool HasUsableParts(const Circuit& circuit);

}  // namespace mirelto
