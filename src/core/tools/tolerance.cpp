#include "mirelto/tools/tolerance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "mirelto/design/filter.h"
#include "mirelto/response/transfer.h"
#include "numeric/constants.h"
#include "numeric/parallel.h"
#include "numeric/rank_search.h"
#include "tools/tolerance_trials.h"

namespace mirelto {

using trials::Cutoff;
using trials::kQuantityCount;
using trials::Quantities;
using trials::OpAmpOf;
using trials::TrialPoles;
using trials::Trials;

namespace {

bool IsPositiveFinite(double v) {
    return v > 0 && std::isfinite(v);
}

Problem CheckInput(const ToleranceInput& input) {
    const ComponentValues parts = ComponentsOf(input.nominal);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        if (!IsPositiveFinite(parts[p])) {
            return {InputProblem::PartNotPositive, p};
        }
        const double t = input.tolerance[p];
        if (!(t >= 0 && t < 1)) {
            return {InputProblem::ToleranceOutOfRange, p};
        }
    }
    if (std::isnan(CircuitPoles(input.nominal).fa)) {
        return {InputProblem::NoPoles};
    }
    if (input.trials < 1 || input.trials > kMaxTrials) {
        return {InputProblem::TrialsOutOfRange};
    }
    if (input.bins < 1 || input.bins > kMaxBins) {
        return {InputProblem::BinsOutOfRange};
    }
    const FrequencyRange& r = input.cutoffRange;
    const bool automatic = r.low == 0 && r.high == 0;
    if (!automatic && !(IsPositiveFinite(r.low) && IsPositiveFinite(r.high) && r.low < r.high)) {
        return {InputProblem::CutoffRangeInvalid};
    }
    return {};
}

}  // namespace

Sensitivities SensitivitiesOf(const Circuit& circuit) {
    Sensitivities s;
    const PoleSet y = CircuitPoles(circuit);
    const ComponentValues parts = ComponentsOf(circuit);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        ComponentValues up = parts, down = parts;
        up[p] = parts[p] * (1 + kSensitivityStep);
        down[p] = parts[p] * (1 - kSensitivityStep);
        // The step the parts really moved by, after rounding.
        const double step = (up[p] - down[p]) / parts[p];
        const PoleSet yUp = CircuitPoles(CircuitOf(up, circuit.isLpf));
        const PoleSet yDown = CircuitPoles(CircuitOf(down, circuit.isLpf));
        s.fa[p] = (yUp.fa - yDown.fa) / y.fa / step;
        s.fo[p] = (yUp.fo - yDown.fo) / y.fo / step;
        s.q[p] = (yUp.q - yDown.q) / y.q / step;
    }
    return s;
}

namespace {

using Spreads = std::array<Spread*, kQuantityCount>;

// A run that replays: the sums and extremes, then the spread, the histograms and the first
// narrowing of the percentiles; further passes only where a bracket was too full to collect.
constexpr int kReplayPasses = 2;

// Every trial's values kept, each quantity summarised by selection.
std::int64_t RunKept(Trials& trials, const ToleranceInput& input, const Quantities& nominals,
                     const Spreads& spreads) {
    std::array<std::vector<double>, kQuantityCount> samples;
    for (std::vector<double>& s : samples) {
        s.assign(static_cast<std::size_t>(input.trials), kNaN);
    }
    std::size_t trial = 0;
    const std::int64_t run = trials.Run([&](const Quantities& values) {
        for (std::size_t i = 0; i < kQuantityCount; ++i) {
            samples[i][trial] = values[i];
        }
        ++trial;
    });
    // The quantities are independent: one share of them per core.
    const int shares = parallel::ShareCount(run * static_cast<std::int64_t>(kQuantityCount), run);
    parallel::RunShares(shares, [&](int share) {
        for (std::size_t i = static_cast<std::size_t>(share); i < kQuantityCount;
             i += static_cast<std::size_t>(shares)) {
            samples[i].resize(static_cast<std::size_t>(run));
            *spreads[i] = Summarise(std::move(samples[i]), nominals[i], input.bins);
        }
    });
    return run;
}

// The ranks (from 0) that the percentiles of `count` values interpolate between.
std::vector<std::int64_t> PercentileRanks(std::int64_t count) {
    std::vector<std::int64_t> ranks;
    for (const double p : kSpreadPercentiles) {
        const auto below =
            static_cast<std::int64_t>(std::floor((static_cast<double>(count) - 1) * p / 100));
        for (const std::int64_t rank : {below, below + 1}) {
            if (rank < count && std::find(ranks.begin(), ranks.end(), rank) == ranks.end()) {
                ranks.push_back(rank);
            }
        }
    }
    return ranks;
}

// Percentile() of the sorted values, from the values found at its ranks.
double PercentileOf(const detail::RankSearch& search, std::int64_t count, double p) {
    const double rank = (static_cast<double>(count) - 1) * p / 100;
    const auto below = static_cast<std::int64_t>(std::floor(rank));
    const double at = search.At(below);
    if (below + 1 >= count) {
        return at;
    }
    const double next = search.At(below + 1);
    const double fraction = rank - static_cast<double>(below);
    return at + fraction * (next - at);
}

// What a replayed run has not reached when it is cancelled.
void LeaveUnfinished(Spread& s) {
    s.standardDeviation = s.p1 = s.p50 = s.p99 = kNaN;
    s.histogram.low = s.histogram.high = kNaN;
    std::fill(s.histogram.counts.begin(), s.histogram.counts.end(), 0);
}

using Searches = std::vector<detail::RankSearch>;

// The first replay: count, sums and extremes, and the first counts of each percentile's rank.
std::int64_t FirstReplay(Trials& trials, const ToleranceInput& input, const Quantities& nominals,
                         const Spreads& spreads, Searches& searches) {
    std::array<double, kQuantityCount> sums{};
    for (std::size_t i = 0; i < kQuantityCount; ++i) {
        Spread& s = *spreads[i];
        s.nominal = nominals[i];
        s.minimum = std::numeric_limits<double>::infinity();
        s.maximum = -std::numeric_limits<double>::infinity();
        s.histogram.counts.assign(static_cast<std::size_t>(input.bins), 0);
        searches.emplace_back(input.valuesCollected / static_cast<std::int64_t>(kQuantityCount));
    }
    const std::int64_t run = trials.Run([&](const Quantities& values) {
        for (std::size_t i = 0; i < kQuantityCount; ++i) {
            const double v = values[i];
            if (!std::isnan(v)) {
                Spread& s = *spreads[i];
                ++s.count;
                sums[i] += v;
                s.minimum = std::min(s.minimum, v);
                s.maximum = std::max(s.maximum, v);
                searches[i].Add(v);
            }
        }
    });
    for (std::size_t i = 0; i < kQuantityCount; ++i) {
        Spread& s = *spreads[i];
        if (s.count == 0) {
            s.mean = s.minimum = s.maximum = kNaN;
            LeaveUnfinished(s);
        } else {
            s.mean = sums[i] / static_cast<double>(s.count);
            s.histogram.low = s.minimum;
            s.histogram.high = s.maximum;
        }
        searches[i].Locate(PercentileRanks(s.count));
    }
    return run;
}

// The further replays: the squares about the mean and the histograms in the first of them, and
// every percentile's rank narrowed until its value is found. False when cancelled.
bool FurtherReplays(Trials& trials, const ToleranceInput& input, const Spreads& spreads,
                    Searches& searches, std::array<double, kQuantityCount>& squares) {
    bool first = true;
    while (first || std::any_of(searches.begin(), searches.end(),
                                [](const detail::RankSearch& r) { return !r.Done(); })) {
        for (detail::RankSearch& search : searches) {
            search.BeginPass();
        }
        trials.Run([&](const Quantities& values) {
            for (std::size_t i = 0; i < kQuantityCount; ++i) {
                const double v = values[i];
                if (std::isnan(v)) {
                    continue;
                }
                if (first) {
                    Spread& s = *spreads[i];
                    squares[i] += (v - s.mean) * (v - s.mean);
                    const double width = s.histogram.high - s.histogram.low;
                    ++s.histogram.counts[HistogramBin(v, s.histogram.low, width, input.bins)];
                }
                searches[i].Add(v);
            }
        });
        if (trials.Cancelled()) {
            return false;
        }
        for (detail::RankSearch& search : searches) {
            search.EndPass();
        }
        first = false;
    }
    return true;
}

// No trial's values kept: the same statistics as Summarise over replays of the run, in the same
// order of arithmetic, so every figure is the same to the bit.
std::int64_t RunReplayed(Trials& trials, const ToleranceInput& input, const Quantities& nominals,
                         const Spreads& spreads) {
    Searches searches;
    const std::int64_t run = FirstReplay(trials, input, nominals, spreads, searches);
    std::array<double, kQuantityCount> squares{};
    if (trials.Cancelled() || !FurtherReplays(trials, input, spreads, searches, squares)) {
        std::for_each(spreads.begin(), spreads.end(), [](Spread* s) { LeaveUnfinished(*s); });
        return run;
    }
    for (std::size_t i = 0; i < kQuantityCount; ++i) {
        Spread& s = *spreads[i];
        if (s.count == 0) {
            continue;
        }
        s.standardDeviation =
            s.count > 1 ? std::sqrt(squares[i] / static_cast<double>(s.count - 1)) : 0;
        s.p1 = PercentileOf(searches[i], s.count, kSpreadPercentiles[0]);
        s.p50 = PercentileOf(searches[i], s.count, kSpreadPercentiles[1]);
        s.p99 = PercentileOf(searches[i], s.count, kSpreadPercentiles[2]);
    }
    return run;
}

}  // namespace

ToleranceResult AnalyseTolerance(const ToleranceInput& input, const RunControl& control) {
    ToleranceResult result;
    result.seed = input.seed;
    result.problem = CheckInput(input);
    if (result.problem) {
        return result;
    }
    const Circuit& nominal = input.nominal;
    result.cutoffRange = input.cutoffRange;
    if (result.cutoffRange.low == 0 && result.cutoffRange.high == 0) {
        AnalysisInput window;
        window.isLpf = nominal.isLpf;
        window.hasRequest = false;
        window.built = nominal;
        window.opAmpGbw = input.opAmpGbw;
        window.opAmpA0 = input.opAmpA0;
        window.opAmpOutputResistance = input.opAmpOutputResistance;
        result.cutoffRange = PlotRange(window);
    }
    const Rational3 h = CircuitTransfer(nominal);
    const PoleSet y = TrialPoles(nominal, h);
    const Quantities nominals{y.fa, y.fo, y.q,
                              Cutoff(nominal, h, OpAmpOf(input), result.cutoffRange)};
    result.status = RunStatus::Done;
    const bool kept = input.trials <= input.trialsKept;
    Trials trials(input, result.cutoffRange, control, kept ? 1 : kReplayPasses);
    const Spreads spreads{&result.fa, &result.fo, &result.q, &result.cutoff};
    if (kept) {
        result.trials = RunKept(trials, input, nominals, spreads);
    } else {
        result.trials = RunReplayed(trials, input, nominals, spreads);
    }
    if (trials.Cancelled()) {
        result.status = RunStatus::Cancelled;
    }
    result.sensitivity = SensitivitiesOf(nominal);
    if (control.progress) {
        control.progress(result.trials, input.trials);
    }
    return result;
}

}  // namespace mirelto
