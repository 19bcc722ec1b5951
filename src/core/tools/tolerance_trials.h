// The trials of a tolerance run: drawn in order from the seed, analysed over the machine's cores
// and handed on in order, as often as a run replays them (internal).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "mirelto/response/op_amp_model.h"
#include "mirelto/response/transfer.h"
#include "mirelto/tools/tolerance.h"

namespace mirelto::trials {

constexpr std::size_t kQuantityCount = 4;
using Quantities = std::array<double, kQuantityCount>;  // fa, fo, Q, -3 dB frequency of a trial

// fa, fo, Q of a trial circuit from the roots of its denominator: the back-calculation's root
// finder costs a tolerance run most of its time, and a spread needs no more than 1e-12 of
// agreement with it. A circuit without a complex pair goes the back-calculation's way.
PoleSet TrialPoles(const Circuit& circuit, const Rational3& h);

// The op-amp of the input: ToleranceInput::opAmpGbw with its DC gain and output resistance.
OpAmp OpAmpOf(const ToleranceInput& input);

// The -3 dB frequency of a circuit whose rational response is `h`, with the op-amp when there is
// one (ToleranceInput::opAmpGbw).
double Cutoff(const Circuit& circuit, const Rational3& h, const OpAmp& opAmp,
              const FrequencyRange& range);

// Trials are drawn in order on the calling thread a chunk at a time, then analysed in shares
// by index over the cores and handed on in order: the same values, in the same order, whatever
// the number of cores. A chunk bounds the memory (80 bytes a trial) and makes a thread's start
// a small part of its work.
constexpr std::int64_t kChunk = 16384;
constexpr std::int64_t kShareAtLeast = 512;

// The trials of one run, repeatable from the seed as often as needed.
class Trials {
  public:
    Trials(const ToleranceInput& input, const FrequencyRange& cutoffRange,
           const RunControl& control, int passes)
        : input_(input),
          opAmp_(OpAmpOf(input)),
          range_(cutoffRange),
          control_(control),
          passes_(passes) {}

    // Draws and analyses the trials in order, handing each one's quantities to `use`. Returns
    // the number run: fewer when cancelled.
    template <class Use>
    std::int64_t Run(Use&& use);

    bool Cancelled() const { return cancelled_; }

  private:
    // Six numbers per trial whatever the tolerances, so that part p always takes the p-th.
    ComponentValues Draw(PortableRandom& random) const;

    Quantities Analyse(const ComponentValues& drawn) const;

    // Analyses trials first .. first + count - 1 of the run (chunk slots 0 ..); returns how
    // many from the first were analysed before a cancel.
    std::int64_t AnalyseChunk(std::int64_t first, std::int64_t count,
                              const std::vector<ComponentValues>& drawn,
                              std::vector<Quantities>& values);

    // False once cancelled; the calling thread's share reports progress.
    bool Poll(std::int64_t trial, bool reports) const;

    const ToleranceInput& input_;
    OpAmp opAmp_;  // the op-amp of the input, built once
    FrequencyRange range_;
    const RunControl& control_;
    int passes_;
    int pass_ = 0;
    bool cancelled_ = false;
};

template <class Use>
std::int64_t Trials::Run(Use&& use) {
    PortableRandom random(input_.seed);
    std::vector<ComponentValues> drawn(static_cast<std::size_t>(kChunk));
    std::vector<Quantities> values(static_cast<std::size_t>(kChunk));
    std::int64_t trial = 0;
    while (trial < input_.trials) {
        const std::int64_t count = std::min(kChunk, input_.trials - trial);
        for (std::int64_t i = 0; i < count; ++i) {
            drawn[static_cast<std::size_t>(i)] = Draw(random);
        }
        const std::int64_t finished = AnalyseChunk(trial, count, drawn, values);
        for (std::int64_t i = 0; i < finished; ++i) {
            use(values[static_cast<std::size_t>(i)]);
        }
        trial += finished;
        if (finished < count) {
            cancelled_ = true;
            break;
        }
    }
    ++pass_;
    return trial;
}

}  // namespace mirelto::trials
