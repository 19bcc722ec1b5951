// Which of three real poles is "fa": with Q under one half the second-order pair is two real
// poles, and the back-calculation of a circuit may name a different one of its three poles fa
// than the request did. Compared with a request, the poles are paired as the request's are.
#pragma once

#include "mirelto/design/circuit.h"

namespace mirelto {

// `built` with its three poles named after the nearest of `request`'s (by ratio): fa the pole
// nearest the request's fa, fo and Q from the other two. `built` unchanged unless both have
// three real poles (Q under one half) and another naming lies nearer.
PoleSet PairedLike(const PoleSet& built, const PoleSet& request);

}  // namespace mirelto
