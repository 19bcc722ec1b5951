// The design the calculator starts with: the texts its boxes hold and the sizes its series
// selectors show when the window opens. mirelto-cli takes what it is not given from here, so that
// a bare command computes what the opened window computes.
#pragma once

#include <cstdint>
#include <string_view>

namespace mirelto {

struct DefaultDesignTexts {
    bool isLpf;
    std::string_view fa, fo, q;    // the request boxes
    std::string_view resistor;     // R1, the first given part of the low-pass form
    std::string_view capacitor;    // C1, the first given part of the high-pass form
    std::int32_t resistorSeries;   // the selectors of R1..R3
    std::int32_t capacitorSeries;  // the selectors of C1..C3
};

const DefaultDesignTexts& DefaultDesign();

}  // namespace mirelto
