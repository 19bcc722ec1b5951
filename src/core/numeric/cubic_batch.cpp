#include "numeric/cubic_batch.h"

#include <array>
#include <cmath>

#include "numeric/bairstow.h"
#include "numeric/cubic_root_check.h"

namespace mirelto::cubic {

namespace {

using Slots = std::array<double, 6>;

// One cubic's iteration, advanced a pass at a time as RefineQuadratic runs it.
struct Lane {
    Slots a{}, b{}, c{};
    double r = 1.0, s = 0.1, tol = bairstow::kFirstTolerance;
    int pass = 1;
    enum class State { Running, Converged, GivenUp } state = State::Running;
};

void Advance(Lane& lane) {
    const bairstow::Correction<double> step =
        bairstow::Pass(lane.a, lane.b, lane.c, lane.r, lane.s);
    if (step.lost) {
        lane.state = Lane::State::GivenUp;
        return;
    }
    if (lane.tol >= std::fabs(step.dr) && lane.tol >= std::fabs(step.ds)) {
        lane.state = Lane::State::Converged;
        return;
    }
    lane.r = lane.r + step.dr;
    lane.s = lane.s + step.ds;
    if (bairstow::Lost<double>(lane.r, lane.s)) {
        lane.state = Lane::State::GivenUp;
        return;
    }
    if (++lane.pass > bairstow::kIterationsPerLevel) {
        lane.pass = 1;
        lane.tol = lane.tol * 10;
        if (!(lane.tol <= bairstow::kLastTolerance)) {
            lane.state = Lane::State::GivenUp;  // the zeros of a failed iteration: Cardano's way
        }
    }
}

// The real root Bairstow leaves in slot 1 once the quadratic is divided out; 0 when none.
double RootOf(Lane& lane) {
    Slots re{}, im{};
    if (!bairstow::QuadraticRoots(bairstow::kMaxDegree, lane.r, lane.s, re, im)) {
        return 0;
    }
    // What the iteration's last step does with the linear factor b[2] x + b[3] that is left.
    const double root = (-lane.b[3]) / lane.b[2];
    return std::isfinite(root) ? root : 0;
}

}  // namespace

void CubicRealRoots(const Monic* in, std::size_t count, double* root, bool* found) {
    std::array<Lane, kBatch> lanes;
    for (std::size_t i = 0; i < count; ++i) {
        lanes[i].a = {1, in[i].k2, in[i].k1, in[i].k0, 0, 0};
    }
    for (bool running = true; running;) {
        running = false;
        for (std::size_t i = 0; i < count; ++i) {
            if (lanes[i].state == Lane::State::Running) {
                Advance(lanes[i]);
                running = running || lanes[i].state == Lane::State::Running;
            }
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Monic& m = in[i];
        const bool finite = std::isfinite(m.k2) && std::isfinite(m.k1) && std::isfinite(m.k0);
        root[i] = lanes[i].state == Lane::State::Converged ? RootOf(lanes[i]) : 0;
        found[i] = root[i] != 0 && finite && IsRoot(m.k2, m.k1, m.k0, root[i]);
    }
}

}  // namespace mirelto::cubic
