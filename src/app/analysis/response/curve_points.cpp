#include "analysis/response/curve_points.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace mirelto {

namespace {

// Columns over the window: two a pixel of a plot up to 1000 pixels wide.
constexpr double kColumns = 2000;
// A quarter pixel of a plot up to 1000 pixels, in fractions of the window.
constexpr double kTolerance = 0.25 / 1000;
constexpr std::size_t kChunk = 128;

// A sample in fractions of the window (u across, v up) and as the plot takes it.
struct Sample {
    double u, v;
    QPointF point;
};

bool Usable(const PlotWindow& w) {
    const double low = w.logX ? std::log10(w.xLow) : w.xLow;
    const double high = w.logX ? std::log10(w.xHigh) : w.xHigh;
    return std::isfinite(low) && std::isfinite(high) && high > low && std::isfinite(w.yLow) &&
           std::isfinite(w.yHigh) && w.yHigh > w.yLow;
}

// The finite samples from the last one before the window to the first one after it.
std::vector<Sample> Visible(std::span<const double> x, std::span<const double> y,
                            const PlotWindow& w, double xFactor, double yFactor) {
    const double left = w.logX ? std::log10(w.xLow) : w.xLow;
    const double width = (w.logX ? std::log10(w.xHigh) : w.xHigh) - left;
    const double height = w.yHigh - w.yLow;
    std::vector<Sample> samples;
    const std::size_t n = std::min(x.size(), y.size());
    samples.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double px = x[i] * xFactor, py = y[i] * yFactor;
        const double ax = w.logX ? std::log10(px) : px;
        if (!std::isfinite(ax) || !std::isfinite(py)) {
            continue;
        }
        const double u = (ax - left) / width;
        if (u < 0 && !samples.empty() && samples.back().u < 0) {
            samples.pop_back();  // only the last one before the window is drawn
        }
        samples.push_back({u, (py - w.yLow) / height, QPointF(px, py)});
        if (u > 1) {
            break;
        }
    }
    return samples;
}

// Within each column, the first, lowest, highest and last sample, in their order: a line
// through them covers the same pixels as one through all.
std::vector<Sample> ColumnExtremes(const std::vector<Sample>& samples) {
    std::vector<Sample> kept;
    const auto column = [](double u) { return std::floor(std::clamp(u, -1.0, 2.0) * kColumns); };
    for (std::size_t first = 0; first < samples.size();) {
        std::size_t last = first, lowest = first, highest = first;
        while (last + 1 < samples.size() &&
               column(samples[last + 1].u) == column(samples[first].u)) {
            ++last;
            lowest = samples[last].v < samples[lowest].v ? last : lowest;
            highest = samples[last].v > samples[highest].v ? last : highest;
        }
        std::size_t picks[] = {first, std::min(lowest, highest), std::max(lowest, highest), last};
        for (std::size_t k = 0; k < 4; ++k) {
            if (k == 0 || picks[k] != picks[k - 1]) {
                kept.push_back(samples[picks[k]]);
            }
        }
        first = last + 1;
    }
    return kept;
}

// The square of how far `p` lies from the segment from `a` to `b`, by fractions of the window.
double SquaredDistance(const Sample& p, const Sample& a, const Sample& b) {
    const double du = b.u - a.u, dv = b.v - a.v;
    const double pu = p.u - a.u, pv = p.v - a.v;
    const double length = du * du + dv * dv;
    const double t = length > 0 ? std::clamp((pu * du + pv * dv) / length, 0.0, 1.0) : 0;
    const double eu = pu - t * du, ev = pv - t * dv;
    return eu * eu + ev * ev;
}

// The samples a straight line between kept neighbours would miss by more than the tolerance
// (Douglas-Peucker), the ends always. Spans start at most kChunk samples long: a decaying
// ringing would otherwise be split one peak at a time, at a cost growing with the square of
// its samples.
QList<QPointF> Simplified(const std::vector<Sample>& samples) {
    std::vector<bool> keep(samples.size(), false);
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t a = 0; a + 1 < samples.size(); a += kChunk) {
        spans.emplace_back(a, std::min(a + kChunk, samples.size() - 1));
        keep[a] = true;
    }
    keep.back() = true;
    while (!spans.empty()) {
        const auto [a, b] = spans.back();
        spans.pop_back();
        double farthest = -1;
        std::size_t at = a;
        for (std::size_t i = a + 1; i < b; ++i) {
            const double d = SquaredDistance(samples[i], samples[a], samples[b]);
            if (d > farthest) {
                farthest = d;
                at = i;
            }
        }
        if (farthest > kTolerance * kTolerance) {
            keep[at] = true;
            spans.emplace_back(a, at);
            spans.emplace_back(at, b);
        }
    }
    QList<QPointF> points;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (keep[i]) {
            points.append(samples[i].point);
        }
    }
    return points;
}

}  // namespace

QList<QPointF> DrawnPoints(std::span<const double> x, std::span<const double> y,
                           const PlotWindow& window, double xFactor, double yFactor) {
    // Without a window to measure against, every finite sample.
    const bool usable = Usable(window);
    std::vector<Sample> samples =
        Visible(x, y, usable ? window : PlotWindow{1e-300, 1e300, -1e300, 1e300, window.logX},
                xFactor, yFactor);
    if (samples.size() > 4 * kColumns) {
        samples = ColumnExtremes(samples);
    }
    if (samples.size() < 3 || !usable) {
        QList<QPointF> points;
        for (const Sample& s : samples) {
            points.append(s.point);
        }
        return points;
    }
    return Simplified(samples);
}

}  // namespace mirelto
