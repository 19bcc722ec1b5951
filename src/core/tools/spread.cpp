#include "mirelto/tools/spread.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "numeric/constants.h"

namespace mirelto {

namespace {

Histogram MakeHistogram(const std::vector<double>& values, double low, double high, int bins) {
    Histogram histogram;
    histogram.counts.assign(static_cast<std::size_t>(bins), 0);
    if (values.empty()) {
        histogram.low = histogram.high = kNaN;
        return histogram;
    }
    histogram.low = low;
    histogram.high = high;
    const double width = histogram.high - histogram.low;
    for (double v : values) {
        ++histogram.counts[HistogramBin(v, histogram.low, width, bins)];
    }
    return histogram;
}

// Percentile as Percentile gives it for the sorted values, by selection: `values` is reordered,
// and everything from `from` on must not lie below the ranks asked for before (ascending p).
double SelectPercentile(std::vector<double>& values, double p, std::size_t& from) {
    const double rank = (static_cast<double>(values.size()) - 1) * p / 100;
    const auto below = static_cast<std::size_t>(std::floor(rank));
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(below);
    std::nth_element(values.begin() + static_cast<std::ptrdiff_t>(from), at, values.end());
    from = below;
    if (below + 1 >= values.size()) {
        return *at;
    }
    const double next = *std::min_element(at + 1, values.end());
    const double fraction = rank - static_cast<double>(below);
    return *at + fraction * (next - *at);
}

}  // namespace

std::size_t HistogramBin(double v, double low, double width, int bins) {
    if (!(width > 0)) {
        return 0;
    }
    const double position = (v - low) / width * bins;
    return std::min(static_cast<std::size_t>(position), static_cast<std::size_t>(bins) - 1);
}

double Percentile(const std::vector<double>& ascending, double p) {
    if (ascending.empty()) {
        return kNaN;
    }
    const double rank = (static_cast<double>(ascending.size()) - 1) * p / 100;
    const auto below = static_cast<std::size_t>(std::floor(rank));
    if (below + 1 >= ascending.size()) {
        return ascending.back();
    }
    const double fraction = rank - static_cast<double>(below);
    return ascending[below] + fraction * (ascending[below + 1] - ascending[below]);
}

Spread Summarise(std::vector<double> samples, double nominal, int bins) {
    Spread spread;
    spread.nominal = nominal;
    std::vector<double> defined;
    defined.reserve(samples.size());
    std::copy_if(samples.begin(), samples.end(), std::back_inserter(defined),
                 [](double v) { return !std::isnan(v); });
    spread.count = static_cast<std::int64_t>(defined.size());
    spread.samples = std::move(samples);
    if (defined.empty()) {
        spread.histogram = MakeHistogram(defined, kNaN, kNaN, bins);
        spread.mean = spread.standardDeviation = spread.minimum = spread.maximum = kNaN;
        spread.p1 = spread.p50 = spread.p99 = kNaN;
        return spread;
    }
    const auto [lowest, highest] = std::minmax_element(defined.begin(), defined.end());
    spread.minimum = *lowest;
    spread.maximum = *highest;
    spread.histogram = MakeHistogram(defined, spread.minimum, spread.maximum, bins);
    double sum = 0;
    for (double v : defined) {
        sum += v;
    }
    spread.mean = sum / static_cast<double>(defined.size());
    double squares = 0;
    for (double v : defined) {
        squares += (v - spread.mean) * (v - spread.mean);
    }
    spread.standardDeviation =
        defined.size() > 1 ? std::sqrt(squares / static_cast<double>(defined.size() - 1)) : 0;
    // Three ranks by selection instead of a full sort: a run of 100 000 trials sorts four times.
    std::size_t from = 0;
    spread.p1 = SelectPercentile(defined, kSpreadPercentiles[0], from);
    spread.p50 = SelectPercentile(defined, kSpreadPercentiles[1], from);
    spread.p99 = SelectPercentile(defined, kSpreadPercentiles[2], from);
    return spread;
}

}  // namespace mirelto
