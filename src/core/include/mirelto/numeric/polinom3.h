// Cubic root finder: one real root of a monic real cubic, by Bairstow's iteration (dividing from
// the constant term upwards) with Cardano's formula as the fallback, and a final check that the
// value returned really is a root. The arrays are module-level and keep the last call's roots;
// each thread has its own, so that analyses may run off the user-interface thread.
#pragma once

#include <array>
#include <cstdint>

namespace mirelto {

extern thread_local std::int32_t PolyDegree;
// Slot i holds the coefficient of x^(PolyDegree - i); Bairstow also uses it as work space.
extern thread_local std::array<double, 6> PolyCoef;
// Roots in slots 1..PolyDegree; slot 0 is never written.
extern thread_local std::array<double, 6> RootRe, RootIm;

// Signed real cube root, exp(ln|x| / 3); x = 0 faults with a division by zero.
double CubeRoot(double x);

// A real root of x^3 + k2 x^2 + k1 x + k0 by Cardano's formula (not a root when all three roots
// are real and distinct).
double CardanoRoot(double k2, double k1, double k0);

// All n (<= 3) roots of a[0] x^n + ... + a[n] into re/im slots 1..n, or zeros when the iteration
// does not converge. a is work space afterwards.
void Bairstow(std::int32_t n, std::array<double, 6>& a, std::array<double, 6>& re,
              std::array<double, 6>& im);

// A real root of k3 x^3 + k2 x^2 + k1 x + k0 with k3 = 1.
double CubicRealRoot(double k3, double k2, double k1, double k0);

}  // namespace mirelto
