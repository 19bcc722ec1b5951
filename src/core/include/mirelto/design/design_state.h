// The calculator's one working record: request, working and result components, series sizes,
// the back-computed transfer function and the three flags. Module-level for the program's life;
// the filter mathematics reads its inputs from it and writes its results into it.
#pragma once

#include <cstdint>

namespace mirelto {

// Frequencies in hertz, resistors in ohms, capacitors in farads; Q is a plain number.
struct DesignRecord {
    double FaResult = 0.0;                               // fa of the result circuit
    double FoResult = 0.0;                               // fo of the result circuit
    double QResult = 0.0;                                // Q of the result circuit
    double ResC1 = 0.0, ResC2 = 0.0, ResC3 = 0.0;        // capacitors of the result circuit
    double ResR1 = 0.0, ResR2 = 0.0, ResR3 = 0.0;        // resistors of the result circuit
    double Fa = 0.0, Fo = 0.0, Q = 0.0;                  // the request
    double R1 = 0.0, R2 = 0.0, R3 = 0.0;                 // working resistors
    double C1 = 0.0, C2 = 0.0, C3 = 0.0;                 // working capacitors
    std::int32_t Series1 = 0, Series2 = 0, Series3 = 0;  // 0: no rounding
    bool IsLpf = false;                                  // true: LPF, false: HPF
    bool ConstantMode = false;  // last command: constant calculation (true) or transfer function
    bool ResultValid = false;   // a valid result stands
};

extern DesignRecord DesignState;

}  // namespace mirelto
