#include "mirelto/design/circuit.h"

#include <cmath>

namespace mirelto {

namespace {

constexpr std::array<const char*, kComponentCount> kComponentNames{"R1", "R2", "R3",
                                                                   "C1", "C2", "C3"};

}  // namespace

ComponentValues ComponentsOf(const Circuit& c) {
    return {c.R1, c.R2, c.R3, c.C1, c.C2, c.C3};
}

Circuit CircuitOf(const ComponentValues& p, bool isLpf) {
    return Circuit{p[0], p[1], p[2], p[3], p[4], p[5], isLpf};
}

const char* ComponentName(std::size_t part) {
    return part < kComponentCount ? kComponentNames[part] : "";
}

bool IsGivenComponent(std::size_t part, bool isLpf) {
    const bool resistor = part < 3;
    return resistor == isLpf;
}

bool HasUsableParts(const Circuit& circuit) {
    for (const double part : ComponentsOf(circuit)) {
        if (!(part > 0) || !(part < HUGE_VAL)) {
            return false;
        }
    }
    return true;
}

}  // namespace mirelto
