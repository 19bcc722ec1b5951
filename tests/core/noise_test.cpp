// The noise analysis against closed forms where the circuit makes them simple: far below fo the
// low-pass follower passes en 1:1 and its three resistors act as one of R1 + R2 + R3, so the
// integrals of white and 1/f noise are known exactly; and the shares, the band defaults and the
// dynamic range follow their definitions. The transfers themselves are checked against ngspice
// (tests/cli/ngspice_noise_test.cpp).
#include <gtest/gtest.h>

#include <cmath>

#include "mirelto/tools/noise.h"

namespace mirelto {
namespace {

Circuit LowPass() {
    Circuit c;
    c.R1 = c.R2 = c.R3 = 22e3;
    c.C1 = 470e-12;
    c.C2 = 1.5e-9;
    c.C3 = 68e-12;
    return c;
}

// int_f1^f2 e^2 (1 + fc / f) df = e^2 ((f2 - f1) + fc ln(f2 / f1)).
double WhiteAndFlicker(double e, double corner, double f1, double f2) {
    return e * std::sqrt((f2 - f1) + corner * std::log(f2 / f1));
}

TEST(Noise, FarBelowFoMatchesClosedForms) {
    NoiseInput input;
    input.circuit = LowPass();
    input.opAmp.en = 10e-9;
    input.opAmp.enCorner = 100;
    input.opAmp.in = 1e-12;
    input.opAmp.inCorner = 0;
    input.band = {0.1, 10};
    const NoiseResult r = AnalyseNoise(input);
    const double fourKT = 4 * 1.380649e-23 * 300.15;
    const double resistors = std::sqrt(fourKT * 66e3 * 9.9);
    const double sumR = std::hypot(r.rms[0], r.rms[1], r.rms[2]);
    EXPECT_NEAR(sumR, resistors, resistors * 1e-5);
    const double en = WhiteAndFlicker(10e-9, 100, 0.1, 10);
    EXPECT_NEAR(r.rms[3], en, en * 1e-5);
    const double in = 1e-12 * 66e3 * std::sqrt(9.9);  // into R1 + R2 + R3
    EXPECT_NEAR(r.rms[4], in, in * 1e-5);
    double shares = 0;
    for (std::size_t s = 0; s < kNoiseSourceCount; ++s) {
        shares += r.Share(static_cast<NoiseSource>(s));
    }
    EXPECT_NEAR(shares, 1, 1e-12);
}

TEST(Noise, EnPeaksNearFoInsteadOfPassingOneToOne) {
    NoiseInput input;
    input.circuit = LowPass();
    input.opAmp.en = 1e-9;
    const NoiseResult r = AnalyseNoise(input);
    ASSERT_FALSE(r.frequency.empty());
    double largest = 0;
    for (const double d : r.density[3]) {
        largest = std::max(largest, d);
    }
    EXPECT_GT(largest, 2e-9);  // C2's positive feedback raises the noise gain near fo
    EXPECT_NEAR(r.density[3].front(), 1e-9, 0.05e-9);  // the plot starts 1.6 decades below fo
}

TEST(Noise, DynamicRangeFromSwingAndMissingFiguresListed) {
    NoiseInput input;
    input.circuit = LowPass();
    input.band = {20, 20e3};
    NoiseResult r = AnalyseNoise(input);
    EXPECT_TRUE(std::isnan(r.dynamicRangeDb));
    EXPECT_EQ(r.missing.size(), 7u);
    input.opAmp.supply = 5;
    input.opAmp.swingLow = 1;
    input.opAmp.swingHigh = 1.5;
    r = AnalyseNoise(input);
    EXPECT_NEAR(r.dynamicRangeDb, 20 * std::log10(3.5 / std::sqrt(2.0) / r.totalRms), 1e-9);
    input.circuit.R2 = 0;
    EXPECT_TRUE(std::isnan(AnalyseNoise(input).totalRms));
}

}  // namespace
}  // namespace mirelto
