#include "test_support.h"

#include <array>
#include <complex>
#include <numbers>

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/numeric/fault.h"

namespace mirelto::test {

std::string FaultMessage(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const FloatingPointFault& fault) {
        return fault.what();
    }
    return "";
}

void DesignDefaultInTheWindow(bool isLpf, std::int32_t series) {
    DesignState = DesignRecord{};
    DesignState.IsLpf = isLpf;
    // The given boxes "22k" and "3.3n" as the window reads them (3.3 / 1e9, not 3.3e-9).
    if (isLpf) {
        DesignState.R1 = DesignState.R2 = DesignState.R3 = Kilo(22);
    } else {
        DesignState.C1 = DesignState.C2 = DesignState.C3 = Nano(3.3);
    }
    DesignState.ResultValid = true;
    const PoleSet& r = kDefaultRequest;
    SynthesizeFilter(r.fa, r.fo, r.q, series, series, series, isLpf);
}

namespace {

using Complex = std::complex<long double>;

// Roots of the monic cubic s^3 + c2 s^2 + c1 s + c0.
std::array<Complex, 3> MonicCubicRoots(long double c2, long double c1, long double c0) {
    const auto p = [&](Complex s) { return ((s + c2) * s + c1) * s + c0; };
    const long double radius =
        1 + std::max({std::fabs(c2), std::cbrt(std::fabs(c1) * std::fabs(c1) / 1.0L),
                      std::cbrt(std::fabs(c0))});
    std::array<Complex, 3> z{std::polar(radius, 0.4L), std::polar(radius, 2.5L),
                             std::polar(radius, 4.4L)};
    for (int iteration = 0; iteration < 2000; ++iteration) {
        long double change = 0;
        for (int i = 0; i < 3; ++i) {
            Complex denominator = 1;
            for (int j = 0; j < 3; ++j) {
                if (j != i) {
                    denominator *= z[i] - z[j];
                }
            }
            const Complex step = p(z[i]) / denominator;
            z[i] -= step;
            change = std::max(change, std::abs(step) / std::max(std::abs(z[i]), 1e-300L));
        }
        if (change < 1e-19L) {
            break;
        }
    }
    return z;
}

}  // namespace

Poles CircuitPoles(bool isLpf, double R1d, double R2d, double R3d, double C1d, double C2d,
                   double C3d) {
    const long double R1 = R1d, R2 = R2d, R3 = R3d, C1 = C1d, C2 = C2d, C3 = C3d;
    long double c2, c1, c0;
    if (isLpf) {
        // 1 + a1 s + a2 s^2 + a3 s^3
        const long double a1 = R1 * C1 + (R1 + R2 + R3) * C3;
        const long double a2 = R1 * C1 * C3 * (R2 + R3) + R3 * C2 * C3 * (R1 + R2);
        const long double a3 = R1 * R2 * R3 * C1 * C2 * C3;
        c2 = a2 / a3;
        c1 = a1 / a3;
        c0 = 1 / a3;
    } else {
        c2 = 1 / (R1 * C1) + (1 / R3) * (1 / C1 + 1 / C2 + 1 / C3);
        c1 = (1 / (R1 * R3 * C1)) * (1 / C2 + 1 / C3) + (1 / (R2 * R3 * C3)) * (1 / C1 + 1 / C2);
        c0 = 1 / (R1 * R2 * R3 * C1 * C2 * C3);
    }
    const std::array<Complex, 3> z = MonicCubicRoots(c2, c1, c0);
    // The real pole is the root with the smallest imaginary part relative to its size.
    int real = 0;
    for (int i = 1; i < 3; ++i) {
        if (std::fabs(z[i].imag()) / std::abs(z[i]) <
            std::fabs(z[real].imag()) / std::abs(z[real])) {
            real = i;
        }
    }
    const Complex pair = z[(real + 1) % 3];
    const long double twoPi = 2 * std::numbers::pi_v<long double>;
    Poles poles{};
    poles.fa = static_cast<double>(-z[real].real() / twoPi);
    poles.fo = static_cast<double>(std::abs(pair) / twoPi);
    poles.q = static_cast<double>(std::abs(pair) / (-2 * pair.real()));
    poles.complexPair = std::fabs(pair.imag()) > 1e-9L * std::abs(pair);
    return poles;
}

}  // namespace mirelto::test
