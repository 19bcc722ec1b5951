#include "tools/optimise_search.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "mirelto/design/filter.h"
#include "mirelto/response/op_amp_poles.h"
#include "numeric/cubic_batch.h"
#include "numeric/parallel.h"

namespace mirelto::search {

namespace {

// Cancellation is polled, and progress reported, once per this many combinations: often enough
// for a responsive cancel button, rarely enough to cost nothing.
constexpr std::int64_t kPollEvery = 1024;
static_assert(kPollEvery % cubic::kBatch == 0);
constexpr std::int64_t kProgressEvery = 4096;
// A share of fewer combinations costs more to start on a thread than it saves.
constexpr std::int64_t kShareAtLeast = 2048;

struct Before {
    Ranking ranking;
    bool operator()(const Candidate& a, const Candidate& b) const {
        return RanksBefore(a, b, ranking);
    }
};

// The combinations [first, last) of the job, by the odometer with C3 turning fastest.
class Share {
  public:
    Share(const Job& job, std::int64_t first, std::int64_t last)
        : job_(job), first_(first), last_(last), before_{job.input.ranking} {}

    // `done` counts every share's combinations; share 0 reports it.
    Found Run(const RunControl& control, std::atomic<std::int64_t>& done, bool reports) {
        Found found;
        std::vector<Candidate>& best = found.best;
        best.reserve(job_.input.keep + 1);
        std::array<std::size_t, kComponentCount> at = Digits(first_);
        ComponentValues parts{};
        for (std::size_t p = 0; p < kComponentCount; ++p) {
            parts[p] = job_.values[p][at[p]];
        }
        std::int64_t index = first_;
        std::array<Circuit, cubic::kBatch> circuits;
        std::array<PoleSet, cubic::kBatch> poles;
        while (index < last_) {
            // A batch never crosses a poll: kPollEvery is a multiple of its size.
            const std::int64_t local = index - first_;
            if (local % kPollEvery == 0) {
                done.fetch_add(local > 0 ? kPollEvery : 0, std::memory_order_relaxed);
                if (control.cancel != nullptr && control.cancel->load(std::memory_order_relaxed)) {
                    found.cancelled = true;
                    break;
                }
                if (reports && local % kProgressEvery == 0 && local > 0 && control.progress) {
                    control.progress(done.load(std::memory_order_relaxed), job_.total);
                }
            }
            const auto count =
                static_cast<std::size_t>(std::min<std::int64_t>(cubic::kBatch, last_ - index));
            for (std::size_t i = 0; i < count; ++i) {
                circuits[i] = CircuitOf(parts, job_.input.ideal.isLpf);
                Advance(at, parts);
            }
            if (HasDynamics(job_.input.opAmp)) {
                for (std::size_t i = 0; i < count; ++i) {
                    poles[i] = DominantPoles(circuits[i], job_.input.opAmp);
                }
            } else {
                CircuitPolesOf({circuits.data(), count}, {poles.data(), count});
            }
            for (std::size_t i = 0; i < count; ++i) {
                Consider(found, Score(circuits[i], poles[i], job_.input.requested,
                                      index + static_cast<std::int64_t>(i)));
            }
            index += static_cast<std::int64_t>(count);
        }
        found.evaluated = index - first_;
        found.plainEvaluated = job_.plain.index >= first_ && job_.plain.index < index;
        return found;
    }

  private:
    // The odometer's digits at `index`.
    std::array<std::size_t, kComponentCount> Digits(std::int64_t index) const {
        std::array<std::size_t, kComponentCount> at{};
        for (std::size_t p = kComponentCount; p-- > 0;) {
            const auto size = static_cast<std::int64_t>(job_.values[p].size());
            at[p] = static_cast<std::size_t>(index % size);
            index /= size;
        }
        return at;
    }

    void Advance(std::array<std::size_t, kComponentCount>& at, ComponentValues& parts) const {
        for (std::size_t p = kComponentCount; p-- > 0;) {
            if (++at[p] < job_.values[p].size()) {
                parts[p] = job_.values[p][at[p]];
                return;
            }
            at[p] = 0;
            parts[p] = job_.values[p][0];
        }
    }

    void Consider(Found& found, Candidate c) const {
        if (!Rank(c, job_.reference, job_.input.ranking)) {
            ++found.unrealisable;
            return;
        }
        if (job_.plainRanked && before_(c, job_.plain)) {
            ++found.aheadOfPlain;
        }
        c.plainRounding = c.index == job_.plain.index;
        std::vector<Candidate>& best = found.best;
        if (best.size() < job_.input.keep) {
            best.push_back(std::move(c));
            std::push_heap(best.begin(), best.end(), before_);
        } else if (before_(c, best.front())) {
            std::pop_heap(best.begin(), best.end(), before_);
            best.back() = std::move(c);
            std::push_heap(best.begin(), best.end(), before_);
        }
    }

    const Job& job_;
    std::int64_t first_, last_;
    Before before_;
};

}  // namespace

Candidate Score(const Circuit& circuit, const PoleSet& built, const PoleSet& requested,
                std::int64_t index) {
    Candidate c;
    c.circuit = circuit;
    c.index = index;
    c.built = built;
    c.error.fa = (c.built.fa - requested.fa) / requested.fa;
    c.error.fo = (c.built.fo - requested.fo) / requested.fo;
    c.error.q = (c.built.q - requested.q) / requested.q;
    const double a = std::fabs(c.error.fa), o = std::fabs(c.error.fo), q = std::fabs(c.error.q);
    c.worstError = std::max({a, o, q});
    c.rmsError = std::sqrt((a * a + o * o + q * q) / 3);
    return c;
}

bool Rank(Candidate& c, const ResponseReference& reference, Ranking ranking) {
    if (ranking == Ranking::Cutoff) {
        c.cutoff = reference.CutoffOf(c.built);
        c.cutoffError = (c.cutoff - reference.Cutoff()) / reference.Cutoff();
        return !std::isnan(c.worstError) && !std::isnan(c.cutoffError);
    }
    if (ranking == Ranking::Response) {
        c.responseDb = reference.DeviationDb(c.built);
        return !std::isnan(c.worstError) && !std::isnan(c.responseDb);
    }
    return !std::isnan(c.worstError);
}

Found SearchAll(const Job& job, const RunControl& control) {
    const int shares = parallel::ShareCount(job.total, kShareAtLeast);
    std::vector<Found> found(static_cast<std::size_t>(shares));
    std::atomic<std::int64_t> done{0};
    parallel::RunShares(shares, [&](int share) {
        Share work(job, parallel::ShareStart(job.total, share, shares),
                   parallel::ShareStart(job.total, share + 1, shares));
        found[static_cast<std::size_t>(share)] = work.Run(control, done, share == 0);
    });
    // Each share's best in a strict order: the best of their union are the run's best.
    Found all;
    for (Found& f : found) {
        all.best.insert(all.best.end(), f.best.begin(), f.best.end());
        all.evaluated += f.evaluated;
        all.unrealisable += f.unrealisable;
        all.aheadOfPlain += f.aheadOfPlain;
        all.plainEvaluated = all.plainEvaluated || f.plainEvaluated;
        all.cancelled = all.cancelled || f.cancelled;
    }
    std::sort(all.best.begin(), all.best.end(), Before{job.input.ranking});
    all.best.resize(std::min(all.best.size(), job.input.keep));
    return all;
}

}  // namespace mirelto::search
