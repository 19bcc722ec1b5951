// The -3 dB frequency of a response: searched along any response, or solved directly for a
// rational one. Plain double arithmetic, no state.
#pragma once

#include "mirelto/response/transfer.h"

namespace mirelto {

// The -3 dB frequency (|H| = 1/sqrt 2 of the pass-band gain 1): the highest crossing for the LPF,
// the lowest for the HPF, searched within [low, high]; NaN when |H| does not cross there.
// Crossings are found on a log grid of 40 points a decade, so two crossings closer than that
// may both be missed; each found one is refined to 1e-12 relative.
double CutoffFrequency(const FrequencyResponse& h, bool isLpf, double low, double high);
// The same for a rational response, from HalfPowerSquares: no search, for the many circuits of
// a tolerance run. Each root is refined by Newton steps; crossings where |H| only touches the
// -3 dB level are not counted.
double CutoffFrequency(const Rational3& h, bool isLpf, double low, double high);

// The squared angular frequencies x = w^2 (w in rad/s) where |D(jw)|^2 = 2 |N(jw)|^2: the
// positive real roots of that cubic in x as the root finder gives them, unrefined, with the
// tangent ones where |H| only touches the level.
struct HalfPowerRoots {
    double x[3] = {0, 0, 0};
    int count = 0;
};
HalfPowerRoots HalfPowerSquares(const Rational3& h);

}  // namespace mirelto
