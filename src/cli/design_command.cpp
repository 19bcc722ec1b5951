// design: the window's constant calculation; analyse: the window's transfer-function calculation
// of six given parts, with the -3 dB frequency.
#include <cmath>

#include <mirelto/design/constant_calculation.h>
#include <mirelto/design/default_design.h>
#include <mirelto/design/filter.h>
#include <mirelto/output/report.h>
#include <mirelto/response/analysis.h>
#include <mirelto/response/cutoff.h>
#include <mirelto/response/transfer.h>
#include <mirelto/tools/optimise.h>

#include "common.h"
#include "design_compensation.h"
#include "op_amp.h"
#include "op_amp_choice.h"
#include "op_amp_report.h"
#include "output_file.h"
#include "refusal.h"
#include "warnings.h"

namespace mirelto::cli {

namespace {

const std::array<Option, 1> kCompensateOptions{{
    {"--compensate", "",
     "choose the computed parts for the circuit with the op-amp of --gbw (or --opamp)"},
}};

const std::array<Option, 1> kSaveOptions{{
    {"--save", "FILE",
     "also write the design with its results to FILE (.mirelto), whole or not at all"},
}};

// A selector's text for a series size, as the window lists it.
std::string SeriesText(std::int32_t series) {
    return series == 0 ? std::string("\xE2\x88\x9E") : std::to_string(series);  // "∞"
}

// The design as the window would save it after this calculation: the report's boxes, the
// selectors (those of the computed parts as used, the others from --design or the window's
// start), and the note and analysis settings of --design.
DesignFile SavedDesign(const Arguments& args, bool isLpf, const ReportTexts& texts,
                       const std::array<std::int32_t, 3>& series) {
    DesignFile design = args.Design().value_or(DesignFile{});
    design.isLpf = isLpf;
    design.request = {texts.EditFa, texts.EditFo, texts.EditQ};
    design.parts = {texts.EditR1, texts.EditR2, texts.EditR3,
                    texts.EditC1, texts.EditC2, texts.EditC3};
    design.result = {texts.EditFar, texts.EditFor, texts.EditQr};
    if (!args.Design()) {
        for (std::size_t i = 0; i < 3; ++i) {
            design.series[i] = std::to_string(DefaultDesign().resistorSeries);
            design.series[3 + i] = std::to_string(DefaultDesign().capacitorSeries);
        }
    }
    const std::size_t computed = isLpf ? 3 : 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (args.Has(kSeriesOptions[i].name) || !args.Design()) {
            design.series[computed + i] = SeriesText(series[i]);
        }
    }
    design.opAmp = SavedOpAmpSetting(args);
    return design;
}

// The -3 dB frequency within the analysis window's range.
struct Cutoff {
    FrequencyRange range;
    double frequency = 0;
};

Cutoff CutoffOf(const Circuit& circuit) {
    AnalysisInput window;
    window.isLpf = circuit.isLpf;
    window.hasRequest = false;
    window.built = circuit;
    Cutoff cutoff;
    cutoff.range = PlotRange(window);
    const Rational3 h = CircuitTransfer(circuit);
    cutoff.frequency = CutoffFrequency([&h](double f) { return Evaluate(h, f); }, circuit.isLpf,
                                       cutoff.range.low, cutoff.range.high);
    return cutoff;
}

// The line after the report, CR LF as the report's own.
std::string CutoffLine(const Cutoff& cutoff) {
    return Concat("f(-3dB) = ", Shown(cutoff.frequency), "Hz\r\n");
}

// With --gbw (or an --opamp that has one): the circuit with that op-amp.
std::optional<OpAmpFigures> OpAmpOf(const Circuit& circuit, const std::optional<OpAmp>& opAmp) {
    return opAmp && HasDynamics(*opAmp) ? std::optional(OpAmpFiguresOf(circuit, *opAmp))
                                        : std::nullopt;
}

// The op-amp's -3 dB line and warning, then the least GBW of the 1 % rule.
std::string OpAmpLines(const std::optional<OpAmpFigures>& figures, const Circuit& circuit,
                       const std::optional<OpAmp>& opAmp) {
    return figures ? OpAmpText(*figures, "\r\n") + LeastGbwText(circuit, *opAmp, "\r\n")
                   : std::string();
}

void AddOpAmp(Json& json, const std::optional<OpAmpFigures>& figures, const Circuit& circuit,
              const std::optional<OpAmp>& opAmp) {
    if (figures) {
        json["opAmp"] = OpAmpJson(*figures);
        json["opAmp"]["leastGbw"] = JsonNumber(LeastGbw(circuit, *opAmp));
    }
}

Json WithCutoff(Json result, const Cutoff& cutoff) {
    result["cutoff"] = JsonNumber(cutoff.frequency);
    return result;
}

// The boxes after a constant calculation: the request and the given parts as typed, the
// computed parts and the result as the window shows them.
ReportTexts ResultTexts(const Request& request, const GivenComponents& given,
                        const ComponentValues& parts, const PoleSet& poles, bool isLpf) {
    ReportTexts texts;
    texts.EditFa = request.faText;
    texts.EditFo = request.foText;
    texts.EditQ = request.qText;
    std::string* const givenTexts[2][3] = {{&texts.EditC1, &texts.EditC2, &texts.EditC3},
                                           {&texts.EditR1, &texts.EditR2, &texts.EditR3}};
    std::string* const computedTexts[2][3] = {{&texts.EditR1, &texts.EditR2, &texts.EditR3},
                                              {&texts.EditC1, &texts.EditC2, &texts.EditC3}};
    const double computed[2][3] = {{parts[0], parts[1], parts[2]}, {parts[3], parts[4], parts[5]}};
    for (std::size_t i = 0; i < 3; ++i) {
        *givenTexts[isLpf ? 1 : 0][i] = given.texts[i];
        *computedTexts[isLpf ? 1 : 0][i] = Shown(computed[isLpf ? 1 : 0][i]);
    }
    texts.EditFar = Shown(poles.fa);
    texts.EditFor = Shown(poles.fo);
    texts.EditQr = Shown(poles.q);
    return texts;
}

// The constant calculation exactly as the window runs it.
void RunDesign(const Arguments& args, std::ostream& out) {
    const bool isLpf = ReadIsLpf(args);
    const Request request = ReadRequest(args, isLpf);
    const GivenComponents given = ReadGiven(args, isLpf);
    const std::array<std::int32_t, 3> series = ReadSeries(args, isLpf);
    const std::optional<OpAmp> opAmp = ReadOpAmp(args);
    const bool compensate = Compensates(args);
    if (compensate && !(opAmp && HasDynamics(*opAmp))) {
        throw UsageError("--compensate: needs the op-amp's --gbw (or an --opamp with one)");
    }

    ConstantRequest input;
    input.request = request.poles;
    input.isLpf = isLpf;
    input.given = given.values;
    input.givenTexts = given.texts;
    input.series = series;
    const ConstantOutcome outcome = CalculateConstants(DesignRecord{}, input);
    if (outcome.stop != ConstantStop::Done) {
        throw StopRefusal(outcome.stop, outcome.fault, isLpf);
    }
    const DesignRecord& st = outcome.record;
    Circuit built = outcome.built;
    PoleSet result = outcome.result;
    ComponentValues shownParts{st.ResR1, st.ResR2, st.ResR3, st.ResC1, st.ResC2, st.ResC3};
    PoleSet shownPoles{st.FaResult, st.FoResult, st.QResult};
    std::optional<CompensatedDesign> compensated;
    if (compensate) {
        const IdealDesign ideal = DesignIdeal(input);
        compensated = CompensateDesign(request.poles, ideal.circuit, series, *opAmp);
        built = compensated->rounded;
        result = compensated->result;
        shownParts = ComponentsOf(built);
        shownPoles = result;
    }
    const ReportTexts texts = ResultTexts(request, given, shownParts, shownPoles, isLpf);
    const std::string report = ComposeReport(isLpf, true, texts);
    if (const auto path = args.Text("--save")) {
        WriteOutputFile(*path, SerialiseDesignFile(SavedDesign(args, isLpf, texts, series)));
    }

    const Cutoff cutoff = CutoffOf(built);
    const std::optional<OpAmpFigures> figures = OpAmpOf(built, opAmp);
    const SignalReport signal = SignalReportOf(args, built, opAmp.value_or(OpAmp{}));
    if (!args.Has("--json")) {
        out << report << CutoffLine(cutoff) << OpAmpLines(figures, built, opAmp);
        if (compensated) {
            out << CompensationText(*compensated, *opAmp, "\r\n");
        }
        WriteWarnings(out, built, "Warning", "\r\n");
        out << SignalText(signal, "\r\n")
            << NoiseSummaryText(args, built, opAmp.value_or(OpAmp{}), "\r\n");
        return;
    }
    const PoleSet& asked = request.poles;
    const PoleSet error{(result.fa - asked.fa) / asked.fa, (result.fo - asked.fo) / asked.fo,
                        (result.q - asked.q) / asked.q};
    Json json{{"command", "design"},
              {"mode", isLpf ? "LPF" : "HPF"},
              {"request", PolesJson(asked)},
              {"series", series},
              {"circuit", CircuitJson(built)},
              {"result", WithCutoff(PolesJson(result), cutoff)},
              {"relativeError", PolesJson(error)},
              {"report", report}};
    AddOpAmp(json, figures, built, opAmp);
    if (compensated) {
        json["compensation"] = CompensationJson(*compensated);
    }
    AddNoiseSummaryJson(json, args, built, opAmp.value_or(OpAmp{}));
    json = WithWarnings(json, built);
    AddSignalJson(json, signal);
    out << JsonText(json);
}

void RunAnalyse(const Arguments& args, std::ostream& out) {
    const bool isLpf = ReadIsLpf(args);
    const Circuit circuit = ReadCircuit(args, isLpf);
    const std::optional<OpAmp> opAmp = ReadOpAmp(args);
    const PoleSet poles = CircuitPoles(circuit);
    if (std::isnan(poles.fa)) {
        throw ProblemRefusal({InputProblem::NoPoles});
    }
    const Cutoff cutoff = CutoffOf(circuit);
    const std::optional<OpAmpFigures> figures = OpAmpOf(circuit, opAmp);
    const SignalReport signal = SignalReportOf(args, circuit, opAmp.value_or(OpAmp{}));

    ReportTexts texts;
    std::string* const boxes[] = {&texts.EditR1, &texts.EditR2, &texts.EditR3,
                                  &texts.EditC1, &texts.EditC2, &texts.EditC3};
    for (std::size_t p = 0; p < kComponentOptions.size(); ++p) {
        *boxes[p] = *args.Text(kComponentOptions[p].name);
    }
    texts.EditFar = Shown(poles.fa);
    texts.EditFor = Shown(poles.fo);
    texts.EditQr = Shown(poles.q);
    const std::string report = ComposeReport(isLpf, false, texts);

    if (!args.Has("--json")) {
        out << report << CutoffLine(cutoff) << OpAmpLines(figures, circuit, opAmp);
        WriteWarnings(out, circuit, "Warning", "\r\n");
        out << SignalText(signal, "\r\n")
            << NoiseSummaryText(args, circuit, opAmp.value_or(OpAmp{}), "\r\n");
        return;
    }
    const Json result = WithCutoff(PolesJson(poles), cutoff);
    // "analyze" whichever spelling ran it: the JSON's names are what scripts read, and they
    // stay as they were.
    Json json{{"command", "analyze"},
              {"mode", isLpf ? "LPF" : "HPF"},
              {"circuit", CircuitJson(circuit)},
              {"result", result},
              {"range", RangeJson(cutoff.range)},
              {"report", report}};
    AddOpAmp(json, figures, circuit, opAmp);
    AddNoiseSummaryJson(json, args, circuit, opAmp.value_or(OpAmp{}));
    json = WithWarnings(json, circuit);
    AddSignalJson(json, signal);
    out << JsonText(json);
}

}  // namespace

CommandInfo DesignCommand() {
    return {"design",
            "the constant calculation and its report, as the window makes it",
            "The constant calculation: the three parts the mode computes (LPF: C1..C3 from the\n"
            "given R1..R3; HPF: R1..R3 from the given C1..C3), rounded to their series, and fa,\n"
            "fo, Q of the rounded circuit. Prints the window's report byte for byte, CR LF line\n"
            "ends included, so that it equals what the window copies; then the -3 dB frequency\n"
            "of the rounded circuit and a line per design warning (resistors or capacitors spread\n"
            "over 30:1, a resistor below 1k or above 1M, a capacitor below 100p).",
            Join({kModeOptions, kRequestOptions, kComponentOptions, kSeriesOptions, kOpAmpOptions,
                  kOpAmpFigureOptions, kAmplitudeOptions, kNoiseBandOptions, kCompensateOptions,
                  kSaveOptions, kOutputOptions}),
            "A given part left out takes the value of the one before it (R2 from R1, R3 from R2),\n"
            "R1 or C1 the window's starting value (22k, 3.3n). Values are SI texts: 22k, 3.3n,\n"
            "4k7, 1.2e-6. A series is 3, 6, 12, 24, 48, 96, 192 (E may lead), 0 or inf for none.\n"
            "--gbw adds the -3 dB frequency and peak with that op-amp, as analyse does, and the\n"
            "least GBW that keeps fo and Q within 1 % of the ideal op-amp's. --compensate chooses\n"
            "the computed parts so that the circuit with that op-amp has the requested fa, fo and\n"
            "Q as its three dominant poles; the report then gives the rounded circuit's with it.\n"
            "--amplitude checks the largest output, slew and input against the op-amp's swing\n"
            "(--supply, --swing-headroom), --slew and common-mode range (Warning lines); --band\n"
            "adds the output noise over that band (see mirelto-cli noise).\n",
            RunDesign};
}

CommandInfo AnalyseCommand() {
    return {"analyse",
            "fa, fo, Q and the -3 dB frequency of six given parts",
            "The transfer-function calculation: fa, fo and Q of the circuit of the six given\n"
            "parts, as the window's report (CR LF line ends), then the -3 dB frequency and a line\n"
            "per design warning.",
            Join({kModeOptions, kComponentOptions, kOpAmpOptions, kOpAmpFigureOptions,
                  kAmplitudeOptions, kNoiseBandOptions, kOutputOptions}),
            "All six parts are required. Values are SI texts: 22k, 3.3n, 4k7, 1.2e-6. With --gbw\n"
            "a line follows the -3 dB frequency with the -3 dB frequency and the peak of the\n"
            "circuit with that op-amp (open-loop gain GBW/f), and the analysis window's warning\n"
            "when the op-amp moves the -3 dB frequency by more than 1 % or the peak by more than\n"
            "0.5 dB.\n",
            RunAnalyse};
}

}  // namespace mirelto::cli
