// What makes a buildable circuit a poor one to build: its parts spread too widely, or a part so
// small or so large that the op-amp and the board take a share of the response. Codes and the
// parts they concern, with their English words and code names; the window words them in
// Japanese itself.
// Pure functions over a Circuit; no state.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "mirelto/design/circuit.h"

namespace mirelto {

// In the order DesignWarnings lists them.
enum class DesignWarning {
    ResistorSpread,   // the largest of R1..R3 over the smallest is more than kMaxResistorSpread
    CapacitorSpread,  // the same of C1..C3 over kMaxCapacitorSpread
    ResistorLow,      // a resistor below kMinResistor: it loads the op-amp output
    ResistorHigh,     // a resistor above kMaxResistor: its noise and the bias currents grow
    CapacitorLow,     // a capacitor below kMinCapacitor: stray and input capacitance take a share
};

// Spreads over this make the circuit sensitive to tolerances and stray capacitance.
inline constexpr double kMaxResistorSpread = 30;
inline constexpr double kMaxCapacitorSpread = 30;
inline constexpr double kMinResistor = 1e3;       // ohms
inline constexpr double kMaxResistor = 1e6;       // ohms
inline constexpr double kMinCapacitor = 100e-12;  // farads
// A part exactly at a threshold warns of nothing; a series member carries the bits of its decade
// scaling (1k as 999.9999999999999), so a comparison allows this much relative slack.
inline constexpr double kWarningSlack = 1e-9;

struct DesignWarningItem {
    DesignWarning code = DesignWarning::ResistorSpread;
    // The part concerned; for a spread, the largest of the three.
    std::size_t part = kComponentCount;
    // For a spread, the smallest of the three and the ratio largest / smallest; else none and 0.
    std::size_t otherPart = kComponentCount;
    double ratio = 0;
};

// The warnings in a fixed order: resistor spread, capacitor spread, then each low or high part
// by kind (resistors low, resistors high, capacitors low), R1 before R2 within a kind. A part
// that is not positive and finite warns of nothing, nor takes part in a spread.
std::vector<DesignWarningItem> DesignWarnings(const Circuit& circuit);

// "resistor-spread", "capacitor-spread", "resistor-low", "resistor-high", "capacitor-low": the
// codes mirelto-cli writes.
std::string_view DesignWarningCode(DesignWarning code);

// The warning in English on one line, naming the parts of `circuit` it concerns: "R3 = 360kΩ is
// above 1MΩ: its noise and the op-amp's bias currents grow".
std::string DescribeInEnglish(const DesignWarningItem& warning, const Circuit& circuit);

// A spread as people write it: "120:1", "45.5:1" (one decimal below 100), "." as the decimal
// mark whatever the process locale.
std::string SpreadText(double ratio);

}  // namespace mirelto
