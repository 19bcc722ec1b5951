#include "analysis/tools/analysis_window_tolerance_charts.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "analysis/shared/chart_style.h"

namespace mirelto {

namespace {

constexpr int kAxisPixels = 10;
// A histogram whose values are all the same has no width; it is drawn this much either side.
constexpr double kSingleValueHalfWidth = 0.005;

const QColor kBarColour(0xd6, 0x27, 0x28);
const QColor kNominalColour(0x70, 0x70, 0x70);

QValueAxis* Axis(const QChart& chart, Qt::Orientation orientation) {
    return qobject_cast<QValueAxis*>(chart.axes(orientation).value(0));
}

void Attach(QChart& chart, QAbstractSeries* series) {
    chart.addSeries(series);
    series->attachAxis(Axis(chart, Qt::Horizontal));
    series->attachAxis(Axis(chart, Qt::Vertical));
}

// The histogram's bars from `low` to `high` (the bins evenly between): the outline up, across and
// down at each bin edge, filled.
QAreaSeries* Bars(const Histogram& h, double low, double high) {
    const double width = (high - low) / static_cast<double>(h.counts.size());
    auto* bars = new QAreaSeries;
    // Children of the area: they go with it.
    auto* upper = new QLineSeries(bars);
    auto* lower = new QLineSeries(bars);
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        const double from = low + width * static_cast<double>(i);
        const auto count = static_cast<double>(h.counts[i]);
        upper->append(from, count);
        upper->append(from + width, count);
    }
    lower->append(low, 0);
    lower->append(high, 0);
    bars->setUpperSeries(upper);
    bars->setLowerSeries(lower);
    bars->setBrush(QColor(kBarColour.red(), kBarColour.green(), kBarColour.blue(), 110));
    bars->setPen(QPen(kBarColour, 1));
    return bars;
}

// The dotted vertical line of the nominal value, from 0 to `top`.
QLineSeries* NominalLine(double nominal, double top) {
    auto* line = new QLineSeries;
    line->setName(QCoreApplication::translate("AnalysisWindow", "公称値"));
    QPen pen(kNominalColour, 1);
    pen.setStyle(Qt::DotLine);
    line->setPen(pen);
    line->append(nominal, 0);
    line->append(nominal, top);
    return line;
}

}  // namespace

const Spread& SpreadOf(const ToleranceResult& result, ToleranceHistograms::Kind kind) {
    switch (kind) {
        case ToleranceHistograms::Fa:
            return result.fa;
        case ToleranceHistograms::Fo:
            return result.fo;
        case ToleranceHistograms::Q:
            return result.q;
        case ToleranceHistograms::Cutoff:
            break;
    }
    return result.cutoff;
}

ToleranceHistograms::ToleranceHistograms(QWidget& area, QGridLayout& grid) {
    const QString titles[kKinds] = {
        QStringLiteral("fa [Hz]"), QStringLiteral("fo [Hz]"), QStringLiteral("Q"),
        QCoreApplication::translate("AnalysisWindow", "−3 dB 周波数 [Hz]")};
    const QString names[kKinds] = {QStringLiteral("HistogramFa"), QStringLiteral("HistogramFo"),
                                   QStringLiteral("HistogramQ"), QStringLiteral("HistogramCutoff")};
    const QFont axisFont = SizedFont(area.font(), kAxisPixels);
    for (int kind = 0; kind < kKinds; ++kind) {
        QChart* chart = NewChart(titles[kind], area.font());
        chart->legend()->hide();
        auto* x = new QValueAxis;
        auto* y = new QValueAxis;
        x->setLabelFormat(QStringLiteral("%.4g"));
        x->setTitleFont(axisFont);
        y->setLabelFormat(QStringLiteral("%d"));
        for (QValueAxis* axis : {x, y}) {
            axis->setLabelsFont(axisFont);
        }
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        views_[static_cast<std::size_t>(kind)] =
            AddChartView(chart, area, grid, names[kind], QSize(200, 150), kind);
    }
    Clear();
}

QChart* ToleranceHistograms::Chart(Kind kind) const {
    return views_[kind]->chart();
}

void ToleranceHistograms::Clear() {
    ClearChartViews(views_);
}

void ToleranceHistograms::Show(const ToleranceResult& result) {
    Clear();
    for (int kind = 0; kind < kKinds; ++kind) {
        QChart& chart = *Chart(Kind(kind));
        const Spread& spread = SpreadOf(result, Kind(kind));
        const Histogram& h = spread.histogram;
        if (h.counts.empty() || spread.count == 0) {
            continue;
        }
        for (QAbstractAxis* axis : chart.axes()) {
            axis->setVisible(true);
        }
        double low = h.low, high = h.high;
        if (!(high > low)) {
            const double half = std::fabs(low) * kSingleValueHalfWidth;
            low -= half > 0 ? half : 1;
            high += half > 0 ? half : 1;
        }
        // Frequencies in the SI unit that shows the largest with one to three integer digits.
        const bool frequency = kind != Q;
        const double largest = std::max(std::fabs(low), std::fabs(high));
        const int group =
            frequency && largest > 0
                ? std::clamp(static_cast<int>(std::floor(std::log10(largest) / 3)), -2, 2)
                : 0;
        const double scale = std::pow(1000.0, -group);
        Axis(chart, Qt::Horizontal)
            ->setTitleText(frequency ? QStringLiteral("[%1Hz]").arg(SiSymbol(group)) : QString());
        low *= scale;
        high *= scale;
        QAreaSeries* bars = Bars(h, low, high);
        bars->setName(chart.title());
        const std::int64_t most = *std::max_element(h.counts.begin(), h.counts.end());
        QValueAxis& x = *Axis(chart, Qt::Horizontal);
        QValueAxis& y = *Axis(chart, Qt::Vertical);
        const double nominal = spread.nominal * scale;
        x.setRange(std::isfinite(nominal) ? std::min(low, nominal) : low,
                   std::isfinite(nominal) ? std::max(high, nominal) : high);
        y.setRange(0, static_cast<double>(most) * 1.1);
        y.applyNiceNumbers();
        Attach(chart, bars);
        if (std::isfinite(nominal)) {
            Attach(chart, NominalLine(nominal, y.max()));
        }
    }
}

}  // namespace mirelto
