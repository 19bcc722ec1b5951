// The roots of a real polynomial of degree 3 at most, as complex numbers: the closed forms for
// degrees 1 and 2, and for the cubic one real root by a bracketed Newton iteration, deflation to
// a quadratic and a polish of the other two. Plain double arithmetic, no state.
#pragma once

#include <complex>

namespace mirelto {

using Complex = std::complex<double>;

// The roots of c[0] + c[1] x + c[2] x^2 + c[3] x^3; `count` is the degree left after dropping
// zero leading coefficients. Complex roots come as exact conjugate pairs.
struct Roots {
    Complex root[3];
    int count = 0;
};
Roots PolynomialRoots(const double (&c)[4]);

}  // namespace mirelto
