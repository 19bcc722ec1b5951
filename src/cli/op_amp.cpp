#include "op_amp.h"

#include <cmath>

#include "common.h"

namespace mirelto::cli {

namespace {

// The window's precision for the shifts it names.
constexpr const char* kShiftFormat = "%.2f";

// The window's signed shift: "+" only before a figure that does not show as zero.
std::string Signed(double value) {
    const std::string text = FixedText(value, kShiftFormat);
    return value > 0 && text != FixedText(0, kShiftFormat) ? "+" + text : text;
}

// What the op-amp changes of one figure: the shift, or that the figure is gone.
std::string Shift(std::string_view figure, double ideal, double real, double shift,
                  std::string_view unit) {
    if (std::isnan(ideal)) {
        return {};
    }
    if (std::isnan(real)) {
        return Concat(figure, " (none with it)");
    }
    return Concat(figure, " by ", Signed(shift), unit);
}

std::string WarningText(const OpAmpFigures& f) {
    if (!f.warning) {
        return {};
    }
    std::string shifts = Shift("the -3 dB frequency", f.ideal.cutoff, f.real.cutoff,
                               RelativeErrorPercent(f.ideal.cutoff, f.real.cutoff), " %");
    const std::string peak = Shift("the peak gain", f.ideal.peak.gainDb, f.real.peak.gainDb,
                                   f.real.peak.gainDb - f.ideal.peak.gainDb, " dB");
    if (!peak.empty()) {
        shifts += shifts.empty() ? peak : Concat(" and ", peak);
    }
    return Concat("Warning: against an ideal op-amp, this op-amp changes ", shifts,
                  " (allowed: 1 % / 0.5 dB).");
}

}  // namespace

const std::array<Option, 1> kOpAmpOptions{{
    {"--gbw", "F",
     "op-amp gain-bandwidth product, Hz: also the -3 dB frequency and peak with a single-pole "
     "op-amp"},
}};

std::optional<double> ReadGbw(const Arguments& args) {
    if (!args.Has("--gbw")) {
        return std::nullopt;
    }
    return ParsePositive("--gbw", *args.Text("--gbw"));
}

OpAmpFigures OpAmpFiguresOf(const Circuit& circuit, double gbw) {
    return OpAmpFiguresOf(circuit, OpAmp::WithGbw(gbw));
}

OpAmpFigures OpAmpFiguresOf(const Circuit& circuit, const OpAmp& opAmp) {
    AnalysisInput input;
    input.isLpf = circuit.isLpf;
    input.hasRequest = false;
    input.built = circuit;
    input.opAmpGbw = opAmp.gbw;
    input.opAmpA0 = opAmp.a0;
    input.opAmpOutputResistance = opAmp.outputResistance;
    const AnalysisResult result = Analyse(input);
    return {opAmp.gbw, result.builtFigures, result.opAmpFigures, result.opAmpWarning};
}

std::string OpAmpText(const OpAmpFigures& f, std::string_view lineEnd) {
    std::string text = Concat("Op-amp GBW = ", Compact(f.gbw),
                              "Hz (single pole): f(-3dB) = ", Shown(f.real.cutoff),
                              "Hz  peak = ", FixedText(f.real.peak.gainDb, "%+.2f"), "dB at ",
                              Shown(f.real.peak.frequency), "Hz", lineEnd);
    const std::string warning = WarningText(f);
    if (!warning.empty()) {
        text += Concat(warning, lineEnd);
    }
    return text;
}

Json OpAmpJson(const OpAmpFigures& f) {
    const std::string warning = WarningText(f);
    return {{"gbw", JsonNumber(f.gbw)},
            {"cutoff", JsonNumber(f.real.cutoff)},
            {"peak",
             {{"frequency", JsonNumber(f.real.peak.frequency)},
              {"gainDb", JsonNumber(f.real.peak.gainDb)}}},
            {"warning", warning.empty() ? Json(nullptr) : Json(warning)}};
}

}  // namespace mirelto::cli
