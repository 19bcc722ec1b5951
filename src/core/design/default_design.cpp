#include "mirelto/design/default_design.h"

namespace mirelto {

const DefaultDesignTexts& DefaultDesign() {
    // fa = fo with Q = 1: the Butterworth response at 1.42 kHz; E24 resistors, E6 capacitors.
    static constexpr DefaultDesignTexts kDefault{
        .isLpf = true,
        .fa = "1.42k",
        .fo = "1.42k",
        .q = "1.0",
        .resistor = "22k",
        .capacitor = "3.3n",
        .resistorSeries = 24,
        .capacitorSeries = 6,
    };
    return kDefault;
}

}  // namespace mirelto
