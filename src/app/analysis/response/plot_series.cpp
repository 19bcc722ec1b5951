#include "analysis/response/plot_series.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QValueAxis>

#include "analysis/response/curve_points.h"

namespace mirelto {

namespace {

struct AxisRange {
    double low = 0, high = 0;
    bool log = false;
};

AxisRange RangeOf(const QAbstractAxis* axis) {
    if (const auto* log = qobject_cast<const QLogValueAxis*>(axis)) {
        return {log->min(), log->max(), true};
    }
    if (const auto* value = qobject_cast<const QValueAxis*>(axis)) {
        return {value->min(), value->max(), false};
    }
    return {};
}

}  // namespace

PlotSeries::PlotSeries(QChart& chart, int count) : QObject(&chart), chart_(chart) {
    QAbstractAxis* x = chart.axes(Qt::Horizontal).value(0);
    QAbstractAxis* y = chart.axes(Qt::Vertical).value(0);
    curves_.resize(static_cast<std::size_t>(count));
    for (Curve& curve : curves_) {
        curve.series = new QLineSeries;
        chart.addSeries(curve.series);
        curve.series->attachAxis(x);
        curve.series->attachAxis(y);
        SetShown(curve, false);
    }
    for (QAbstractAxis* axis : {x, y}) {
        if (auto* log = qobject_cast<QLogValueAxis*>(axis)) {
            connect(log, &QLogValueAxis::rangeChanged, this, &PlotSeries::Redraw);
        } else if (auto* value = qobject_cast<QValueAxis*>(axis)) {
            connect(value, &QValueAxis::rangeChanged, this, &PlotSeries::Redraw);
        }
    }
}

void PlotSeries::Show(int slot, const QString& name, const QPen& pen, const std::vector<double>& x,
                      const std::vector<double>& y, double xFactor, double yFactor) {
    Curve& curve = curves_[static_cast<std::size_t>(slot)];
    curve.x = x;
    curve.y = y;
    curve.xFactor = xFactor;
    curve.yFactor = yFactor;
    curve.series->setName(name);
    curve.series->setPen(pen);
    curve.shown = true;
    if (!held_) {
        SetShown(curve, true);
        Draw(curve);
    }
}

void PlotSeries::HideAll() {
    for (Curve& curve : curves_) {
        Empty(curve);
        SetShown(curve, false);
    }
}

void PlotSeries::Begin() {
    held_ = true;
    for (Curve& curve : curves_) {
        curve.shown = false;
    }
}

void PlotSeries::End() {
    held_ = false;
    for (Curve& curve : curves_) {
        if (!curve.shown) {
            Empty(curve);
        }
        SetShown(curve, curve.shown);
    }
    Redraw();
}

void PlotSeries::Redraw() {
    if (held_) {
        return;
    }
    for (Curve& curve : curves_) {
        if (curve.series->isVisible()) {
            Draw(curve);
        }
    }
}

void PlotSeries::Draw(Curve& curve) {
    const AxisRange x = RangeOf(chart_.axes(Qt::Horizontal).value(0));
    const AxisRange y = RangeOf(chart_.axes(Qt::Vertical).value(0));
    curve.series->replace(DrawnPoints(curve.x, curve.y, {x.low, x.high, y.low, y.high, x.log},
                                      curve.xFactor, curve.yFactor));
}

void PlotSeries::Empty(Curve& curve) {
    curve.x.clear();
    curve.y.clear();
    curve.shown = false;
    if (curve.series->count() > 0) {
        curve.series->clear();
    }
}

void PlotSeries::SetShown(Curve& curve, bool shown) {
    if (curve.series->isVisible() == shown) {
        return;
    }
    curve.series->setVisible(shown);
    for (QLegendMarker* marker : chart_.legend()->markers(curve.series)) {
        marker->setVisible(shown);
    }
}

}  // namespace mirelto
