// Filter mathematics over DesignState: the transfer function (fa, fo, Q) of a complete circuit,
// and the synthesis of the three missing components from a requested transfer function.
//
// LPF: R1, R2, R3 in series from the input to the follower's input P; C1 from the first node to
// ground, C2 from the second node to the output, C3 from P to ground. HPF: every R and C
// exchanged. Frequencies in hertz, resistors in ohms, capacitors in farads.
//
// Both raise FloatingPointFault at the first invalid operation, division by zero or overflow;
// fields written before the fault keep their new values.
#pragma once

#include <cstdint>
#include <span>

#include "mirelto/design/circuit.h"
#include "mirelto/design/design_state.h"

namespace mirelto {

// fa, fo and Q of the circuit in the form DesignState.IsLpf, into DesignState.FaResult, FoResult,
// QResult.
void AnalyzeTransfer(double R1, double R2, double R3, double C1, double C2, double C3);

// fa, fo, Q of the circuit by the same calculation as AnalyzeTransfer, into a local record
// instead of DesignState, so it runs on any thread; all three NaN when the circuit has no real
// pole and complex pair (a part that is not positive and finite, say) or the calculation faults.
PoleSet CircuitPoles(const Circuit& circuit);

// CircuitPoles of each circuit into poles[i] (as many as circuits), the same values, a few
// circuits at a time with their root finders' iterations interleaved.
void CircuitPolesOf(std::span<const Circuit> circuits, std::span<PoleSet> poles);

// Computes the missing components from fa, fo, Q (all > 0) and the given ones in DesignState
// (R1..R3 for the LPF, C1..C3 for the HPF), rounds each to its series (0: no rounding) and,
// while DesignState.ResultValid is set, analyses the rounded circuit. An unrealisable request is
// reported through the message sink (MessageId::UnrealisableLpf or
// UnrealisableHpf) before ResultValid is cleared.
void SynthesizeFilter(double Fa, double Fo, double Q, std::int32_t Series1, std::int32_t Series2,
                      std::int32_t Series3, bool IsLpf);

// The two steps of SynthesizeFilter over any record, which it runs over DesignState: the
// synthesis up to the rounded parts (false, with nothing shown and `record.ResultValid` as it
// was, when the request is unrealisable), and the analysis of AnalyzeTransfer.
bool SynthesiseInto(DesignRecord& record, double Fa, double Fo, double Q, std::int32_t Series1,
                    std::int32_t Series2, std::int32_t Series3, bool IsLpf);
void AnalyseTransferInto(DesignRecord& record, double R1, double R2, double R3, double C1,
                         double C2, double C3);

}  // namespace mirelto
