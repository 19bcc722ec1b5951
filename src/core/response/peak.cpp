#include "mirelto/response/peak.h"

#include <algorithm>
#include <cmath>

#include "numeric/brent_root.h"
#include "numeric/constants.h"
#include "response/log_grid.h"

namespace mirelto {

namespace {

// Where f is largest between a and b, to 1e-10, by golden-section search.
template <class F>
double GoldenMaximum(const F& f, double a, double b) {
    constexpr double kGolden = 0.6180339887498949;
    double c = b - kGolden * (b - a), d = a + kGolden * (b - a);
    double gc = f(c), gd = f(d);
    while (b - a > 1e-10) {
        if (gc > gd) {
            b = d;
            d = c;
            gd = gc;
            c = b - kGolden * (b - a);
            gc = f(c);
        } else {
            a = c;
            c = d;
            gc = gd;
            d = a + kGolden * (b - a);
            gd = f(d);
        }
    }
    return 0.5 * (a + b);
}

}  // namespace

Peak PeakGain(const FrequencyResponse& h, double low, double high) {
    if (!ValidRange(low, high)) {
        return {kNaN, kNaN};
    }
    const auto logGain = [&h](double x) { return std::log(std::abs(h(std::exp(x)))); };
    const LogGrid grid(low, high);
    int best = -1;
    double bestGain = -HUGE_VAL;
    for (int i = 0; i < grid.Count(); ++i) {
        const double g = logGain(grid.At(i));
        if (g > bestGain) {
            best = i;
            bestGain = g;
        }
    }
    if (best < 0) {
        return {kNaN, kNaN};
    }
    // The maximum is where the slope of ln|H| over ln f vanishes. Its value changes only to second
    // order near there, so the slope's root (central difference; 1e-5 keeps both its rounding and
    // its truncation near 1e-10) locates the maximum far better than the gain itself could.
    constexpr double kHalfStep = 1e-5;
    const auto slope = [&](double x) {
        return (logGain(x + kHalfStep) - logGain(x - kHalfStep)) / (2 * kHalfStep);
    };
    double lo = grid.At(std::max(best - 1, 0));
    double hi = grid.At(std::min(best + 1, grid.Count() - 1));
    double x = grid.At(best);
    if (best == 0 && !(slope(lo) > 0)) {
        x = lo;  // falling from the bottom of the range
    } else if (best == grid.Count() - 1 && !(slope(hi) < 0)) {
        x = hi;  // rising to the top of the range
    } else {
        if (best == 0) {
            lo = x;
        }
        if (best == grid.Count() - 1) {
            hi = x;
        }
        const double slopeLo = slope(lo), slopeHi = slope(hi);
        if (slopeLo > 0 && slopeHi < 0) {
            x = BrentRoot(slope, lo, hi, slopeLo, slopeHi, 1e-12);
        } else {
            // not a clean single maximum: golden-section search on the gain itself
            x = GoldenMaximum(logGain, lo, hi);
        }
        if (!(logGain(x) >= bestGain)) {
            x = grid.At(best);
        }
    }
    // the ends exactly as given, not through the logarithm and back
    const double frequency = x == grid.At(0)                  ? low
                             : x == grid.At(grid.Count() - 1) ? high
                                                              : std::exp(x);
    return {frequency, 20 * std::log10(std::abs(h(frequency)))};
}

}  // namespace mirelto
