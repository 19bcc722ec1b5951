#include "analysis/response/analysis_window_markers.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QStringList>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace mirelto {

namespace {

// Markers closer than this ratio are one line with one label: they would be drawn on top of
// each other anyway.
constexpr double kSameMarkerRatio = 1.005;
// Labels of neighbouring markers are stacked downward from the top by this fraction of the plot
// height, clear of the curves' pass band and of each other.
constexpr double kMarkerLabelStep = 0.09;
const QColor kMarkerColour(0x70, 0x70, 0x70);

QValueAxis* YAxis(QChart& chart) {
    return qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).value(0));
}

QAbstractAxis* XAxis(QChart& chart) {
    return chart.axes(Qt::Horizontal).value(0);
}

}  // namespace

// Marker lines: frequencies with their labels, in ascending order. Coincident markers share one
// line, its label naming them in the fixed order fa, fo, -3 dB.
std::vector<std::pair<double, QString>> MarkerGroups(const FrequencyMarkers& markers) {
    const double frequencies[] = {markers.fa, markers.fo, markers.cutoff};
    const QString names[] = {QStringLiteral("fa"), QStringLiteral("fo"), QStringLiteral("−3 dB")};
    std::vector<int> order;
    for (int i = 0; i < 3; ++i) {
        if (std::isfinite(frequencies[i]) && frequencies[i] > 0) {
            order.push_back(i);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return frequencies[a] < frequencies[b]; });
    std::vector<std::vector<int>> groups;
    for (const int i : order) {
        if (!groups.empty() &&
            frequencies[i] / frequencies[groups.back().front()] < kSameMarkerRatio) {
            groups.back().push_back(i);
        } else {
            groups.push_back({i});
        }
    }
    std::vector<std::pair<double, QString>> lines;
    for (std::vector<int>& group : groups) {
        const double frequency = frequencies[group.front()];
        std::sort(group.begin(), group.end());
        QStringList label;
        for (const int i : group) {
            label << names[i];
        }
        lines.emplace_back(frequency, label.join(QStringLiteral(", ")));
    }
    return lines;
}

MarkerLines::MarkerLines(QChart& chart, bool labelled, const QFont& font)
    : QObject(&chart), chart_(chart) {
    QValueAxis* y = YAxis(chart);
    QPen pen(kMarkerColour);
    pen.setWidthF(1);
    pen.setStyle(Qt::DotLine);
    for (QLineSeries*& series : lines_) {
        series = new QLineSeries;
        series->setPen(pen);
        series->append({QPointF(1, 0), QPointF(1, 0), QPointF(1, 0)});
        series->setVisible(false);
        chart.addSeries(series);
        series->attachAxis(XAxis(chart));
        series->attachAxis(y);
        if (labelled) {
            series->setPointLabelsFont(font);
            series->setPointLabelsColor(kMarkerColour.darker(150));
            series->setPointLabelsVisible(true);
            series->setPointConfiguration(0, QXYSeries::PointConfiguration::LabelVisibility, false);
            series->setPointConfiguration(2, QXYSeries::PointConfiguration::LabelVisibility, false);
        }
        for (QLegendMarker* legend : chart.legend()->markers(series)) {
            legend->setVisible(false);
        }
    }
    connect(y, &QValueAxis::rangeChanged, this, &MarkerLines::Place);
}

void MarkerLines::Show(const std::vector<std::pair<double, QString>>& groups) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const bool shown = i < groups.size();
        QLineSeries& series = *lines_[i];
        frequencies_[i] = shown ? groups[i].first : 1;
        series.setName(shown ? groups[i].second : QString());
        if (series.pointLabelsVisible()) {
            series.setPointLabelsFormat(series.name());
        }
        series.setVisible(shown);
        for (QLegendMarker* legend : chart_.legend()->markers(&series)) {
            legend->setVisible(false);
        }
    }
    Place();
}

void MarkerLines::Place() {
    const QValueAxis& y = *YAxis(chart_);
    const double low = y.min(), high = y.max();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const double f = frequencies_[i];
        const double step = static_cast<double>(i + 1) * kMarkerLabelStep;
        const QPointF points[] = {{f, low}, {f, high - step * (high - low)}, {f, high}};
        for (int p = 0; p < 3; ++p) {
            lines_[i]->replace(p, points[p]);
        }
    }
}

}  // namespace mirelto
