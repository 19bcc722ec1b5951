#include "analysis_window_charts.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGridLayout>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "chart_style.h"

namespace mirelto {

namespace {

constexpr int kAxisPixels = 11;
constexpr int kMarkerLabelPixels = 11;
// A magnitude plot shows this much below its top: deeper stop-band values say nothing more.
constexpr double kMagnitudeSpanDb = 100;
// Markers closer than this ratio are one line with one label: they would be drawn on top of
// each other anyway.
constexpr double kSameMarkerRatio = 1.005;
// A step curve of more samples than this is drawn without smoothing.
constexpr std::size_t kSmoothStepPoints = 1000;
// Labels of neighbouring markers are stacked upward by this fraction of the plot height.
constexpr double kMarkerLabelStep = 0.09;

const QColor kRequestedColour(0x1f, 0x77, 0xb4);
const QColor kBuiltColour(0xd6, 0x27, 0x28);
const QColor kOpAmpColour(0x2c, 0xa0, 0x2c);
const QColor kMarkerColour(0x70, 0x70, 0x70);
const QColor kMinorGridColour(0xe8, 0xe8, 0xe8);

QString StepTitle() {
    return QCoreApplication::translate("AnalysisWindow", "ステップ応答");
}

struct TimeUnit {
    double factor;
    QString name;
};

// The unit that shows the largest time of a plot with one to three integer digits.
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

struct Extent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Add(const std::vector<double>& values) {
        for (const double v : values) {
            if (std::isfinite(v)) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
    }
    bool Valid() const { return low <= high; }
};

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

QList<QPointF> Points(const std::vector<double>& x, const std::vector<double>& y,
                      double xFactor = 1, double yFactor = 1) {
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

QPen CurvePen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour);
    pen.setWidthF(2);
    pen.setStyle(style);
    return pen;
}

struct CurveStyle {
    QString name;
    QPen pen;
};

// The traces the result holds, request first, in legend order.
std::vector<std::pair<const Trace*, CurveStyle>> Traces(const AnalysisResult& result) {
    std::vector<std::pair<const Trace*, CurveStyle>> traces;
    const std::pair<const Trace*, CurveStyle> all[] = {
        {&result.requested, {RequestedCurveName(), CurvePen(kRequestedColour, Qt::DashLine)}},
        {&result.built, {BuiltCurveName(), CurvePen(kBuiltColour)}},
        {&result.opAmp, {OpAmpCurveName(), CurvePen(kOpAmpColour, Qt::DashDotLine)}},
    };
    for (const auto& trace : all) {
        if (!trace.first->empty()) {
            traces.push_back(trace);
        }
    }
    return traces;
}

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

void AddMarkers(QChart& chart, const std::vector<std::pair<double, QString>>& groups, bool labelled,
                const QFont& font) {
    const QValueAxis* y = YAxis(chart);
    const double low = y->min(), high = y->max();
    QPen pen(kMarkerColour);
    pen.setWidthF(1);
    pen.setStyle(Qt::DotLine);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const double f = groups[i].first;
        const double labelY = low + static_cast<double>(i) * kMarkerLabelStep * (high - low);
        auto* series = new QLineSeries;
        series->setName(groups[i].second);
        series->setPen(pen);
        // The middle point carries the label.
        series->append({QPointF(f, low), QPointF(f, labelY), QPointF(f, high)});
        chart.addSeries(series);
        series->attachAxis(XAxis(chart));
        series->attachAxis(YAxis(chart));
        if (labelled) {
            series->setPointLabelsFormat(groups[i].second);
            series->setPointLabelsFont(font);
            series->setPointLabelsColor(kMarkerColour.darker(150));
            series->setPointLabelsVisible(true);
            series->setPointConfiguration(0, QXYSeries::PointConfiguration::LabelVisibility, false);
            series->setPointConfiguration(2, QXYSeries::PointConfiguration::LabelVisibility, false);
        }
        // Filtered here: markers(series) answers with every marker for a series the legend
        // has not registered yet.
        for (QLegendMarker* legend : chart.legend()->markers()) {
            if (legend->series() == series) {
                legend->setVisible(false);
            }
        }
    }
}

}  // namespace

ResponseCharts::ResponseCharts(QWidget& area, QGridLayout& grid) : area_(area) {
    const QString titles[kKinds] = {QCoreApplication::translate("AnalysisWindow", "振幅特性"),
                                    QCoreApplication::translate("AnalysisWindow", "位相特性"),
                                    QCoreApplication::translate("AnalysisWindow", "群遅延"),
                                    StepTitle()};
    const QString names[kKinds] = {QStringLiteral("ChartMagnitude"), QStringLiteral("ChartPhase"),
                                   QStringLiteral("ChartGroupDelay"), QStringLiteral("ChartStep")};
    const QFont axisFont = SizedFont(area.font(), kAxisPixels);
    for (int kind = 0; kind < kKinds; ++kind) {
        QChart* chart = NewChart(titles[kind], area.font());
        chart->legend()->setAlignment(Qt::AlignBottom);
        chart->legend()->setFont(axisFont);
        QAbstractAxis* x = nullptr;
        if (kind == Step) {
            x = new QValueAxis;
        } else {
            auto* log = new QLogValueAxis;
            log->setBase(10);
            log->setMinorTickCount(-1);
            log->setMinorGridLinePen(QPen(kMinorGridColour, 1));
            log->setTitleText(QCoreApplication::translate("AnalysisWindow", "周波数 [Hz]"));
            x = log;
        }
        auto* y = new QValueAxis;
        for (QAbstractAxis* axis : {x, static_cast<QAbstractAxis*>(y)}) {
            axis->setLabelsFont(axisFont);
            axis->setTitleFont(axisFont);
        }
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        views_[static_cast<std::size_t>(kind)] =
            AddChartView(chart, area, grid, names[kind], QSize(240, 200), kind);
    }
    Clear();
}

QChart* ResponseCharts::Chart(Kind kind) const {
    return views_[kind]->chart();
}

void ResponseCharts::Clear() {
    ClearChartViews(views_);
}

void ResponseCharts::Show(const AnalysisResult& result, const FrequencyMarkers& markers) {
    Clear();
    for (QChartView* view : views_) {
        for (QAbstractAxis* axis : view->chart()->axes()) {
            axis->setVisible(true);
        }
    }
    ShowFrequencyCharts(result, markers);
    ShowStepChart(result);
}

void ResponseCharts::ShowFrequencyCharts(const AnalysisResult& result,
                                         const FrequencyMarkers& markers) {
    const auto traces = Traces(result);
    if (result.frequency.empty() || traces.empty()) {
        return;
    }
    const double fLow = result.frequency.front(), fHigh = result.frequency.back();
    // Whole hertz while the axis starts at 1 Hz or above; below, as many digits as it needs.
    const QString format = fLow >= 1 ? QStringLiteral("%.0f") : QStringLiteral("%g");
    for (const Kind kind : {Magnitude, Phase, GroupDelay}) {
        auto* x = static_cast<QLogValueAxis*>(XAxis(*Chart(kind)));
        x->setRange(fLow, fHigh);
        x->setLabelFormat(format);
    }

    Extent magnitude, phase, delay;
    for (const auto& [trace, curve] : traces) {
        magnitude.Add(trace->magnitudeDb);
        phase.Add(trace->phaseDeg);
        delay.Add(trace->groupDelay);
    }

    QValueAxis& magnitudeAxis = *YAxis(*Chart(Magnitude));
    const double top = std::ceil((magnitude.Valid() ? magnitude.high : 0) / 10 + 0.1) * 10;
    const double bottom = std::max(std::floor((magnitude.Valid() ? magnitude.low : -60) / 10) * 10,
                                   top - kMagnitudeSpanDb);
    SetTicks(magnitudeAxis, bottom, top, top - bottom > 60 ? 20 : 10);
    magnitudeAxis.setLabelFormat(QStringLiteral("%.0f"));
    magnitudeAxis.setTitleText(QCoreApplication::translate("AnalysisWindow", "ゲイン [dB]"));

    QValueAxis& phaseAxis = *YAxis(*Chart(Phase));
    double phaseLow = phase.Valid() ? std::floor(phase.low / 90) * 90 : -270;
    double phaseHigh = phase.Valid() ? std::ceil(phase.high / 90) * 90 : 0;
    if (phaseHigh <= phaseLow) {
        phaseHigh = phaseLow + 90;
    }
    SetTicks(phaseAxis, phaseLow, phaseHigh, phaseHigh - phaseLow > 540 ? 180 : 90);
    phaseAxis.setLabelFormat(QStringLiteral("%.0f"));
    phaseAxis.setTitleText(QCoreApplication::translate("AnalysisWindow", "位相 [°]"));

    const TimeUnit delayUnit = TimeUnitFor(delay.Valid() ? std::fabs(delay.high) : 1);
    QValueAxis& delayAxis = *YAxis(*Chart(GroupDelay));
    delayAxis.setTickType(QValueAxis::TicksFixed);
    delayAxis.setRange(std::min(0.0, delay.Valid() ? delay.low * delayUnit.factor : 0),
                       (delay.Valid() ? delay.high * delayUnit.factor : 1) * 1.1);
    delayAxis.applyNiceNumbers();
    delayAxis.setLabelFormat(QStringLiteral("%g"));
    delayAxis.setTitleText(
        QCoreApplication::translate("AnalysisWindow", "群遅延 [%1]").arg(delayUnit.name));

    for (const auto& [trace, curve] : traces) {
        AddCurve(*Chart(Magnitude), curve.name, Points(result.frequency, trace->magnitudeDb),
                 curve.pen);
        AddCurve(*Chart(Phase), curve.name, Points(result.frequency, trace->phaseDeg), curve.pen);
        AddCurve(*Chart(GroupDelay), curve.name,
                 Points(result.frequency, trace->groupDelay, 1, delayUnit.factor), curve.pen);
    }
    const auto groups = MarkerGroups(markers);
    const QFont labelFont = SizedFont(area_.font(), kMarkerLabelPixels);
    AddMarkers(*Chart(Magnitude), groups, true, labelFont);
    AddMarkers(*Chart(Phase), groups, false, labelFont);
    AddMarkers(*Chart(GroupDelay), groups, false, labelFont);
}

void ResponseCharts::ShowStepChart(const AnalysisResult& result) {
    QChart& chart = *Chart(Step);
    const std::pair<const StepTrace*, CurveStyle> steps[] = {
        {&result.requestedStep, {RequestedCurveName(), CurvePen(kRequestedColour, Qt::DashLine)}},
        {&result.builtStep, {BuiltCurveName(), CurvePen(kBuiltColour)}},
    };
    Extent time, value;
    for (const auto& [step, curve] : steps) {
        time.Add(step->time);
        value.Add(step->value);
    }
    chart.setTitle(result.stepShortened ? StepTitle() + QCoreApplication::translate(
                                                            "AnalysisWindow", " (始めの部分のみ)")
                                        : StepTitle());
    views_[Step]->setToolTip(
        result.stepShortened ? QCoreApplication::translate(
                                   "AnalysisWindow",
                                   "振動が速く長く続くため、表示点数の上限 (%1 点) に収まる始めの"
                                   "部分だけを、1 周期 20 点以上で表示しています。")
                                   .arg(kMaxStepPoints)
                             : QString());
    if (!(time.Valid() && time.high > 0)) {
        return;
    }
    const TimeUnit unit = TimeUnitFor(time.high);
    auto* x = static_cast<QValueAxis*>(XAxis(chart));
    // The computed time span exactly: rounding it up would leave an empty strip on the right.
    const double end = time.high * unit.factor;
    SetTicks(*x, 0, end, NiceTickInterval(end));
    x->setLabelFormat(QStringLiteral("%g"));
    x->setTitleText(QCoreApplication::translate("AnalysisWindow", "時間 [%1]").arg(unit.name));
    QValueAxis& y = *YAxis(chart);
    y.setRange(std::min(0.0, value.Valid() ? value.low : 0),
               std::max(1.0, value.Valid() ? value.high : 1));
    y.applyNiceNumbers();
    y.setLabelFormat(QStringLiteral("%.1f"));
    y.setTitleText(QCoreApplication::translate("AnalysisWindow", "出力"));
    // Thousands of samples of a fast ringing fill the plot with long steep strokes: smoothing
    // them would cost far more than it shows.
    views_[Step]->setRenderHint(QPainter::Antialiasing,
                                result.builtStep.time.size() <= kSmoothStepPoints &&
                                    result.requestedStep.time.size() <= kSmoothStepPoints);
    for (const auto& [step, curve] : steps) {
        if (!step->empty()) {
            AddCurve(chart, curve.name, Points(step->time, step->value, unit.factor), curve.pen);
        }
    }
}

QImage ResponseCharts::Image() const {
    return area_.grab().toImage();
}

void ResponseCharts::Render(QPainter& painter) const {
    area_.render(&painter);
}

}  // namespace mirelto
