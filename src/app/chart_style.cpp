#include "chart_style.h"

#include <QChart>
#include <QChartView>
#include <QFont>
#include <QGridLayout>
#include <QPainter>
#include <QValueAxis>

#include <cmath>

namespace mirelto {

namespace {

constexpr int kTitlePixels = 12;

}  // namespace

QFont SizedFont(const QFont& base, int pixels, bool bold) {
    QFont font = base;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QChart* NewChart(const QString& title, const QFont& base) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(SizedFont(base, kTitlePixels, true));
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    return chart;
}

QChartView* AddChartView(QChart* chart, QWidget& area, QGridLayout& grid, const QString& name,
                         QSize minimum, int index) {
    auto* view = new QChartView(chart, &area);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(minimum);
    grid.addWidget(view, index / 2, index % 2);
    return view;
}

void ClearChartViews(std::span<QChartView* const> views) {
    for (QChartView* view : views) {
        view->chart()->removeAllSeries();
        for (QAbstractAxis* axis : view->chart()->axes()) {
            axis->setVisible(false);
        }
    }
}

// A tick interval of 1, 2 or 5 times a power of ten giving about five intervals over the span.
double NiceTickInterval(double span) {
    const double raw = span / 5;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0}) {
        if (raw <= step * decade) {
            return step * decade;
        }
    }
    return 10 * decade;
}

// The axis lays out its ticks on every change: with dynamic ticks, a new range under the old
// interval (or the reverse) can ask for 1e20 ticks and never return. So the ticks are fixed while
// range and interval change, and dynamic again only once both belong together.
void SetTicks(QValueAxis& axis, double low, double high, double interval) {
    axis.setTickType(QValueAxis::TicksFixed);
    axis.setRange(low, high);
    axis.setTickAnchor(0);
    axis.setTickInterval(interval);
    axis.setTickType(QValueAxis::TicksDynamic);
}

}  // namespace mirelto
