// The noise analysis of a circuit: the output noise density of each source (R1, R2, R3 by their
// thermal noise 4kTR, the op-amp's voltage and current noise with their 1/f corners) through its
// own transfer to the output, taken from the same nodal solve as the response with the op-amp
// (NoiseTransfersAt), their power sum, the RMS noise over a band, each source's share and the
// dynamic range the op-amp's output swing leaves. A pure function of its input.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "mirelto/design/circuit.h"
#include "mirelto/response/analysis.h"
#include "mirelto/response/op_amp_model.h"

namespace mirelto {

enum class NoiseSource { R1, R2, R3, VoltageNoise, CurrentNoise };
inline constexpr std::size_t kNoiseSourceCount = 5;
// "R1", "R2", "R3", "en", "in": the names mirelto-cli and the netlist use.
std::string_view NoiseSourceName(NoiseSource source);

inline constexpr double kDefaultNoiseTemperature = 27;  // degrees Celsius, as SPICE takes it
inline constexpr double kBoltzmann = 1.380649e-23;      // J/K, exact since 2019
inline constexpr double kZeroCelsius = 273.15;          // K
// The band integration's log grid: fine enough that a resonance of Q 20 is integrated within
// 0.1 % by the piecewise power law between points.
inline constexpr int kNoisePointsPerDecade = 200;

struct NoiseInput {
    Circuit circuit;
    OpAmp opAmp;  // without a positive GBW: the ideal follower; a missing density: no such noise
    double temperature = kDefaultNoiseTemperature;  // degrees Celsius
    FrequencyRange band;   // Hz; low = high = 0: the plotted range of the circuit (PlotRange)
    FrequencyRange range;  // the density's range, Hz; low = high = 0: the plotted range
    int points = 400;      // log-spaced density points over `range`, at least 2
};

struct NoiseResult {
    FrequencyRange band, range;
    std::vector<double> frequency;  // Hz, over `range`
    // V/sqrt(Hz) at the output, per source by NoiseSource and their power sum.
    std::array<std::vector<double>, kNoiseSourceCount> density;
    std::vector<double> total;
    // V RMS over the band, per source and in all.
    std::array<double, kNoiseSourceCount> rms{};
    double totalRms = 0;
    // The largest undistorted output sine (RMS, from the supply and swing headroom) over the total
    // noise, dB; NaN when the op-amp's supply or swing is not given.
    double dynamicRangeDb = 0;
    // The figures the analysis would have used that the op-amp does not give (en, in, their
    // corners, supply, swing): the results count them as zero noise or leave NaN.
    std::vector<OpAmpFigure> missing;
    double Share(NoiseSource source) const;  // that source's fraction of the total noise power
};

// Parts not all positive and finite, or a band that is not 0 < low < high, give NaN figures and
// empty curves.
NoiseResult AnalyseNoise(const NoiseInput& input);

// The largest undistorted output sine's peak: the smaller distance from zero to either end of
// the output swing (supply less headroom); NaN when a figure is missing.
double LargestOutputPeak(const OpAmp& opAmp);

}  // namespace mirelto
