#include "analysis/response/analysis_window_readout.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

#include "analysis/shared/analysis_window_table.h"
#include "analysis/shared/chart_style.h"

namespace mirelto {

QString ReadoutText(const PlotCurves& plot, double x) {
    if (plot.x.empty() || !std::isfinite(x)) {
        return {};
    }
    const auto above = std::lower_bound(plot.x.begin(), plot.x.end(), x);
    auto nearest = above;
    if (above == plot.x.end() || (above != plot.x.begin() && x - *(above - 1) < *above - x)) {
        nearest = above == plot.x.begin() ? above : above - 1;
    }
    const auto index = static_cast<std::size_t>(nearest - plot.x.begin());
    QStringList parts{SignificantText(plot.x[index] * plot.xToBase) + plot.xUnit};
    for (const auto& [name, values] : plot.curves) {
        if (index < values.size() && std::isfinite(values[index])) {
            parts << name + QLatin1Char(' ') + plot.yText(values[index]);
        }
    }
    return parts.join(QLatin1Char('\n'));
}

PassBandRange PassBandOf(const PlotCurves& magnitude, bool isLpf, double cutoff, double low,
                         double high) {
    constexpr double kCutoffDb = -3.0102999566398120;  // |H| = 1/sqrt 2
    constexpr double kBeyondCutoff = 1.5;
    constexpr double kMarginDb = 0.5;
    PassBandRange band;
    band.low = isLpf ? low : std::max(low, cutoff / kBeyondCutoff);
    band.high = isLpf ? std::min(high, cutoff * kBeyondCutoff) : high;
    // Scaled to the pass band proper: beyond the -3 dB frequency the curves leave the plot.
    const double passLow = isLpf ? low : cutoff, passHigh = isLpf ? cutoff : high;
    double lowest = kCutoffDb, highest = 0;
    for (const auto& [name, values] : magnitude.curves) {
        for (std::size_t i = 0; i < values.size() && i < magnitude.x.size(); ++i) {
            if (magnitude.x[i] >= passLow && magnitude.x[i] <= passHigh &&
                std::isfinite(values[i])) {
                lowest = std::min(lowest, values[i]);
                highest = std::max(highest, values[i]);
            }
        }
    }
    band.interval = NiceTickInterval(highest - lowest + 2 * kMarginDb);
    band.bottom = std::floor((lowest - kMarginDb) / band.interval) * band.interval;
    band.top = std::ceil((highest + kMarginDb) / band.interval) * band.interval;
    return band;
}

QString DecibelText(double value) {
    return QString::number(value, 'f', 2) + QStringLiteral(" dB");
}

QString DegreeText(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral("°");
}

QString SecondsText(double value) {
    return SignificantText(value) + QLatin1Char('s');
}

QString PlainValueText(double value) {
    return QString::number(value, 'f', 3);
}

}  // namespace mirelto
