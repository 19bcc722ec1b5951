#include "mirelto/tools/noise.h"

#include <algorithm>
#include <cmath>

#include "mirelto/response/op_amp.h"
#include "numeric/constants.h"

namespace mirelto {

namespace {

constexpr std::string_view kSourceNames[kNoiseSourceCount] = {"R1", "R2", "R3", "en", "in"};

bool Usable(const Circuit& c) {
    for (const double part : ComponentsOf(c)) {
        if (!(part > 0) || !std::isfinite(part)) {
            return false;
        }
    }
    return true;
}

// The output noise power density of each source at f, V^2/Hz.
using Powers = std::array<double, kNoiseSourceCount>;
Powers PowersAt(const NoiseInput& input, double fourKT, double frequency) {
    const NoiseTransfers t = NoiseTransfersAt(input.circuit, input.opAmp, frequency);
    const double r[3] = {input.circuit.R1, input.circuit.R2, input.circuit.R3};
    Powers p{};
    for (std::size_t i = 0; i < 3; ++i) {
        // A resistor's thermal noise as a current 4kT/R across it (Johnson-Nyquist).
        p[i] = std::norm(t.resistor[i]) * fourKT / r[i];
    }
    const double en = VoltageNoiseDensity(input.opAmp, frequency);
    const double in = CurrentNoiseDensity(input.opAmp, frequency);
    p[3] = std::norm(t.voltage) * en * en;
    p[4] = std::norm(t.current) * in * in;
    return p;
}

// The integral of a density that follows a power law between two points,
// p(f) = p0 (f / f0)^k with k = ln(p1 / p0) / ln(f1 / f0): p0 f0 (r^(k+1) - 1) / (k + 1) with
// r = f1 / f0, and p0 f0 ln r at k = -1. Exact for white and 1/f noise and for the slopes of a
// filter's skirts, so a modest grid integrates the band closely.
double PowerLawIntegral(double f0, double p0, double f1, double p1) {
    if (!(p0 > 0) || !(p1 > 0)) {
        return 0.5 * (p0 + p1) * (f1 - f0);
    }
    const double lnR = std::log(f1 / f0);
    const double k1 = std::log(p1 / p0) / lnR + 1;
    if (std::abs(k1 * lnR) < 1e-9) {
        return p0 * f0 * lnR;
    }
    return p0 * f0 * std::expm1(k1 * lnR) / k1;
}

FrequencyRange CircuitPlotRange(const Circuit& circuit) {
    AnalysisInput window;
    window.isLpf = circuit.isLpf;
    window.hasRequest = false;
    window.built = circuit;
    return PlotRange(window);
}

std::vector<OpAmpFigure> Missing(const OpAmp& o) {
    std::vector<OpAmpFigure> missing;
    for (const OpAmpFigure f :
         {OpAmpFigure::VoltageNoise, OpAmpFigure::VoltageNoiseCorner, OpAmpFigure::CurrentNoise,
          OpAmpFigure::CurrentNoiseCorner, OpAmpFigure::Supply, OpAmpFigure::SwingLow,
          OpAmpFigure::SwingHigh}) {
        if (!IsGiven(FigureOf(o, f))) {
            missing.push_back(f);
        }
    }
    return missing;
}

void Integrate(const NoiseInput& input, double fourKT, NoiseResult& result) {
    const double low = result.band.low, high = result.band.high;
    const int steps =
        std::max(2, static_cast<int>(std::ceil(std::log10(high / low) * kNoisePointsPerDecade)));
    Powers sum{}, previous = PowersAt(input, fourKT, low);
    double f0 = low;
    for (int i = 1; i <= steps; ++i) {
        const double f1 = i == steps ? high : low * std::pow(high / low, double(i) / steps);
        const Powers p = PowersAt(input, fourKT, f1);
        for (std::size_t s = 0; s < kNoiseSourceCount; ++s) {
            sum[s] += PowerLawIntegral(f0, previous[s], f1, p[s]);
        }
        previous = p;
        f0 = f1;
    }
    double total = 0;
    for (std::size_t s = 0; s < kNoiseSourceCount; ++s) {
        result.rms[s] = std::sqrt(sum[s]);
        total += sum[s];
    }
    result.totalRms = std::sqrt(total);
}

}  // namespace

std::string_view NoiseSourceName(NoiseSource source) {
    return kSourceNames[static_cast<std::size_t>(source)];
}

double NoiseResult::Share(NoiseSource source) const {
    const double r = rms[static_cast<std::size_t>(source)];
    return r * r / (totalRms * totalRms);
}

double LargestOutputPeak(const OpAmp& o) {
    return std::min(o.supply - o.swingHigh, o.supply - o.swingLow);
}

NoiseResult AnalyseNoise(const NoiseInput& input) {
    NoiseResult result;
    result.missing = Missing(input.opAmp);
    result.rms.fill(kNaN);
    result.totalRms = kNaN;
    result.dynamicRangeDb = kNaN;
    if (!Usable(input.circuit)) {
        return result;
    }
    const FrequencyRange plotted = CircuitPlotRange(input.circuit);
    const auto orPlotted = [&](FrequencyRange r) {
        return r.low == 0 && r.high == 0 ? plotted : r;
    };
    result.band = orPlotted(input.band);
    result.range = orPlotted(input.range);
    const double fourKT = 4 * kBoltzmann * (input.temperature + kZeroCelsius);
    const auto valid = [](FrequencyRange r) {
        return r.low > 0 && r.high > r.low && std::isfinite(r.high);
    };
    if (!valid(result.band) || !valid(result.range) || !(fourKT >= 0)) {
        return result;
    }
    const int points = std::max(input.points, 2);
    result.frequency.resize(points);
    for (auto& d : result.density) {
        d.resize(points);
    }
    result.total.resize(points);
    const double ratio = result.range.high / result.range.low;
    for (int i = 0; i < points; ++i) {
        const double f = i == points - 1
                             ? result.range.high
                             : result.range.low * std::pow(ratio, double(i) / (points - 1));
        const Powers p = PowersAt(input, fourKT, f);
        result.frequency[i] = f;
        double total = 0;
        for (std::size_t s = 0; s < kNoiseSourceCount; ++s) {
            result.density[s][i] = std::sqrt(p[s]);
            total += p[s];
        }
        result.total[i] = std::sqrt(total);
    }
    Integrate(input, fourKT, result);
    const double peak = LargestOutputPeak(input.opAmp);
    result.dynamicRangeDb = 20 * std::log10(peak / std::sqrt(2.0) / result.totalRms);
    return result;
}

}  // namespace mirelto
