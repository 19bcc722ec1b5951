// The statistics of one quantity over the trials of a run: mean, deviation, extremes, the 1 %,
// 50 % and 99 % points and a histogram, with NaN values (trials without the quantity) left out.
// Pure functions; no state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirelto {

// The percentiles a spread shows: p1, p50, p99.
inline constexpr std::array<double, 3> kSpreadPercentiles{1, 50, 99};

// Counts over `counts.size()` equal bins from low to high (the observed range); the highest value
// falls in the last bin, and when every value is the same all of them fall in the first.
struct Histogram {
    double low = 0, high = 0;
    std::vector<std::int64_t> counts;
};

// One quantity over the trials. Statistics cover the trials where it is defined (count of them);
// NaN when there are none.
struct Spread {
    double nominal = 0;
    std::int64_t count = 0;
    double mean = 0, standardDeviation = 0;  // sample standard deviation (n - 1)
    double minimum = 0, maximum = 0;
    double p1 = 0, p50 = 0, p99 = 0;  // percentiles
    Histogram histogram;
    // Every trial in order, NaN where not defined; empty when the run replayed instead.
    std::vector<double> samples;
};

// The p-th percentile (0..100) of ascending values: linear between the closest ranks, rank
// (n - 1) p / 100 counted from 0. NaN for no values.
double Percentile(const std::vector<double>& ascending, double p);

// The statistics of samples (NaN entries are skipped), kept in `samples`.
Spread Summarise(std::vector<double> samples, double nominal, int bins);

// The bin of v among `bins` equal bins from low to low + width: the highest value falls in the
// last bin, and every value in the first when the width is zero.
std::size_t HistogramBin(double v, double low, double width, int bins);

}  // namespace mirelto
