#include "response/step_times.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "mirelto/numeric/polynomial.h"
#include "mirelto/response/analysis.h"
#include "numeric/constants.h"

namespace mirelto {

namespace {

constexpr int kStepPoints = 400;               // the least a step trace has
constexpr double kStepPointsPerPeriod = 20;    // a ringing cycle drawn as a curve, not a zigzag
constexpr double kSettlingTimeConstants = 10;  // e^-10: settled well below a plot's resolution

// The highest ringing frequency among the poles of h (rad/s); 0 when none rings.
double FastestRinging(const Rational3& h) {
    const Roots poles = PolynomialRoots(h.den);
    double fastest = 0;
    for (int k = 0; k < poles.count; ++k) {
        if (std::isfinite(poles.root[k].imag())) {
            fastest = std::max(fastest, std::fabs(poles.root[k].imag()));
        }
    }
    return fastest;
}

// The slowest decay rate among the poles of h (1/s); 0 when none decays.
double SlowestDecay(const Rational3& h) {
    const Roots poles = PolynomialRoots(h.den);
    double slowest = HUGE_VAL;
    for (int k = 0; k < poles.count; ++k) {
        const double rate = -poles.root[k].real();
        if (!(rate > 0)) {
            return 0;
        }
        slowest = std::min(slowest, rate);
    }
    return poles.count > 0 ? slowest : 0;
}

}  // namespace

StepTimes StepTimesOf(const Rational3* requested, const Rational3* built) {
    StepTimes out;
    double slowest = HUGE_VAL, fastest = 0;
    for (const Rational3* h : {requested, built}) {
        if (h != nullptr) {
            slowest = std::min(slowest, SlowestDecay(*h));
            fastest = std::max(fastest, FastestRinging(*h));
        }
    }
    if (!(slowest > 0 && std::isfinite(slowest))) {
        return out;
    }
    double end = kSettlingTimeConstants / slowest;
    int count = kStepPoints;
    if (fastest > 0) {
        const double period = kTwoPi / fastest;
        const double needed = std::ceil(end / period * kStepPointsPerPeriod) + 1;
        if (needed > kMaxStepPoints) {
            count = kMaxStepPoints;
            end = (kMaxStepPoints - 1) / kStepPointsPerPeriod * period;
            out.shortened = true;
        } else {
            count = std::max(kStepPoints, static_cast<int>(needed));
        }
    }
    out.times.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        out.times[static_cast<std::size_t>(i)] = end * i / (count - 1);
    }
    return out;
}

}  // namespace mirelto
