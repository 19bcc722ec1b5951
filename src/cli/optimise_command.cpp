// optimise: the best combinations of preferred values around the ideal design.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <optional>

#include <mirelto/tools/optimise.h>
#include <mirelto/values/eseries.h>

#include "common.h"
#include "op_amp.h"
#include "op_amp_choice.h"
#include "refusal.h"
#include "warnings.h"

namespace mirelto::cli {

namespace {

const std::array<Option, 4> kSearchOptions{{
    {"--rank", "NAME", "what to rank by: poles (default), cutoff or response"},
    {"--given-series", "N", "series the given parts move along (default 0: they stay fixed)"},
    {"--steps", "K", "neighbourhood: each part moves up to K steps, 1 to 3 (default 2)"},
    {"--count", "N", "how many of the best to list, 1 to 1000 (default 20)"},
}};

constexpr std::int64_t kMostListed = 1000;
constexpr int kDefaultSteps = 2;

std::string SeriesName(std::int32_t series) {
    return series == 0 ? std::string("fixed") : Concat("E", std::to_string(series));
}

std::string Percent(double fraction, bool sign) {
    return FixedText(fraction * 100, sign ? "%+8.3f" : "%8.3f");
}

Json CandidateJson(const Candidate& c, std::int64_t rank) {
    return {{"rank", rank},
            {"circuit", CircuitJson(c.circuit)},
            {"result", PolesJson(c.built)},
            {"relativeError", PolesJson(c.error)},
            {"worstError", JsonNumber(c.worstError)},
            {"rmsError", JsonNumber(c.rmsError)},
            {"cutoff", JsonNumber(c.cutoff)},
            {"cutoffError", JsonNumber(c.cutoffError)},
            {"responseDb", JsonNumber(c.responseDb)},
            {"plainRounding", c.plainRounding},
            {"warnings", WarningsJson(c.circuit)}};
}

void WriteJson(std::ostream& out, const OptimiseInput& input, const OptimiseResult& result) {
    Json series = Json::object();
    Json candidates = Json::object();
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        series[ComponentName(p)] = input.series[p];
        Json& values = candidates[ComponentName(p)] = Json::array();
        for (double v : result.candidates[p]) {
            values.push_back(JsonNumber(NominalValue(v)));
        }
    }
    Json best = Json::array();
    std::int64_t rank = 0;
    for (const Candidate& c : result.best) {
        best.push_back(CandidateJson(c, ++rank));
    }
    const Json json{{"command", "optimise"},
                    {"mode", input.ideal.isLpf ? "LPF" : "HPF"},
                    {"request", PolesJson(input.requested)},
                    {"ranking", RankingName(input.ranking)},
                    {"requestedCutoff", JsonNumber(result.requestedCutoff)},
                    {"steps", input.steps},
                    {"series", series},
                    {"ideal", CircuitJson(input.ideal)},
                    {"candidates", candidates},
                    {"combinations", result.combinations},
                    {"unrealisable", result.unrealisable},
                    {"best", best},
                    {"plainRounding", CandidateJson(result.plain, result.plainRank)}};
    out << JsonText(json);
}

// The warnings of the best row and of plain rounding, once when they are the same row.
void WriteBestWarnings(std::ostream& out, const OptimiseResult& result) {
    if (!result.best.empty()) {
        WriteWarnings(out, result.best.front().circuit, "Warning (rank 1)", "\n");
    }
    if (result.best.empty() || !result.best.front().plainRounding) {
        WriteWarnings(out, result.plain.circuit, "Warning (plain rounding)", "\n");
    }
}

void WriteText(std::ostream& out, const Request& request, const OptimiseInput& input,
               const OptimiseResult& result) {
    const bool isLpf = input.ideal.isLpf;
    out << (isLpf ? "3rd LPF" : "3rd HPF") << " best standard values for fa = " << request.faText
        << "Hz  fo = " << request.foText << "Hz  Q = " << request.qText << "\n";
    for (bool given : {false, true}) {
        out << (given ? "Given:   " : "Computed:");
        for (std::size_t p = 0; p < kComponentCount; ++p) {
            if (IsGivenComponent(p, isLpf) == given) {
                out << "  " << ComponentName(p) << " " << SeriesName(input.series[p]);
            }
        }
        out << "\n";
    }
    out << "Ranked by " << RankingName(input.ranking)
        << "; requested f(-3dB) = " << Compact(result.requestedCutoff) << "Hz\n";
    out << "Neighbourhood: ±" << Counted(input.steps, "step") << ", "
        << Counted(result.combinations, "combination") << ", " << result.unrealisable
        << " without fa, fo, Q\n";
    out << "Ideal:   ";
    const ComponentValues ideal = ComponentsOf(input.ideal);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        out << "  " << ComponentName(p) << " = " << Compact(ideal[p]);
    }
    out << "\n\n rank  worst %     fa %     fo %      Q %   f(-3dB)   f3dB %  resp dB"
        << "        R1        R2        R3        C1        C2        C3\n";
    std::int64_t rank = 0;
    for (const Candidate& c : result.best) {
        std::array<char, 32> number{};
        std::snprintf(number.data(), number.size(), "%4" PRId64 "%c", ++rank,
                      c.plainRounding ? '*' : ' ');
        out << number.data() << Percent(c.worstError, false) << " " << Percent(c.error.fa, true)
            << " " << Percent(c.error.fo, true) << " " << Percent(c.error.q, true) << "  "
            << Shown(c.cutoff) << " " << Percent(c.cutoffError, true) << " "
            << FixedText(c.responseDb, "%8.3f") << " ";
        for (double v : ComponentsOf(c.circuit)) {
            out << "  " << Shown(v);
        }
        out << "\n";
    }
    const Candidate& plain = result.plain;
    out << "\n* the constant calculation's circuit: ";
    if (result.plainRank > 0) {
        out << "rank " << result.plainRank << " by " << RankingName(input.ranking) << ", worst "
            << FixedText(plain.worstError * 100, "%.3f") << " %, f(-3dB) "
            << FixedText(plain.cutoffError * 100, "%+.3f") << " %, response "
            << FixedText(plain.responseDb, "%.3f") << " dB\n";
    } else {
        out << "no fa, fo, Q\n";
    }
    WriteBestWarnings(out, result);
}

void RunOptimise(const Arguments& args, std::ostream& out) {
    const bool isLpf = ReadIsLpf(args);
    const Request request = ReadRequest(args, isLpf);
    const GivenComponents given = ReadGiven(args, isLpf);
    const std::array<std::int32_t, 3> computedSeries = ReadSeries(args, isLpf);
    const std::int32_t givenSeries =
        ParseSeriesOption("--given-series", args.Text("--given-series").value_or("0"));
    OptimiseInput input;
    input.requested = request.poles;
    input.steps = kDefaultSteps;
    if (const auto steps = args.Text("--steps")) {
        input.steps = static_cast<int>(ParseCount("--steps", *steps, 1, kMaxSteps));
    }
    if (const auto count = args.Text("--count")) {
        input.keep = static_cast<std::size_t>(ParseCount("--count", *count, 1, kMostListed));
    }
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        input.series[p] = IsGivenComponent(p, isLpf) ? givenSeries : computedSeries[p % 3];
    }
    input.opAmp = ReadOpAmp(args).value_or(OpAmp{});
    if (const auto rank = args.Text("--rank")) {
        const std::optional<Ranking> ranking = ParseRanking(*rank);
        if (!ranking) {
            throw UsageError(
                Concat("--rank: unknown ranking ", Quoted(*rank), " (poles, cutoff or response)"));
        }
        input.ranking = *ranking;
    }

    const IdealDesign ideal = DesignIdeal(request.poles, isLpf, given.values);
    if (!ideal.realisable) {
        throw StopRefusal(ideal.stop, ideal.fault, isLpf);
    }
    input.ideal = ideal.circuit;
    const OptimiseResult result = OptimiseValues(input);
    if (result.status != RunStatus::Done) {
        throw ProblemRefusal(result.problem);
    }
    if (args.Has("--json")) {
        WriteJson(out, input, result);
    } else {
        WriteText(out, request, input, result);
    }
}

}  // namespace

CommandInfo OptimiseCommand() {
    return {
        "optimise",
        "the best combinations of preferred values around the ideal design",
        "Best standard values: designs the request without rounding, then tries every\n"
        "combination of preferred values within K steps of each part and lists the best by\n"
        "the worst relative error of fa, fo and Q of the built circuit (--rank poles), the\n"
        "error of its -3 dB frequency (--rank cutoff), or the largest deviation in dB of its\n"
        "magnitude from the requested one from 0.1 to 3 times the requested -3 dB frequency\n"
        "(mirrored for HPF; --rank response). A computed part moves\n"
        "up to K members either way from the member the constant calculation rounds it to; a\n"
        "given part keeps its value, or moves up to K members either way along --given-series.",
        Join({kModeOptions, kRequestOptions, kComponentOptions, kSeriesOptions, kSearchOptions,
              kOpAmpOptions, kOpAmpFigureOptions, kOutputOptions}),
        "Ties in the cutoff or response figure go by the worst error, ties in the worst error\n"
        "by the rms error, then by enumeration order. The row marked\n"
        "* is the circuit the constant calculation builds (plain rounding); its rank is given\n"
        "under the table, and after it the design warnings of the first row and of plain\n"
        "rounding (--json: of every row). Values are SI texts; given parts default as in design.\n",
        RunOptimise};
}

}  // namespace mirelto::cli
