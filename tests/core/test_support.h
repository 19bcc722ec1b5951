// Helpers shared by the core tests: fault capture, random values, and an independent pole
// computation that does not use the code under test.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <ostream>
#include <random>
#include <string>

#include "mirelto/design/circuit.h"

namespace mirelto::test {

// The text of the FloatingPointFault that fn raises, or "" when it raises none.
std::string FaultMessage(const std::function<void()>& fn);

inline double CubicResidual(double k2, double k1, double k0, double x) {
    return ((x + k2) * x + k1) * x + k0;
}

// The size of the largest terms of the cubic at x: the yardstick for its residual.
inline double CubicScale(double k2, double k1, double k0, double x) {
    const double a = std::fabs(x);
    return ((a + std::fabs(k2)) * a + std::fabs(k1)) * a + std::fabs(k0);
}

inline bool IsNear(double value, double expected, double relative) {
    return std::fabs(value - expected) <= relative * std::fabs(expected);
}

class Random {
  public:
    explicit Random(unsigned long long seed) : engine_(seed) {}
    double Uniform(double lo, double hi) {
        return std::uniform_real_distribution<>(lo, hi)(engine_);
    }
    double LogUniform(double lo, double hi) {
        return std::exp(Uniform(std::log(lo), std::log(hi)));
    }
    double Sign() { return Uniform(0, 1) < 0.5 ? -1.0 : 1.0; }
    std::mt19937_64& Engine() { return engine_; }

  private:
    std::mt19937_64 engine_;
};

// fa, fo (hertz) and Q of a circuit from the poles of its physical transfer function, found by
// Durand-Kerner iteration in long double. Meaningful when the poles are one real and one complex
// pair.
struct Poles {
    double fa, fo, q;
    bool complexPair;
};
Poles CircuitPoles(bool isLpf, double R1, double R2, double R3, double C1, double C2, double C3);

}  // namespace mirelto::test

namespace mirelto::test {

// Component values as the value text reads them: small prefixes divide, large ones multiply.
inline double Kilo(double v) {
    return v * 1e3;
}
inline double Mega(double v) {
    return v * 1e6;
}
inline double Micro(double v) {
    return v / 1e6;
}
inline double Nano(double v) {
    return v / 1e9;
}
inline double Pico(double v) {
    return v / 1e12;
}

// The decade factor 10^f as the rounding computes it outside 1e-3..1e6.
inline double Decade(int f) {
    return std::exp(f * 2.30258509299405);
}

// The default design: the window's boxes as it opens (fa = fo = 1.42k, Q = 1; R1..R3 = 22k on
// E6 for the LPF, C1..C3 = 3.3n on E24 for the HPF) and the circuits its constant calculation
// builds from them.
inline constexpr PoleSet kDefaultRequest{1420, 1420, 1};
inline constexpr Circuit kDefaultLowPass{22e3, 22e3, 22e3, 6.8e-9, 15e-9, 1e-9, true};
inline constexpr Circuit kDefaultHighPass{24e3, 10e3, 160e3, 3.3e-9, 3.3e-9, 3.3e-9, false};
// The result boxes the window shows for them: the three computed parts, then fa, fo and Q.
inline constexpr std::array<const char*, 6> kDefaultLowPassShown{
    "  6.800n", " 15.000n", "  1.000n", "  1.395k", "  1.631k", "961.092m"};
inline constexpr std::array<const char*, 6> kDefaultHighPassShown{
    " 24.000k", " 10.000k", "160.000k", "  1.463k", "  1.413k", "974.097m"};

// The window's constant calculation of the default request on the shared design record: a fresh
// record with the default given parts, result valid, then the synthesis rounding every computed
// part to `series` (0: no rounding).
void DesignDefaultInTheWindow(bool isLpf, std::int32_t series);

// Names parameterised cases after their rows' `name`.
template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// Failure messages name the row instead of dumping its bytes (bring it into the test's
// namespace with a using-declaration so that the printer finds it).
template <class Case>
requires requires(const Case& c) {
    c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

}  // namespace mirelto::test
