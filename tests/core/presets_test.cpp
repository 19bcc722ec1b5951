// Response presets: the list, published values, and each preset's defining property checked
// from its computed poles through the response functions (-3 dB point, ripple edge, delay,
// equiripple phase, Legendre magnitude), and the reciprocal high-pass mapping.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "mirelto/response/cutoff.h"
#include "mirelto/response/peak.h"
#include "mirelto/response/transfer.h"
#include "mirelto/tools/presets.h"
#include "mirelto/values/value_text.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::PrintTo;

constexpr double kTwoPi = 2 * std::numbers::pi;

const Preset& Named(std::string_view name) {
    for (const Preset& p : Presets()) {
        if (p.name == name) {
            return p;
        }
    }
    ADD_FAILURE() << "no preset " << name;
    return Presets().front();
}

double Decibels(Complex h) {
    return 20 * std::log10(std::abs(h));
}

// The window's list, in its order; names, families, parameters and normalisations.
TEST(PresetListTest, EveryPresetInTheWindowsOrder) {
    const std::vector<std::string_view> names{
        "Butterworth",
        "Bessel (-3 dB)",
        "Bessel (delay)",
        "Chebyshev 0.01 dB (-3 dB)",
        "Chebyshev 0.01 dB (ripple edge)",
        "Chebyshev 0.1 dB (-3 dB)",
        "Chebyshev 0.1 dB (ripple edge)",
        "Chebyshev 0.25 dB (-3 dB)",
        "Chebyshev 0.25 dB (ripple edge)",
        "Chebyshev 0.5 dB (-3 dB)",
        "Chebyshev 0.5 dB (ripple edge)",
        "Chebyshev 1 dB (-3 dB)",
        "Chebyshev 1 dB (ripple edge)",
        "Chebyshev 2 dB (-3 dB)",
        "Chebyshev 2 dB (ripple edge)",
        "Chebyshev 3 dB (-3 dB)",
        "Chebyshev 3 dB (ripple edge)",
        "Linear phase 0.05°",
        "Linear phase 0.5°",
        "Legendre",
    };
    const std::vector<Preset>& presets = Presets();
    ASSERT_EQ(presets.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(presets[i].name, names[i]);
    }
    const double ripples[] = {0.01, 0.1, 0.25, 0.5, 1, 2, 3};
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 2; ++j) {
            const Preset& p = presets[3 + 2 * i + j];
            EXPECT_EQ(p.family, ResponseFamily::Chebyshev);
            EXPECT_EQ(p.parameter, ripples[i]);
            EXPECT_EQ(p.normalisation,
                      j == 0 ? Normalisation::Cutoff3dB : Normalisation::RippleEdge);
        }
    }
    EXPECT_EQ(presets[2].normalisation, Normalisation::Delay);
    EXPECT_EQ(presets[17].parameter, 0.05);
    EXPECT_EQ(presets[18].parameter, 0.5);
}

struct PublishedCase {
    std::string name;
    std::string_view preset;
    PoleSet expected;  // fa/fc, fo/fc, Q
    double tolerance;  // half a unit of the last published digit
};

class PublishedValuesTest : public testing::TestWithParam<PublishedCase> {};

// A preset with values in the filter tables; compute; equal to the tables' digits.
TEST_P(PublishedValuesTest, MatchTheTables) {
    const PublishedCase& t = GetParam();
    const PoleSet p = NormalisedPoles(Named(t.preset));
    EXPECT_NEAR(p.fa, t.expected.fa, t.tolerance);
    EXPECT_NEAR(p.fo, t.expected.fo, t.tolerance);
    EXPECT_NEAR(p.q, t.expected.q, t.tolerance);
}

// Chebyshev 0.1 dB: poles -0.9694, -0.4847 +- j1.2062; 0.5 dB: -0.6265, -0.3132 +- j1.0219;
// Bessel (delay): -2.3222, -1.8389 +- j1.7544.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Tables, PublishedValuesTest, testing::Values(
    PublishedCase{"BesselCutoff", "Bessel (-3 dB)", {1.3227, 1.4476, 0.6910}, 5e-5},
    PublishedCase{"Chebyshev1dBCutoff", "Chebyshev 1 dB (-3 dB)", {0.4514, 0.9107, 2.0177}, 5e-5},
    PublishedCase{"Butterworth", "Butterworth", {1, 1, 1}, 1e-15},
    PublishedCase{"BesselDelay", "Bessel (delay)", {2.3222, 2.5415, 0.6910}, 5e-5},
    PublishedCase{"Chebyshev01dBRippleEdge", "Chebyshev 0.1 dB (ripple edge)", {0.9694, std::hypot(0.4847, 1.2062), std::hypot(0.4847, 1.2062) / 0.9694}, 1e-4},
    PublishedCase{"Chebyshev05dBRippleEdge", "Chebyshev 0.5 dB (ripple edge)", {0.6265, std::hypot(0.3132, 1.0219), std::hypot(0.3132, 1.0219) / 0.6264}, 1e-4}),
    test::CaseName<PublishedCase>);
// clang-format on

class EveryPresetTest : public testing::TestWithParam<Preset> {};

std::string PresetName(const testing::TestParamInfo<Preset>& info) {
    std::string name;
    for (char c : info.param.name) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += c;
        } else if (c == '.') {
            name += '_';
        }
    }
    return name;
}

// Each preset at three cutoff frequencies, both forms; its poles give a real pole and a pair
// with Q above 1/2; what fc means is checked on the response those poles describe: the -3 dB
// point at fc (1e-9), the gain at the ripple edge equal to the ripple with 0 dB ripple tops
// below it, or the group delay at zero frequency 1 / (2 pi fc); in HPF mode |H_HP(f)| equals
// |H_LP(fc^2 / f)|.
TEST_P(EveryPresetTest, PolesMeetTheNormalisation) {
    const Preset& preset = GetParam();
    for (double fc : {0.5, 1420.0, 2.2e6}) {
        const PoleSet lp = PresetPoles(preset, fc, true);
        ASSERT_TRUE(lp.fa > 0 && lp.fo > 0 && lp.q > 0.5) << fc;
        const Rational3 h = RequestedTransfer(lp, true);
        const auto response = [&h](double f) { return Evaluate(h, f); };
        switch (preset.normalisation) {
            case Normalisation::Cutoff3dB:
                EXPECT_NEAR(CutoffFrequency(response, true, fc / 100, fc * 100), fc, 1e-9 * fc);
                break;
            case Normalisation::RippleEdge: {
                EXPECT_NEAR(Decibels(Evaluate(h, fc)), -preset.parameter, 1e-9);
                // the third-order ripple: tops of 0 dB at zero and at fc sqrt(3)/2, a dip to
                // the full ripple at fc / 2
                EXPECT_NEAR(Decibels(Evaluate(h, fc * 1e-6)), 0, 1e-9);
                const Peak top = PeakGain(response, 0.6 * fc, 0.99 * fc);
                EXPECT_NEAR(top.gainDb, 0, 1e-9);
                EXPECT_NEAR(top.frequency, fc * std::sqrt(3.0) / 2, 1e-6 * fc);
                EXPECT_NEAR(Decibels(Evaluate(h, fc / 2)), -preset.parameter, 1e-9);
                break;
            }
            case Normalisation::Delay:
                EXPECT_NEAR(GroupDelay(h, 1e-9 * fc), 1 / (kTwoPi * fc), 1e-12 / (kTwoPi * fc));
                break;
        }

        const PoleSet hp = PresetPoles(preset, fc, false);
        EXPECT_NEAR(hp.fa, fc * fc / lp.fa, 1e-14 * hp.fa);
        EXPECT_NEAR(hp.fo, fc * fc / lp.fo, 1e-14 * hp.fo);
        EXPECT_EQ(hp.q, lp.q);
        const Rational3 high = RequestedTransfer(hp, false);
        for (double ratio : {0.01, 0.3, 0.9, 1.0, 1.7, 50.0}) {
            const double f = fc * ratio;
            EXPECT_NEAR(std::abs(Evaluate(high, f)), std::abs(Evaluate(h, fc * fc / f)),
                        1e-12 * std::abs(Evaluate(h, fc * fc / f)));
        }
        if (preset.normalisation == Normalisation::Cutoff3dB) {
            const auto highResponse = [&high](double f) { return Evaluate(high, f); };
            EXPECT_NEAR(CutoffFrequency(highResponse, false, fc / 100, fc * 100), fc, 1e-9 * fc);
        }
    }
}

// The texts 適用 writes and mirelto-cli reads: each reads back within 1e-6 of the preset's value,
// over frequencies whose texts fall in different SI rows.
TEST_P(EveryPresetTest, TextsReadBackAsThePresetsValues) {
    for (double fc : {0.5, 9.99, 1420.0, 2.2e6}) {
        for (bool isLpf : {true, false}) {
            const PoleSet p = PresetPoles(GetParam(), fc, isLpf);
            for (double v : {p.fa, p.fo, p.q}) {
                EXPECT_NEAR(ParseValue(PresetValueText(v)), v, 1e-6 * v) << PresetValueText(v);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Presets, EveryPresetTest, testing::ValuesIn(Presets()), PresetName);

// The -3 dB and delay forms of the Bessel response; the same shape (equal Q and fo/fa), scaled
// by the delay form's own -3 dB frequency.
TEST(BesselTest, BothNormalisationsAreOneShape) {
    const PoleSet cutoff = NormalisedPoles(Named("Bessel (-3 dB)"));
    const PoleSet delay = NormalisedPoles(Named("Bessel (delay)"));
    EXPECT_NEAR(cutoff.q, delay.q, 1e-14);
    EXPECT_NEAR(cutoff.fo / cutoff.fa, delay.fo / delay.fa, 1e-14);
    const Rational3 h = RequestedTransfer(delay, true);
    const double w3 = CutoffFrequency([&h](double f) { return Evaluate(h, f); }, true, 0.01, 100);
    EXPECT_NEAR(delay.fa / cutoff.fa, w3, 1e-12 * w3);
    EXPECT_NEAR(w3, 1.7557, 5e-5);  // the delay-normalised cubic's -3 dB point, from the tables
}

// The Legendre preset against the definition it was derived from: |H(jw)|^2 equals
// 1 / (1 + L3(w^2)) with L3(x) = 3x^3 - 3x^2 + x; the magnitude never rises above 0 dB.
TEST(LegendreTest, MagnitudeIsTheOptimumLPolynomial) {
    const Rational3 h = RequestedTransfer(PresetPoles(Named("Legendre"), 1, true), true);
    for (double w = 0.05; w < 5; w *= 1.1) {
        const double x = w * w;
        const double expected = 1 / (1 + ((3 * x - 3) * x + 1) * x);
        EXPECT_NEAR(std::norm(Evaluate(h, w)), expected, 1e-13 + 1e-12 * expected) << w;
    }
    const Peak peak = PeakGain([&h](double f) { return Evaluate(h, f); }, 1e-3, 10);
    EXPECT_EQ(peak.frequency, 1e-3);
}

// The phase error of the delay-normalised response against the linear phase -w (w in units of
// 2 pi fc), from its poles directly: arctangents of the real pole and the pair.
double PhaseError(const PoleSet& p, double w) {
    return w - std::atan(w / p.fa) - std::atan2(w * p.fo / p.q, p.fo * p.fo - w * w);
}

class LinearPhaseTest : public testing::TestWithParam<double> {};

// The delay-normalised linear-phase response for an error bound; sample its phase error
// finely; the first three extrema are -bound, +bound, -bound (1e-7 relative), the error stays
// inside the bound up to the band edge where it reaches +bound beyond the third extremum, and
// the -3 dB preset is the same shape.
TEST_P(LinearPhaseTest, PhaseErrorIsEquiripple) {
    const double degrees = GetParam();
    const double bound = degrees * std::numbers::pi / 180;
    const PoleSet p =
        NormalisedPoles({ResponseFamily::LinearPhase, degrees, Normalisation::Delay, ""});
    ASSERT_TRUE(p.fa > 0 && p.fo > 0 && p.q > 0.5);
    std::vector<double> extrema, where;
    double edge = 0;
    constexpr double kStep = 1e-4;
    for (double w = kStep; w < 6 && edge == 0; w += kStep) {
        const double before = PhaseError(p, w - kStep), at = PhaseError(p, w),
                     after = PhaseError(p, w + kStep);
        if ((at - before) * (after - at) < 0) {
            extrema.push_back(at);
            where.push_back(w);
        }
        if (at > bound * (1 + 1e-7)) {
            edge = w;
        }
        ASSERT_LE(std::fabs(at), bound * (1 + 1e-7) + (edge > 0 ? HUGE_VAL : 0)) << w;
    }
    ASSERT_GE(extrema.size(), 3u);
    EXPECT_NEAR(extrema[0], -bound, 1e-7 * bound);
    EXPECT_NEAR(extrema[1], bound, 1e-7 * bound);
    EXPECT_NEAR(extrema[2], -bound, 1e-7 * bound);
    EXPECT_GT(edge, where[2]);
    EXPECT_EQ(extrema.size(), 3u) << "a fourth extremum inside the band";

    const PoleSet cutoff =
        NormalisedPoles({ResponseFamily::LinearPhase, degrees, Normalisation::Cutoff3dB, ""});
    EXPECT_NEAR(cutoff.q, p.q, 1e-12);
    EXPECT_NEAR(cutoff.fo / cutoff.fa, p.fo / p.fa, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Bounds, LinearPhaseTest, testing::Values(0.05, 0.5, 0.2, 2.0),
                         [](const testing::TestParamInfo<double>& info) {
                             return "Degrees" + std::to_string(static_cast<int>(info.param * 100));
                         });

// The larger the allowed phase error, the further the linear phase reaches and the sharper
// the response: between Bessel (no error) and Butterworth.
TEST(LinearPhaseFamilyTest, LiesBetweenBesselAndButterworth) {
    const double besselQ = NormalisedPoles(Named("Bessel (-3 dB)")).q;
    const double q005 = NormalisedPoles(Named("Linear phase 0.05°")).q;
    const double q05 = NormalisedPoles(Named("Linear phase 0.5°")).q;
    EXPECT_LT(besselQ, q005);
    EXPECT_LT(q005, q05);
    EXPECT_LT(q05, 1.0);
}

struct InvalidCase {
    std::string name;
    Preset preset;
};

class InvalidPresetTest : public testing::TestWithParam<InvalidCase> {};

// A family with a normalisation it does not define, or a parameter out of range; NaN poles.
TEST_P(InvalidPresetTest, GivesNaN) {
    const PoleSet p = NormalisedPoles(GetParam().preset);
    EXPECT_TRUE(std::isnan(p.fa) && std::isnan(p.fo) && std::isnan(p.q));
}

using enum ResponseFamily;
using enum Normalisation;

// clang-format off
INSTANTIATE_TEST_SUITE_P(OutOfRange, InvalidPresetTest, testing::Values(
    InvalidCase{"ButterworthByDelay", {Butterworth, 0, Delay, ""}},
    InvalidCase{"BesselByRipple", {Bessel, 0, RippleEdge, ""}},
    InvalidCase{"ChebyshevWithoutRipple", {Chebyshev, 0, RippleEdge, ""}},
    InvalidCase{"ChebyshevByDelay", {Chebyshev, 1, Delay, ""}},
    // with more than 3.01 dB of ripple the -3 dB point lies inside the ripple
    InvalidCase{"ChebyshevRippleTooDeepForCutoff", {Chebyshev, 4, Cutoff3dB, ""}},
    InvalidCase{"LinearPhaseWithoutError", {LinearPhase, 0, Cutoff3dB, ""}},
    InvalidCase{"LegendreByDelay", {Legendre, 0, Delay, ""}}),
    test::CaseName<InvalidCase>);
// clang-format on

// Chebyshev ripple that is not in the list; the ripple-edge form is still computed.
TEST(ChebyshevTest, AnyRippleAtTheRippleEdge) {
    const PoleSet p = NormalisedPoles({Chebyshev, 4, RippleEdge, ""});
    const Rational3 h =
        RequestedTransfer(PresetPoles({Chebyshev, 4, RippleEdge, ""}, 1, true), true);
    EXPECT_TRUE(p.q > 0);
    EXPECT_NEAR(Decibels(Evaluate(h, 1)), -4, 1e-9);
}

}  // namespace
}  // namespace mirelto
