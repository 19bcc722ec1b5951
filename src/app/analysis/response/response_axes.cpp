#include "analysis/response/response_axes.h"

#include <QCoreApplication>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "analysis/shared/chart_style.h"

namespace mirelto {

void Extent::Add(const std::vector<double>& values) {
    for (const double v : values) {
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
}

TimeUnit TimeUnitFor(double largestSeconds) {
    if (largestSeconds >= 1) {
        return {1, QStringLiteral("s")};
    }
    if (largestSeconds >= 1e-3) {
        return {1e3, QStringLiteral("ms")};
    }
    if (largestSeconds >= 1e-6) {
        return {1e6, QStringLiteral("µs")};
    }
    if (largestSeconds >= 1e-9) {
        return {1e9, QStringLiteral("ns")};
    }
    if (largestSeconds >= 1e-12) {
        return {1e12, QStringLiteral("ps")};
    }
    return {1e15, QStringLiteral("fs")};
}

void SetPhaseAxis(QValueAxis& axis, const Extent& phase) {
    const double low = phase.Valid() ? std::floor(phase.low / 90) * 90 : -270;
    double high = phase.Valid() ? std::ceil(phase.high / 90) * 90 : 0;
    if (high <= low) {
        high = low + 90;
    }
    // Every 90 degrees up to six ticks, else every 180, doubled while more than kMostTicks (an
    // op-amp's lag or a high Q can turn the phase through many turns).
    double interval = high - low > 540 ? 180 : 90;
    while ((high - low) / interval > kMostTicks) {
        interval *= 2;
    }
    SetTicks(axis, low, high, interval);
    SetLabelFormat(axis, QStringLiteral("%.0f"));
    axis.setTitleText(QCoreApplication::translate("AnalysisWindow", "位相 [°]"));
}

double SetDelayAxis(QValueAxis& axis, const Extent& delay) {
    const TimeUnit unit = TimeUnitFor(delay.Valid() ? std::fabs(delay.high) : 1);
    axis.setTickType(QValueAxis::TicksFixed);
    SetNiceRange(axis, std::min(0.0, delay.Valid() ? delay.low * unit.factor : 0),
                 (delay.Valid() ? delay.high * unit.factor : 1) * 1.1);
    SetLabelFormat(axis, QStringLiteral("%g"));
    axis.setTitleText(QCoreApplication::translate("AnalysisWindow", "群遅延 [%1]").arg(unit.name));
    return unit.factor;
}

}  // namespace mirelto
