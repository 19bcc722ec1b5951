#include "op_amp_report.h"

#include <cmath>

#include <mirelto/tools/noise.h>

#include "common.h"
#include "op_amp_choice.h"

namespace mirelto::cli {

namespace {

constexpr OpAmpFigure kAllFigures[] = {
    OpAmpFigure::Gbw,
    OpAmpFigure::DcGain,
    OpAmpFigure::VoltageNoise,
    OpAmpFigure::VoltageNoiseCorner,
    OpAmpFigure::CurrentNoise,
    OpAmpFigure::CurrentNoiseCorner,
    OpAmpFigure::SlewRate,
    OpAmpFigure::SwingLow,
    OpAmpFigure::SwingHigh,
    OpAmpFigure::CommonModeLow,
    OpAmpFigure::CommonModeHigh,
    OpAmpFigure::Supply,
    OpAmpFigure::OutputResistance,
};

std::string WarningText(SignalWarning w, const SignalReport& r) {
    const SignalLimits& l = *r.limits;
    switch (w) {
        case SignalWarning::NotUnityGainStable:
            return Concat(r.opAmp.name.empty() ? std::string("the op-amp") : r.opAmp.name,
                          " is not stable as a unity-gain follower: choose another op-amp");
        case SignalWarning::OutputSwing:
            return Concat("the output reaches ", Compact(l.largestOutput), "V peak (at ",
                          Compact(l.outputFrequency), "Hz), beyond the op-amp's swing of +-",
                          Compact(l.swingLimit), "V");
        case SignalWarning::SlewRate:
            return Concat("the output slews at up to ", Compact(l.largestSlew), "V/s (at ",
                          Compact(l.slewFrequency), "Hz), beyond the op-amp's slew rate of ",
                          Compact(r.opAmp.slewRate), "V/s");
        case SignalWarning::CommonMode:
            return Concat("the input reaches ", Compact(l.largestOutput),
                          "V peak, beyond the op-amp's input common-mode range of +-",
                          Compact(l.commonModeLimit), "V");
    }
    return {};
}

// "limit: margin M" or the figures it needs.
std::string Against(double limit, double margin, std::string_view unit, std::string_view what) {
    if (std::isnan(limit)) {
        return Concat(" (", what, " not given)");
    }
    return Concat(" (", what, " ", Compact(limit), unit, ": margin ", Compact(margin), unit, ")");
}

std::optional<NoiseResult> NoiseSummary(const Arguments& args, const Circuit& circuit,
                                        const OpAmp& opAmp) {
    NoiseInput input;
    input.band = ReadBand(args);
    if (!(input.band.high > 0)) {
        return std::nullopt;
    }
    input.circuit = circuit;
    input.opAmp = opAmp;
    input.temperature = ReadTemperature(args);
    input.points = 2;
    return AnalyseNoise(input);
}

}  // namespace

std::string NoiseSummaryText(const Arguments& args, const Circuit& circuit, const OpAmp& opAmp,
                             std::string_view lineEnd) {
    const auto noise = NoiseSummary(args, circuit, opAmp);
    if (!noise) {
        return {};
    }
    const std::string range =
        std::isnan(noise->dynamicRangeDb)
            ? std::string()
            : Concat(", dynamic range ", FixedText(noise->dynamicRangeDb, "%.1f"), " dB");
    return Concat("Output noise ", Compact(noise->band.low), "Hz to ", Compact(noise->band.high),
                  "Hz: ", Compact(noise->totalRms), "V RMS", range, lineEnd);
}

void AddNoiseSummaryJson(Json& json, const Arguments& args, const Circuit& circuit,
                         const OpAmp& opAmp) {
    if (const auto noise = NoiseSummary(args, circuit, opAmp)) {
        json["noise"] = {{"band", {JsonNumber(noise->band.low), JsonNumber(noise->band.high)}},
                         {"temperature", JsonNumber(ReadTemperature(args))},
                         {"outputRms", JsonNumber(noise->totalRms)},
                         {"dynamicRangeDb", JsonNumber(noise->dynamicRangeDb)}};
    }
}

Json OpAmpFiguresJson(const OpAmp& o) {
    Json json{{"name", o.name.empty() ? Json(nullptr) : Json(o.name)}};
    for (const OpAmpFigure f : kAllFigures) {
        json[std::string(OpAmpFigureName(f))] = JsonNumber(FigureOf(o, f));
    }
    json["unityGainStable"] = o.unityGainStable;
    json["source"] = o.source.empty() ? Json(nullptr) : Json(o.source);
    return json;
}

SignalReport SignalReportOf(const Arguments& args, const Circuit& circuit, const OpAmp& opAmp) {
    SignalReport report{opAmp, ReadAmplitude(args), std::nullopt};
    if (report.amplitude || ReadOpAmp(args)) {
        SignalLimitsInput input;
        input.circuit = circuit;
        input.opAmp = opAmp;
        input.amplitude = report.amplitude.value_or(0);
        report.limits = SignalLimitsOf(input);
    }
    return report;
}

SignalReport SignalReportOf(const Arguments& args, const Circuit& circuit) {
    return SignalReportOf(args, circuit, ReadOpAmp(args).value_or(OpAmp{}));
}

std::string SignalText(const SignalReport& r, std::string_view lineEnd) {
    if (!r.limits) {
        return {};
    }
    const SignalLimits& l = *r.limits;
    std::string text;
    if (r.amplitude) {
        text += Concat("Signal ", Compact(*r.amplitude), "V peak: largest output ",
                       Compact(l.largestOutput), "V at ", Compact(l.outputFrequency), "Hz",
                       Against(l.swingLimit, l.swingMargin, "V", "swing +-"), lineEnd);
        text +=
            Concat("  largest slew ", Compact(l.largestSlew), "V/s at ", Compact(l.slewFrequency),
                   "Hz", Against(r.opAmp.slewRate, l.slewMargin, "V/s", "slew rate"), lineEnd);
        text += Concat("  input common-mode",
                       Against(l.commonModeLimit, l.commonModeMargin, "V", "range +-"), lineEnd);
        if (!std::isnan(l.fullPowerBandwidth)) {
            text += Concat("  full-power bandwidth ", Compact(l.fullPowerBandwidth), "Hz", lineEnd);
        }
    }
    for (const SignalWarning w : l.warnings) {
        text += Concat("Warning: ", WarningText(w, r), lineEnd);
    }
    return text;
}

void AddSignalJson(Json& json, const SignalReport& r) {
    if (!r.limits) {
        return;
    }
    const SignalLimits& l = *r.limits;
    if (r.amplitude) {
        Json missing = Json::array();
        for (const OpAmpFigure f : l.missing) {
            missing.push_back(OpAmpFigureName(f));
        }
        json["signal"] = {{"amplitude", JsonNumber(*r.amplitude)},
                          {"largestOutput", JsonNumber(l.largestOutput)},
                          {"outputFrequency", JsonNumber(l.outputFrequency)},
                          {"largestSlew", JsonNumber(l.largestSlew)},
                          {"slewFrequency", JsonNumber(l.slewFrequency)},
                          {"swingLimit", JsonNumber(l.swingLimit)},
                          {"swingMargin", JsonNumber(l.swingMargin)},
                          {"slewRate", JsonNumber(r.opAmp.slewRate)},
                          {"slewMargin", JsonNumber(l.slewMargin)},
                          {"commonModeLimit", JsonNumber(l.commonModeLimit)},
                          {"commonModeMargin", JsonNumber(l.commonModeMargin)},
                          {"fullPowerBandwidth", JsonNumber(l.fullPowerBandwidth)},
                          {"missing", missing}};
    }
    Json& warnings = json["warnings"];
    if (warnings.is_null()) {
        warnings = Json::array();
    }
    for (const SignalWarning w : l.warnings) {
        warnings.push_back({{"code", SignalWarningCode(w)}, {"message", WarningText(w, r)}});
    }
}

}  // namespace mirelto::cli
