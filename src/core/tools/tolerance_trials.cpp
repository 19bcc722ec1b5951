#include "tools/tolerance_trials.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "mirelto/design/filter.h"
#include "mirelto/numeric/polynomial.h"
#include "mirelto/response/cutoff.h"
#include "mirelto/response/op_amp.h"
#include "numeric/constants.h"
#include "numeric/parallel.h"

namespace mirelto::trials {

namespace {

// Cancellation is polled, and progress reported, once per this many trials: a trial takes
// microseconds, so the cancel button answers within a millisecond.
constexpr std::int64_t kPollEvery = 256;

}  // namespace

PoleSet TrialPoles(const Circuit& circuit, const Rational3& h) {
    const Roots roots = PolynomialRoots(h.den);
    const bool hasPair =
        roots.count == 3 && std::any_of(std::begin(roots.root), std::end(roots.root),
                                        [](Complex r) { return r.imag() != 0; });
    if (hasPair) {
        const PoleSet w = PolesFromRoots(roots.root);
        if (!std::isnan(w.fa)) {
            return {w.fa / kTwoPi, w.fo / kTwoPi, w.q};
        }
    }
    return CircuitPoles(circuit);
}

OpAmp OpAmpOf(const ToleranceInput& input) {
    OpAmp opAmp = OpAmp::WithGbw(input.opAmpGbw);
    opAmp.a0 = input.opAmpA0;
    opAmp.outputResistance = input.opAmpOutputResistance;
    return opAmp;
}

double Cutoff(const Circuit& circuit, const Rational3& h, const OpAmp& opAmp,
              const FrequencyRange& range) {
    if (opAmp.gbw > 0) {
        return CutoffFrequency(
            [&circuit, &opAmp](double f) { return CircuitResponseWithOpAmp(circuit, opAmp, f); },
            circuit.isLpf, range.low, range.high);
    }
    return CutoffFrequency(h, circuit.isLpf, range.low, range.high);
}

ComponentValues Trials::Draw(PortableRandom& random) const {
    const ComponentValues parts = ComponentsOf(input_.nominal);
    const bool normal = input_.distribution == Distribution::Normal;
    // A normal number spans 3 sigma = tolerance.
    const double scale = normal ? 1.0 / 3 : 1.0;
    ComponentValues drawn{};
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        const double x = normal ? random.Normal() : 2 * random.Uniform() - 1;
        drawn[p] = parts[p] * (1 + input_.tolerance[p] * scale * x);
    }
    return drawn;
}

Quantities Trials::Analyse(const ComponentValues& drawn) const {
    const Circuit c = CircuitOf(drawn, input_.nominal.isLpf);
    const Rational3 h = CircuitTransfer(c);
    const PoleSet poles = TrialPoles(c, h);
    Quantities values{poles.fa, poles.fo, poles.q, kNaN};
    if (!std::isnan(poles.fa)) {
        values[3] = Cutoff(c, h, opAmp_, range_);
    }
    return values;
}

std::int64_t Trials::AnalyseChunk(std::int64_t first, std::int64_t count,
                                  const std::vector<ComponentValues>& drawn,
                                  std::vector<Quantities>& values) {
    const int shares = parallel::ShareCount(count, kShareAtLeast);
    std::vector<std::int64_t> reached(static_cast<std::size_t>(shares));
    parallel::RunShares(shares, [&](int share) {
        const std::int64_t end = parallel::ShareStart(count, share + 1, shares);
        std::int64_t i = parallel::ShareStart(count, share, shares);
        for (; i < end; ++i) {
            const std::int64_t trial = first + i;
            if (trial % kPollEvery == 0 && trial > 0 && !Poll(trial, share == 0)) {
                break;
            }
            values[static_cast<std::size_t>(i)] = Analyse(drawn[static_cast<std::size_t>(i)]);
        }
        reached[static_cast<std::size_t>(share)] = i;
    });
    // The trials run are those before the first gap a cancel left.
    for (int share = 0; share < shares; ++share) {
        if (reached[static_cast<std::size_t>(share)] <
            parallel::ShareStart(count, share + 1, shares)) {
            return reached[static_cast<std::size_t>(share)];
        }
    }
    return count;
}

bool Trials::Poll(std::int64_t trial, bool reports) const {
    if (control_.cancel != nullptr && control_.cancel->load(std::memory_order_relaxed)) {
        return false;
    }
    // The planned passes share the progress bar; a rare further one shows none.
    if (reports && control_.progress && pass_ < passes_) {
        control_.progress((pass_ * input_.trials + trial) / passes_, input_.trials);
    }
    return true;
}

}  // namespace mirelto::trials
