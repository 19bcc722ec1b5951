#include "mirelto/tools/compensation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "mirelto/design/filter.h"
#include "mirelto/response/op_amp_poles.h"
#include "numeric/constants.h"
#include "numeric/linear_solve.h"

namespace mirelto {

namespace {

using Vector3 = std::array<double, 3>;

constexpr int kNewtonIterations = 60;
constexpr double kDifferenceStep = 1e-7;  // in the logarithm of a part
constexpr double kLargestStep = 0.5;      // a Newton step moves a part by e^0.5 at most
constexpr double kMostGbwOverFo = 1e6;    // the searches look no further

// The computed parts' indices in ComponentValues.
std::array<std::size_t, 3> Computed(bool isLpf) {
    return isLpf ? std::array<std::size_t, 3>{3, 4, 5} : std::array<std::size_t, 3>{0, 1, 2};
}

Circuit WithLogs(const Circuit& base, const Vector3& logs) {
    ComponentValues parts = ComponentsOf(base);
    const auto index = Computed(base.isLpf);
    for (std::size_t i = 0; i < 3; ++i) {
        parts[index[i]] = std::exp(logs[i]);
    }
    return CircuitOf(parts, base.isLpf);
}

// ln(poles / requested) for fa, fo, Q; NaN when the dominant poles are not one real and a pair.
Vector3 Residual(const Circuit& c, const OpAmp& opAmp, const PoleSet& request) {
    const PoleSet p = DominantPoles(c, opAmp);
    return {std::log(p.fa / request.fa), std::log(p.fo / request.fo), std::log(p.q / request.q)};
}

double Norm(const Vector3& v) {
    double largest = 0;
    for (const double x : v) {
        largest = std::isnan(x) ? HUGE_VAL : std::max(largest, std::abs(x));
    }
    return largest;
}

// One damped Newton step from `logs`; false when the Jacobian is singular.
bool Step(const CompensationInput& in, Vector3& logs, Vector3& residual) {
    DenseLu<double, 3>::Matrix jacobian;
    for (std::size_t j = 0; j < 3; ++j) {
        Vector3 moved = logs;
        moved[j] += kDifferenceStep;
        const Vector3 r = Residual(WithLogs(in.ideal, moved), in.opAmp, in.requested);
        for (std::size_t i = 0; i < 3; ++i) {
            jacobian[i][j] = (r[i] - residual[i]) / kDifferenceStep;
        }
    }
    DenseLu<double, 3> lu;
    if (!lu.Factor(jacobian)) {
        return false;
    }
    DenseLu<double, 3>::Vector rhs = {-residual[0], -residual[1], -residual[2]}, step;
    lu.Solve(rhs, step);
    double scale = std::min(1.0, kLargestStep / Norm({step[0], step[1], step[2]}));
    // Halve the step until the residual falls.
    for (int tries = 0; tries < 30; ++tries, scale /= 2) {
        Vector3 next = logs;
        for (std::size_t i = 0; i < 3; ++i) {
            next[i] += scale * step[i];
        }
        const Vector3 r = Residual(WithLogs(in.ideal, next), in.opAmp, in.requested);
        if (Norm(r) < Norm(residual)) {
            logs = next;
            residual = r;
            return true;
        }
    }
    return false;
}

bool Reaches(const CompensationInput& input, double gbw) {
    CompensationInput at = input;
    at.opAmp.gbw = gbw;
    return Compensate(at).solved;
}

// The least x in (low, high] with ok(x), ok(high) true and ok(low) false, to a relative width.
template <class Predicate>
double Bisect(double low, double high, double width, Predicate ok) {
    while (high / low > 1 + width) {
        const double middle = std::sqrt(low * high);
        (ok(middle) ? high : low) = middle;
    }
    return high;
}

}  // namespace

Compensation Compensate(const CompensationInput& input) {
    Compensation result{false, input.ideal, DominantPoles(input.ideal, input.opAmp)};
    if (!HasDynamics(input.opAmp)) {
        return result;
    }
    const ComponentValues parts = ComponentsOf(input.ideal);
    const auto index = Computed(input.ideal.isLpf);
    Vector3 logs{};
    for (std::size_t i = 0; i < 3; ++i) {
        logs[i] = std::log(parts[index[i]]);
    }
    Vector3 residual = Residual(input.ideal, input.opAmp, input.requested);
    for (int it = 0; it < kNewtonIterations && Norm(residual) > kCompensationTolerance; ++it) {
        if (Norm(residual) == HUGE_VAL || !Step(input, logs, residual)) {
            return result;
        }
    }
    if (Norm(residual) > kCompensationTolerance) {
        return result;
    }
    result.solved = true;
    result.circuit = WithLogs(input.ideal, logs);
    result.poles = DominantPoles(result.circuit, input.opAmp);
    return result;
}

double LeastCompensableGbw(const CompensationInput& input) {
    const double most = kMostGbwOverFo * input.requested.fo;
    double low = input.opAmp.gbw > 0 ? input.opAmp.gbw : input.requested.fo;
    if (Reaches(input, low)) {
        // Already reached: search below it for the least.
        double lower = low;
        while (lower > input.requested.fo * 1e-3 && Reaches(input, lower / 2)) {
            lower /= 2;
        }
        low = lower / 2;
    }
    double high = low * 2;
    while (high <= most && !Reaches(input, high)) {
        low = high;
        high *= 2;
    }
    if (high > most) {
        return kNaN;
    }
    return Bisect(low, high, 0.005, [&](double g) { return Reaches(input, g); });
}

double LeastGbw(const Circuit& circuit, const OpAmp& opAmp) {
    const PoleSet ideal = CircuitPoles(circuit);
    if (!(ideal.fo > 0) || !(ideal.q > 0)) {
        return kNaN;
    }
    const auto keeps = [&](double gbw) {
        OpAmp at = opAmp;
        at.gbw = gbw;
        const PoleSet p = DominantPoles(circuit, at);
        return std::abs(p.fo / ideal.fo - 1) <= kLeastGbwShift &&
               std::abs(p.q / ideal.q - 1) <= kLeastGbwShift;
    };
    double high = ideal.fo;
    while (!keeps(high)) {
        high *= 2;
        if (high > kMostGbwOverFo * ideal.fo) {
            return kNaN;
        }
    }
    if (high == ideal.fo) {
        return high;
    }
    return Bisect(high / 2, high, 0.001, keeps);
}

}  // namespace mirelto
