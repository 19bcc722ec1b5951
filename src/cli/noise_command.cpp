// noise: the output noise of six given parts with an op-amp: each source's RMS over the band and
// share, the total, the dynamic range the op-amp's swing leaves, and the density over frequency.
#include <algorithm>
#include <cmath>

#include <mirelto/tools/noise.h>

#include "common.h"
#include "op_amp.h"
#include "op_amp_choice.h"
#include "op_amp_report.h"

namespace mirelto::cli {

namespace {

std::string Percent(double fraction) {
    return FixedText(100 * fraction, "%5.1f");
}

std::string NoiseText(const NoiseResult& r, double temperature) {
    std::string text =
        Concat("Output noise over ", Compact(r.band.low), "Hz to ", Compact(r.band.high), "Hz at ",
               FixedText(temperature, "%g"), " C (RMS, share of the noise power):\n");
    for (std::size_t s = 0; s < kNoiseSourceCount; ++s) {
        const auto source = static_cast<NoiseSource>(s);
        std::string name = Concat("  ", NoiseSourceName(source));
        name.resize(8, ' ');
        const OpAmpFigure density = source == NoiseSource::VoltageNoise ? OpAmpFigure::VoltageNoise
                                    : source == NoiseSource::CurrentNoise
                                        ? OpAmpFigure::CurrentNoise
                                        : OpAmpFigure::Gbw;
        const bool missing =
            std::find(r.missing.begin(), r.missing.end(), density) != r.missing.end();
        text += missing ? Concat(name, "   (not given)\n")
                        : Concat(name, Shown(r.rms[s]), "V  ", Percent(r.Share(source)), " %\n");
    }
    text += Concat("  total ", Shown(r.totalRms), "V\n");
    if (std::isnan(r.dynamicRangeDb)) {
        text += "Dynamic range: needs the op-amp's --supply and --swing-headroom\n";
    } else {
        text += Concat("Dynamic range: ", FixedText(r.dynamicRangeDb, "%.1f"),
                       " dB (largest undistorted sine over the total noise)\n");
    }
    return text;
}

Json NoiseJson(const NoiseResult& r, double temperature) {
    Json contributions = Json::object(), shares = Json::object(), densities = Json::object();
    for (std::size_t s = 0; s < kNoiseSourceCount; ++s) {
        const auto source = static_cast<NoiseSource>(s);
        const std::string name(NoiseSourceName(source));
        contributions[name] = JsonNumber(r.rms[s]);
        shares[name] = JsonNumber(r.Share(source));
        Json curve = Json::array();
        for (const double d : r.density[s]) {
            curve.push_back(JsonNumber(d));
        }
        densities[name] = curve;
    }
    Json missing = Json::array();
    for (const OpAmpFigure f : r.missing) {
        missing.push_back(OpAmpFigureName(f));
    }
    Json frequency = Json::array(), total = Json::array();
    for (std::size_t i = 0; i < r.frequency.size(); ++i) {
        frequency.push_back(JsonNumber(r.frequency[i]));
        total.push_back(JsonNumber(r.total[i]));
    }
    return {{"band", {JsonNumber(r.band.low), JsonNumber(r.band.high)}},
            {"temperature", JsonNumber(temperature)},
            {"outputRms", JsonNumber(r.totalRms)},
            {"contributions", contributions},
            {"shares", shares},
            {"dynamicRangeDb", JsonNumber(r.dynamicRangeDb)},
            {"missing", missing},
            {"frequency", frequency},
            {"outputDensity", total},
            {"sourceDensity", densities}};
}

void RunNoise(const Arguments& args, std::ostream& out) {
    const bool isLpf = ReadIsLpf(args);
    NoiseInput input;
    input.circuit = ReadCircuit(args, isLpf);
    input.opAmp = ReadOpAmp(args).value_or(OpAmp{});
    input.band = ReadBand(args);
    input.temperature = ReadTemperature(args);
    const NoiseResult result = AnalyseNoise(input);
    const SignalReport limits = SignalReportOf(args, input.circuit, input.opAmp);
    if (!args.Has("--json")) {
        out << NoiseText(result, input.temperature) << SignalText(limits, "\n");
        return;
    }
    Json json{{"command", "noise"},
              {"mode", isLpf ? "LPF" : "HPF"},
              {"circuit", CircuitJson(input.circuit)},
              {"opAmp", OpAmpFiguresJson(input.opAmp)},
              {"noise", NoiseJson(result, input.temperature)}};
    AddSignalJson(json, limits);
    out << JsonText(json);
}

}  // namespace

CommandInfo NoiseCommand() {
    return {
        "noise",
        "the output noise of six given parts with an op-amp",
        "The output noise of the circuit of six given parts: R1, R2, R3 (thermal, 4kTR) and\n"
        "the op-amp's voltage and current noise (with their 1/f corners), each through its own\n"
        "transfer to the output of the circuit with the op-amp (single pole of --gbw, DC gain\n"
        "--a0; ideal without --gbw), as RMS over the band with each source's share of the\n"
        "noise power, the total, and the dynamic range: the largest undistorted sine (from\n"
        "--supply and --swing-headroom) over the total noise. --json adds the density over\n"
        "the analysis window's range, V/sqrt(Hz), per source and in all.",
        Join({kModeOptions, kComponentOptions, kOpAmpOptions, kOpAmpFigureOptions,
              kNoiseBandOptions, kAmplitudeOptions, kOutputOptions}),
        "All six parts are required. Values are SI texts: 22k, 3.3n, 4n (4 nV/sqrt(Hz)).\n"
        "Figures typed as options win over those of --opamp. A figure neither gives counts as\n"
        "no noise and is listed in the JSON's \"missing\". Your own op-amps: a file\n"
        "$XDG_CONFIG_HOME/mirelto/opamps.csv (else ~/.config/mirelto/opamps.csv) in the\n"
        "columns mirelto-cli opamps --help lists.\n",
        RunNoise};
}

}  // namespace mirelto::cli
