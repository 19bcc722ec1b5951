#include "mirelto/response/pole_pairing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace mirelto {

namespace {

// fa, then the pair's two real poles ascending (Hz); none unless Q is under one half.
std::optional<std::array<double, 3>> RealPoles(const PoleSet& p) {
    if (!(p.q > 0 && p.q < 0.5 && p.fa > 0 && p.fo > 0 && std::isfinite(p.fa + p.fo))) {
        return std::nullopt;
    }
    const double upper = p.fo / (2 * p.q) * (1 + std::sqrt(1 - 4 * p.q * p.q));
    // Their product is fo^2: the lower one without the cancellation of 1 - sqrt(...).
    return std::array<double, 3>{p.fa, p.fo * p.fo / upper, upper};
}

double Apart(double a, double b) {
    const double ratio = std::log(a / b);
    return ratio * ratio;
}

}  // namespace

PoleSet PairedLike(const PoleSet& built, const PoleSet& request) {
    const auto b = RealPoles(built), r = RealPoles(request);
    if (!b || !r) {
        return built;
    }
    // Each of the three as fa; the other two, ascending, against the request's pair.
    int best = 0;
    double nearest = HUGE_VAL;
    for (int k = 0; k < 3; ++k) {
        const double low = std::min((*b)[(k + 1) % 3], (*b)[(k + 2) % 3]);
        const double high = std::max((*b)[(k + 1) % 3], (*b)[(k + 2) % 3]);
        const double apart = Apart((*b)[k], (*r)[0]) + Apart(low, (*r)[1]) + Apart(high, (*r)[2]);
        if (apart < nearest) {
            nearest = apart;
            best = k;
        }
    }
    if (best == 0) {
        return built;
    }
    const double p1 = (*b)[(best + 1) % 3], p2 = (*b)[(best + 2) % 3];
    const double fo = std::sqrt(p1 * p2);
    return {(*b)[best], fo, fo / (p1 + p2)};
}

}  // namespace mirelto
