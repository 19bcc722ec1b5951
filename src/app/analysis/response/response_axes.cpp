#include "analysis/response/response_axes.h"

#include <QCoreApplication>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "analysis/shared/chart_style.h"

namespace mirelto {

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
