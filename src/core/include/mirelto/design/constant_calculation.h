// The constant calculation ("定数計算") as one pure step: what the main window reads from its
// boxes goes in, and out comes everything the window would do with it, in its order: the request
// checks, the blank fill of the given parts, the part check, the synthesis, the rounded circuit
// with its fa, fo and Q, and where and why it stopped. The window, the analysis window's search,
// mirelto-cli and the tests all run it; it touches no global state and shows nothing, so it runs
// on any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "mirelto/design/circuit.h"
#include "mirelto/design/design_state.h"
#include "mirelto/design/messages.h"
#include "mirelto/numeric/fault.h"

namespace mirelto {

// What the window reads for the calculation. Values as ParseValue gives them: NaN where a box
// holds no number.
struct ConstantRequest {
    PoleSet request;  // fa, fo, Q
    bool isLpf = true;
    std::array<double, 3> given{};          // LPF: R1..R3, HPF: C1..C3
    std::array<std::string, 3> givenTexts;  // their boxes' texts, for the blank fill
    std::array<std::int32_t, 3> series{};   // of the first, second and third computed part
};

// Where the calculation stopped, in the order the window checks.
enum class ConstantStop {
    Done,                // a result stands
    MissingFa,           // warning
    MissingFo,           // warning
    MissingQ,            // warning
    NonPositiveRequest,  // error: fa, fo or Q of zero or less
    MissingFirstPart,    // warning: R1 (LPF) or C1 (HPF) holds no number
    NonPositivePart,     // error: a given part of zero or less, refused before any arithmetic
    Unrealisable,        // error: the synthesis needs a part of zero or less
    Fault,               // the arithmetic faulted; `fault` says how
};

struct ConstantOutcome {
    ConstantStop stop = ConstantStop::Done;
    FaultKind fault = FaultKind::None;
    // The design record as the window leaves it: after a fault, as it stood at the fault.
    DesignRecord record;
    // Past the request checks: the window has emptied its result boxes.
    bool partsRead = false;
    // The given parts' texts after the blank fill, and which of them it wrote.
    std::array<std::string, 3> givenTexts;
    std::array<bool, 3> filled{};
    // The rounded circuit, set once the synthesis has made it (also when its analysis faults).
    bool synthesised = false;
    Circuit built;
    // Done: fa, fo and Q of the rounded circuit (also in `record`).
    PoleSet result;
};

// The constant calculation over a copy of `before` (the window passes DesignState and stores the
// outcome's record back).
ConstantOutcome CalculateConstants(const DesignRecord& before, const ConstantRequest& request);

// The message the window shows for a stop in this mode; none for Done and Fault.
std::optional<MessageId> StopMessage(ConstantStop stop, bool isLpf);

}  // namespace mirelto
