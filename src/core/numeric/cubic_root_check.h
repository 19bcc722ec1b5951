// The checks behind CubicRealRoot: whether a value is a root of a monic cubic, and a true real
// root found by bracketing when the iteration's value is not one.
#pragma once

namespace mirelto::cubic {

// |x^3 + k2 x^2 + k1 x + k0| within a few hundred units of rounding of its largest term.
bool IsRoot(double k2, double k1, double k0, double x);

// Of the real roots of x^3 + k2 x^2 + k1 x + k0, the one nearest to `hint`.
double RealRootNear(double k2, double k1, double k0, double hint);

}  // namespace mirelto::cubic
