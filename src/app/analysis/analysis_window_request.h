// The request the analysis window compares a circuit with after a transfer-function calculation:
// that of the last successful constant calculation, kept by the main window while its mode stays,
// so that a circuit typed or applied afterwards is judged against what was asked for.
#pragma once

#include <mirelto/design/circuit.h>

namespace mirelto {

struct KeptRequest {
    PoleSet request;
    bool isLpf = true;
};

}  // namespace mirelto
