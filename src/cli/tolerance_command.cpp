// tolerance: Monte Carlo spread of fa, fo, Q and the -3 dB frequency, and the sensitivities.
#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include <mirelto/tools/tolerance.h>

#include "common.h"
#include "op_amp.h"
#include "op_amp_choice.h"
#include "refusal.h"

namespace mirelto::cli {

namespace {

const std::array<Option, 12> kToleranceOptions{{
    {"--tol-r", "PCT", "tolerance of every resistor, % (default 1)"},
    {"--tol-c", "PCT", "tolerance of every capacitor, % (default 5)"},
    {"--tol-r1", "PCT", "tolerance of R1 alone, %"},
    {"--tol-r2", "PCT", "tolerance of R2 alone, %"},
    {"--tol-r3", "PCT", "tolerance of R3 alone, %"},
    {"--tol-c1", "PCT", "tolerance of C1 alone, %"},
    {"--tol-c2", "PCT", "tolerance of C2 alone, %"},
    {"--tol-c3", "PCT", "tolerance of C3 alone, %"},
    {"--distribution", "D", "uniform (the default) or normal (3 sigma = tolerance)"},
    {"--trials", "N", "number of trials, 1 to 100M (default 10000)"},
    {"--seed", "S", "random seed, 0 to 2^64 - 1 (default 1)"},
    {"--bins", "N", "histogram bins, 1 to 10000 (default 40)"},
}};

const std::array<Option, 1> kHistogramOption{{
    {"--histogram", "", "also print the histograms"},
}};

constexpr int kBarWidth = 50;

struct Row {
    const char* name;
    const char* unit;
    const Spread* spread;
};

std::array<Row, 4> Rows(const ToleranceResult& r) {
    return {
        {{"fa", "Hz", &r.fa}, {"fo", "Hz", &r.fo}, {"Q", "", &r.q}, {"f(-3dB)", "Hz", &r.cutoff}}};
}

ToleranceInput ReadInput(const Arguments& args) {
    ToleranceInput input;
    const bool isLpf = ReadIsLpf(args);
    input.nominal = ReadCircuit(args, isLpf);
    const double resistors = ParsePercent("--tol-r", args.Text("--tol-r").value_or("1"));
    const double capacitors = ParsePercent("--tol-c", args.Text("--tol-c").value_or("5"));
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        const Option& own = kToleranceOptions[2 + p];
        const auto text = args.Text(own.name);
        input.tolerance[p] =
            text ? ParsePercent(own.name, *text) : (p < 3 ? resistors : capacitors);
    }
    const std::string distribution = args.Text("--distribution").value_or("uniform");
    if (distribution == "normal") {
        input.distribution = Distribution::Normal;
    } else if (distribution != "uniform") {
        throw UsageError(Concat("--distribution: uniform or normal, not ", Quoted(distribution)));
    }
    if (const auto trials = args.Text("--trials")) {
        input.trials = ParseCount("--trials", *trials, 1, kMaxTrials);
    }
    if (const auto seed = args.Text("--seed")) {
        input.seed = ParseSeed("--seed", *seed);
    }
    if (const auto bins = args.Text("--bins")) {
        input.bins = static_cast<int>(ParseCount("--bins", *bins, 1, kMaxBins));
    }
    const OpAmp opAmp = ReadOpAmp(args).value_or(OpAmp{});
    input.opAmpGbw = HasDynamics(opAmp) ? opAmp.gbw : 0;
    input.opAmpA0 = opAmp.a0;
    input.opAmpOutputResistance = opAmp.outputResistance;
    return input;
}

OpAmp ToleranceOpAmp(const ToleranceInput& input) {
    OpAmp opAmp = OpAmp::WithGbw(input.opAmpGbw);
    opAmp.a0 = input.opAmpA0;
    opAmp.outputResistance = input.opAmpOutputResistance;
    return opAmp;
}

Json SpreadJson(const Spread& s) {
    const Json histogram{{"low", JsonNumber(s.histogram.low)},
                         {"high", JsonNumber(s.histogram.high)},
                         {"counts", s.histogram.counts}};
    return {
        {"nominal", JsonNumber(s.nominal)}, {"count", s.count},
        {"mean", JsonNumber(s.mean)},       {"standardDeviation", JsonNumber(s.standardDeviation)},
        {"minimum", JsonNumber(s.minimum)}, {"maximum", JsonNumber(s.maximum)},
        {"p1", JsonNumber(s.p1)},           {"p50", JsonNumber(s.p50)},
        {"p99", JsonNumber(s.p99)},         {"histogram", histogram},
    };
}

// {"R1": ..., "C3": ...} of one number per part.
Json PartsJson(const ComponentValues& values) {
    Json json = Json::object();
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        json[ComponentName(p)] = JsonNumber(values[p]);
    }
    return json;
}

void WriteJson(std::ostream& out, const ToleranceInput& input, const ToleranceResult& r) {
    Json json{{"command", "tolerance"},
              {"mode", input.nominal.isLpf ? "LPF" : "HPF"},
              {"circuit", CircuitJson(input.nominal)},
              {"tolerance", PartsJson(input.tolerance)},
              {"distribution", input.distribution == Distribution::Normal ? "normal" : "uniform"},
              {"trials", r.trials},
              {"seed", r.seed},
              {"cutoffRange", RangeJson(r.cutoffRange)}};
    const char* keys[] = {"fa", "fo", "q", "cutoff"};
    const std::array<Row, 4> rows = Rows(r);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        json[keys[i]] = SpreadJson(*rows[i].spread);
    }
    json["sensitivity"] = {{"fa", PartsJson(r.sensitivity.fa)},
                           {"fo", PartsJson(r.sensitivity.fo)},
                           {"q", PartsJson(r.sensitivity.q)}};
    if (input.opAmpGbw > 0) {
        json["opAmp"] = OpAmpJson(OpAmpFiguresOf(input.nominal, ToleranceOpAmp(input)));
    }
    out << JsonText(json);
}

void WriteHistogram(std::ostream& out, const Row& row) {
    const Histogram& h = row.spread->histogram;
    out << "\n" << row.name << " histogram (" << row.spread->count << " values)\n";
    const std::int64_t most = *std::max_element(h.counts.begin(), h.counts.end());
    const double width = (h.high - h.low) / static_cast<double>(h.counts.size());
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        const double from = h.low + width * static_cast<double>(i);
        const auto bar = most > 0 ? static_cast<int>(h.counts[i] * kBarWidth / most) : 0;
        std::array<char, 24> count{};
        std::snprintf(count.data(), count.size(), "%8" PRId64 " ", h.counts[i]);
        out << Shown(from) << row.unit << " " << count.data() << std::string(bar, '#') << "\n";
    }
}

// The sensitivity table: a column per part, a line each for fa, fo and Q.
void WriteSensitivities(std::ostream& out, const Sensitivities& sensitivity) {
    out << "\nSensitivity S = (dy/dx)(x/y)\n       ";
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        out << "       " << ComponentName(p);
    }
    out << "\n";
    const std::pair<const char*, const ComponentValues*> lines[] = {
        {"fa", &sensitivity.fa}, {"fo", &sensitivity.fo}, {"Q", &sensitivity.q}};
    for (const auto& [name, values] : lines) {
        std::string label = name;
        label.resize(7, ' ');
        out << label;
        for (double s : *values) {
            out << FixedText(s, "%+9.4f");
        }
        out << "\n";
    }
}

void WriteText(std::ostream& out, const ToleranceInput& input, const ToleranceResult& r,
               bool histograms) {
    out << (input.nominal.isLpf ? "3rd LPF" : "3rd HPF")
        << " tolerance analysis: " << Counted(r.trials, "trial") << ", "
        << (input.distribution == Distribution::Normal ? "normal" : "uniform") << ", seed "
        << r.seed << "\nTolerances:";
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        out << "  " << ComponentName(p) << " " << FixedText(input.tolerance[p] * 100, "%g") << " %";
    }
    if (input.opAmpGbw > 0) {
        out << "\n"
            << OpAmpText(OpAmpFiguresOf(input.nominal, ToleranceOpAmp(input)), "\n")
            << "f(-3dB) below is with this op-amp; fa, fo, Q are the ideal circuit's.";
    }
    // Columns of Shown (8 characters) with a unit of 2 after it.
    out << "\n\n        ";
    for (const char* heading : {"nominal", "1 %", "50 %", "99 %"}) {
        out << std::string(10 - std::string_view(heading).size(), ' ') << heading << "  ";
    }
    out << "\n";
    for (const Row& row : Rows(r)) {
        const Spread& s = *row.spread;
        std::string name = row.name;
        name.resize(8, ' ');
        out << name;
        for (double v : {s.nominal, s.p1, s.p50, s.p99}) {
            out << "  " << Shown(v) << (row.unit[0] == 0 ? "  " : row.unit);
        }
        out << "\n";
    }
    // The figures cover the trials where each quantity is defined; say how many are left out.
    const std::int64_t withoutPoles = r.trials - r.q.count;
    const std::int64_t withoutCutoff = r.q.count - r.cutoff.count;
    if (withoutPoles > 0) {
        out << "Left out: " << Counted(withoutPoles, "trial")
            << " without a real pole and complex pole pair (no fa, fo, Q)\n";
    }
    if (withoutCutoff > 0) {
        out << "Left out of f(-3dB): " << Counted(withoutCutoff, "trial") << " without -3 dB from "
            << Compact(r.cutoffRange.low) << "Hz to " << Compact(r.cutoffRange.high) << "Hz\n";
    }
    WriteSensitivities(out, r.sensitivity);
    if (histograms) {
        for (const Row& row : Rows(r)) {
            WriteHistogram(out, row);
        }
    }
}

void RunTolerance(const Arguments& args, std::ostream& out) {
    const ToleranceInput input = ReadInput(args);
    const ToleranceResult result = AnalyseTolerance(input);
    if (result.status != RunStatus::Done) {
        throw ProblemRefusal(result.problem);
    }
    if (args.Has("--json")) {
        WriteJson(out, input, result);
    } else {
        WriteText(out, input, result, args.Has("--histogram"));
    }
}

}  // namespace

CommandInfo ToleranceCommand() {
    return {
        "tolerance",
        "Monte Carlo spread of fa, fo, Q and f(-3dB), and the sensitivities",
        "Tolerance analysis of the circuit of six given parts: each trial draws every part\n"
        "within its tolerance and analyses the circuit. Prints the 1st, 50th and 99th\n"
        "percentiles of fa, fo, Q and the -3 dB frequency, and the relative sensitivities of\n"
        "fa, fo and Q to each part (central differences). The same seed repeats a run exactly,\n"
        "on any platform.",
        Join({kModeOptions, kComponentOptions, kToleranceOptions, kOpAmpOptions,
              kOpAmpFigureOptions, kHistogramOption, kOutputOptions}),
        "Percentages are SI texts, a trailing % allowed: 1, 1%, 500m. Histograms span the\n"
        "observed range in equal bins; --json always includes them. With --gbw every trial's\n"
        "-3 dB frequency is that of the circuit with a single-pole op-amp of that GBW.\n",
        RunTolerance};
}

}  // namespace mirelto::cli
