#include "mirelto/numeric/polinom3.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "numeric/bairstow.h"
#include "numeric/checked_real.h"
#include "numeric/constants.h"
#include "numeric/cubic_root_check.h"

namespace mirelto {

thread_local std::int32_t PolyDegree = 0;
thread_local std::array<double, 6> PolyCoef{};
thread_local std::array<double, 6> RootRe{};
thread_local std::array<double, 6> RootIm{};

using checked::Abs;
using checked::Exp;
using checked::Ln;
using checked::Real;
using checked::Sqrt;

double CubeRoot(double x) {
    const Real v = x;
    if (0 > v) {
        return -Exp(Ln(Abs(v)) / 3);
    }
    return Exp(Ln(v) / 3);
}

double CardanoRoot(double k2, double k1, double k0) {
    const Real m = -Real(k2);
    const Real p = (k1 * 3 - m * m) / 9;
    const Real q = ((((m * 2) * m) * m - (m * 9) * k1) + (-Real(k0)) * 27) / 27;
    const Real w = (((p * 4) * p) * p) / (q * q) + 1;
    const Real h = Sqrt(Abs(w));
    const Real u = ((h + 1) * q) / 2;
    const Real v = ((h - 1) * q) / 2;
    const Real cubeRootU = CubeRoot(u);
    const Real cubeRootV = CubeRoot(v);
    return (cubeRootU - cubeRootV) + m / 3;
}

void Bairstow(std::int32_t n, std::array<double, 6>& a, std::array<double, 6>& re,
              std::array<double, 6>& im) {
    bairstow::Over<Real>(n, a, re, im);
}

double CubicRealRoot(double k3, double k2, double k1, double k0) {
    PolyDegree = 3;
    PolyCoef[0] = k3;
    PolyCoef[1] = k2;
    PolyCoef[2] = k1;
    PolyCoef[3] = k0;
    // Plain doubles first, on copies; the checked iteration only where they lost a fault.
    std::array<double, 6> a = PolyCoef, re = RootRe, im = RootIm;
    if (bairstow::Over<double>(PolyDegree, a, re, im)) {
        PolyCoef = a;
        RootRe = re;
        RootIm = im;
    } else {
        Bairstow(PolyDegree, PolyCoef, RootRe, RootIm);
    }
    const double x = RootRe[1] != 0 ? RootRe[1] : CardanoRoot(k2, k1, k0);

    // The iteration can accept a quadratic that is not a factor, and Cardano's formula gives no
    // root when all three roots are real: never hand such a value on as a root.
    const bool finite = std::isfinite(k2) && std::isfinite(k1) && std::isfinite(k0);
    if (!finite || !std::isfinite(x) || cubic::IsRoot(k2, k1, k0, x)) {
        return x;
    }
    return cubic::RealRootNear(k2, k1, k0, x);
}

}  // namespace mirelto
