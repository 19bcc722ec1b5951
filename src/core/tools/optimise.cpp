#include "mirelto/tools/optimise.h"

#include "mirelto/response/op_amp_poles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "mirelto/design/constant_calculation.h"
#include "mirelto/design/filter.h"
#include "mirelto/numeric/fault.h"
#include "mirelto/values/eseries.h"
#include "tools/optimise_search.h"

namespace mirelto {

namespace {

// A value this close to a member counts as that member: typed "3.3n" and the member the rounding
// builds for 3.3 nF differ in the last bits only.
constexpr double kSameMember = 1e-9;

bool IsPositiveFinite(double v) {
    return v > 0 && std::isfinite(v);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Member `index` of the series counted over all decades (index n is 10, index -1 the top of the
// decade below). Rounding a close approximation returns the member with exactly the bits that
// rounding any value in its cell gives.
double Member(std::int64_t index, std::int32_t n) {
    const std::int64_t decade = FloorDiv(index, n);
    const auto k = static_cast<std::int32_t>(index - decade * n);
    const double approx = SeriesValue(k, n) * std::pow(10.0, static_cast<double>(decade));
    return RoundToSeries(approx, n);
}

// The index of a member; the nearest one on a log scale for a value between members. The series
// are nearly geometric, so the member lies within two places of n log10(value).
std::int64_t MemberIndex(double member, std::int32_t n) {
    const auto guess = static_cast<std::int64_t>(std::llround(n * std::log10(member)));
    std::int64_t best = guess;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::int64_t i = guess - 2; i <= guess + 2; ++i) {
        const double distance = std::fabs(std::log(Member(i, n) / member));
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

bool SameMember(double a, double b) {
    return std::fabs(a - b) <= kSameMember * std::fabs(b);
}

// What each part moves over; empty with a problem when a part cannot move.
struct Neighbourhood {
    std::array<std::vector<double>, kComponentCount> values;
    std::array<std::size_t, kComponentCount> plainAt{};  // where the plain-rounding value sits
    Problem problem;
};

Neighbourhood BuildNeighbourhood(const OptimiseInput& input) {
    Neighbourhood hood;
    const ComponentValues parts = ComponentsOf(input.ideal);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        const double v = parts[p];
        const std::int32_t series = input.series[p];
        std::vector<double>& values = hood.values[p];
        const bool given = IsGivenComponent(p, input.ideal.isLpf);
        double plain = v;
        if (series != 0) {
            values = SeriesNeighbours(v, series, input.steps);
            if (values.empty()) {
                hood.problem = {InputProblem::NoPreferredValues, p};
                return hood;
            }
            if (given) {
                // The given value itself is where the part starts, member of the series or not.
                const auto same = std::find_if(values.begin(), values.end(),
                                               [v](double m) { return SameMember(m, v); });
                if (same != values.end()) {
                    *same = v;
                } else {
                    values.insert(std::upper_bound(values.begin(), values.end(), v), v);
                }
            } else {
                plain = RoundToSeries(v, series);
            }
        } else {
            values = {v};
        }
        const auto at = std::find(values.begin(), values.end(), plain);
        if (at == values.end()) {
            hood.problem = {InputProblem::RoundedOutOfRange, p};
            return hood;
        }
        hood.plainAt[p] = static_cast<std::size_t>(at - values.begin());
    }
    return hood;
}

Problem CheckInput(const OptimiseInput& input) {
    const PoleSet& r = input.requested;
    if (!IsPositiveFinite(r.fa) || !IsPositiveFinite(r.fo) || !IsPositiveFinite(r.q)) {
        return {InputProblem::RequestNotPositive};
    }
    const ComponentValues parts = ComponentsOf(input.ideal);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        if (!IsPositiveFinite(parts[p])) {
            return {InputProblem::PartNotPositive, p};
        }
        if (input.series[p] < 0) {
            return {InputProblem::NegativeSeries, p};
        }
    }
    if (input.steps < 1 || input.steps > kMaxSteps) {
        return {InputProblem::StepsOutOfRange};
    }
    if (input.keep < 1) {
        return {InputProblem::NothingKept};
    }
    return {};
}

}  // namespace

IdealDesign DesignIdeal(ConstantRequest request) {
    // Series 0 everywhere: the computed parts come back unrounded.
    request.series = {};
    const ConstantOutcome outcome = CalculateConstants(DesignRecord{}, request);
    IdealDesign out;
    // A fault in the back-analysis still leaves the ideal circuit: the search needs no more.
    out.realisable = outcome.synthesised;
    if (!out.realisable) {
        out.stop = outcome.stop;
        out.fault = outcome.fault;
    }
    out.circuit = outcome.built;
    return out;
}

IdealDesign DesignIdeal(const PoleSet& requested, bool isLpf, const std::array<double, 3>& given) {
    ConstantRequest request;
    request.request = requested;
    request.isLpf = isLpf;
    request.given = given;
    return DesignIdeal(request);
}

std::vector<double> SeriesNeighbours(double value, std::int32_t series, int steps) {
    if (!IsPositiveFinite(value) || series <= 0 || steps < 0) {
        return {};
    }
    std::vector<double> out;
    try {
        const double rounded = RoundToSeries(value, series);
        const std::int64_t at = MemberIndex(rounded, series);
        // Steps count from the member the constant calculation rounds to, so the plain design
        // is the centre of the neighbourhood.
        const std::int64_t first = at - steps;
        const std::int64_t last = at + steps;
        for (std::int64_t i = first; i <= last; ++i) {
            const double member = i == at ? rounded : Member(i, series);
            if (IsPositiveFinite(member)) {
                out.push_back(member);
            }
        }
    } catch (const FloatingPointFault&) {
        return {};
    }
    // Series sizes far beyond E192 repeat values after their two decimals; each value once.
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

bool RanksBefore(const Candidate& a, const Candidate& b, Ranking ranking) {
    if (ranking == Ranking::Cutoff) {
        const double ea = std::fabs(a.cutoffError), eb = std::fabs(b.cutoffError);
        if (ea != eb) {
            return ea < eb;
        }
    } else if (ranking == Ranking::Response && a.responseDb != b.responseDb) {
        return a.responseDb < b.responseDb;
    }
    if (a.worstError != b.worstError) {
        return a.worstError < b.worstError;
    }
    if (a.rmsError != b.rmsError) {
        return a.rmsError < b.rmsError;
    }
    return a.index < b.index;
}

void AddFigures(Candidate& candidate, const ResponseReference& reference) {
    candidate.cutoff = reference.CutoffOf(candidate.built);
    candidate.cutoffError = (candidate.cutoff - reference.Cutoff()) / reference.Cutoff();
    candidate.responseDb = reference.DeviationDb(candidate.built);
}

namespace {

// The constant calculation's circuit within the neighbourhood: its index and its candidate.
Candidate PlainCandidate(const OptimiseInput& input, const Neighbourhood& hood) {
    std::int64_t plainIndex = 0;
    ComponentValues plainValues{};
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        const auto size = static_cast<std::int64_t>(hood.values[p].size());
        plainIndex = plainIndex * size + static_cast<std::int64_t>(hood.plainAt[p]);
        plainValues[p] = hood.values[p][hood.plainAt[p]];
    }
    const Circuit circuit = CircuitOf(plainValues, input.ideal.isLpf);
    const PoleSet built =
        HasDynamics(input.opAmp) ? DominantPoles(circuit, input.opAmp) : CircuitPoles(circuit);
    Candidate plain = search::Score(circuit, built, input.requested, plainIndex);
    plain.plainRounding = true;
    return plain;
}

}  // namespace

OptimiseResult OptimiseValues(const OptimiseInput& input, const RunControl& control) {
    OptimiseResult result;
    result.problem = CheckInput(input);
    if (result.problem) {
        return result;
    }
    Neighbourhood hood = BuildNeighbourhood(input);
    if (hood.problem) {
        result.problem = hood.problem;
        return result;
    }
    result.plain = PlainCandidate(input, hood);
    result.candidates = std::move(hood.values);
    result.combinations = 1;
    for (const std::vector<double>& values : result.candidates) {
        result.combinations *= static_cast<std::int64_t>(values.size());
    }
    const ResponseReference reference(input.requested, input.ideal.isLpf);
    result.requestedCutoff = reference.Cutoff();
    const bool plainRanked = search::Rank(result.plain, reference, input.ranking);

    search::Found found = search::SearchAll(
        {input, result.candidates, reference, result.plain, plainRanked, result.combinations},
        control);
    result.status = found.cancelled ? RunStatus::Cancelled : RunStatus::Done;
    result.evaluated = found.evaluated;
    result.unrealisable = found.unrealisable;
    result.best = std::move(found.best);
    for (Candidate& c : result.best) {
        AddFigures(c, reference);
    }
    AddFigures(result.plain, reference);
    if (plainRanked && found.plainEvaluated) {
        result.plainRank = found.aheadOfPlain + 1;
    }
    if (control.progress) {
        control.progress(result.evaluated, result.combinations);
    }
    return result;
}

}  // namespace mirelto
