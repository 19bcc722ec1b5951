#include "analysis/response/chart_curves.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include <mirelto/values/si_prefix.h>

#include "analysis/shared/chart_style.h"

namespace mirelto {

TimeUnit TimeUnitFor(double largestSeconds) {
    // Seconds down to picoseconds from the core's prefixes, femtoseconds below.
    for (std::size_t row = kSiUnitRow + 1; row-- > 0;) {
        const SiPrefix& prefix = kSiPrefixes[row];
        if (largestSeconds >= prefix.value) {
            const int group = static_cast<int>(row) - static_cast<int>(kSiUnitRow);
            return {prefix.magnitude, SiSymbol(group) + QLatin1Char('s')};
        }
    }
    return {1e15, QStringLiteral("fs")};
}

void Extent::Add(const std::vector<double>& values) {
    for (const double v : values) {
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
}

QValueAxis* YAxis(QChart& chart) {
    return qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).value(0));
}

QAbstractAxis* XAxis(QChart& chart) {
    return chart.axes(Qt::Horizontal).value(0);
}

void AddCurve(QChart& chart, const QString& name, const QList<QPointF>& points, const QPen& pen) {
    auto* series = new QLineSeries;
    series->setName(name);
    series->setPen(pen);
    series->replace(points);
    chart.addSeries(series);
    series->attachAxis(XAxis(chart));
    series->attachAxis(YAxis(chart));
}

QList<QPointF> Points(const std::vector<double>& x, const std::vector<double>& y, double xFactor,
                      double yFactor) {
    QList<QPointF> points;
    const std::size_t n = std::min(x.size(), y.size());
    points.reserve(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isfinite(x[i]) && std::isfinite(y[i])) {
            points.append(QPointF(x[i] * xFactor, y[i] * yFactor));
        }
    }
    return points;
}

QPen CurvePen(const QColor& colour, Qt::PenStyle style) {
    QPen pen(colour);
    pen.setWidthF(2);
    pen.setStyle(style);
    return pen;
}

}  // namespace mirelto
