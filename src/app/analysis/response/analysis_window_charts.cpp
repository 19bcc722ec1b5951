#include "analysis/response/analysis_window_charts.h"

#include <QCategoryAxis>
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

#include "analysis/response/analysis_window_markers.h"
#include "analysis/response/chart_curves.h"
#include "analysis/response/chart_interaction.h"
#include "analysis/shared/chart_style.h"

namespace mirelto {

namespace {

constexpr int kAxisPixels = 11;
constexpr int kMarkerLabelPixels = 11;
// A magnitude plot shows this much below its top: deeper stop-band values say nothing more.
constexpr double kMagnitudeSpanDb = 100;
// A step curve of more samples than this is drawn without smoothing.
constexpr std::size_t kSmoothStepPoints = 1000;

const QColor kMinorGridColour(0xe8, 0xe8, 0xe8);

QString StepTitle() {
    return QCoreApplication::translate("AnalysisWindow", "ステップ応答");
}

const QColor kRequestedColour(0x1f, 0x77, 0xb4);
const QColor kBuiltColour(0xd6, 0x27, 0x28);
const QColor kOpAmpColour(0x2c, 0xa0, 0x2c);

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

// The frequency axis of a chart over `low` to `high`: whole hertz while it starts at 1 Hz or
// above; below, as many digits as it needs.
void SetFrequencyRange(QChart& chart, double low, double high) {
    auto* x = static_cast<QLogValueAxis*>(XAxis(chart));
    x->setRange(low, high);
    x->setLabelFormat(low >= 1 ? QStringLiteral("%.0f") : QStringLiteral("%g"));
}

// Whole quarter turns around the phases, at least one; ticks every 90° up to 540°, then 180°.
void ScalePhaseAxis(QValueAxis& axis, const Extent& phase) {
    const double low = phase.Valid() ? std::floor(phase.low / 90) * 90 : -270;
    double high = phase.Valid() ? std::ceil(phase.high / 90) * 90 : 0;
    if (high <= low) {
        high = low + 90;
    }
    SetTicks(axis, low, high, high - low > 540 ? 180 : 90);
    axis.setLabelFormat(QStringLiteral("%.0f"));
    axis.setTitleText(QCoreApplication::translate("AnalysisWindow", "位相 [°]"));
}

// From zero (or the lowest delay below it) to a tenth above the highest, in the time unit that
// shows it, which it returns.
TimeUnit ScaleDelayAxis(QValueAxis& axis, const Extent& delay) {
    const TimeUnit unit = TimeUnitFor(delay.Valid() ? std::fabs(delay.high) : 1);
    axis.setTickType(QValueAxis::TicksFixed);
    axis.setRange(std::min(0.0, delay.Valid() ? delay.low * unit.factor : 0),
                  (delay.Valid() ? delay.high * unit.factor : 1) * 1.1);
    axis.applyNiceNumbers();
    axis.setLabelFormat(QStringLiteral("%g"));
    axis.setTitleText(QCoreApplication::translate("AnalysisWindow", "群遅延 [%1]").arg(unit.name));
    return unit;
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
            log->setLabelsVisible(false);
            x = log;
        }
        auto* y = new QValueAxis;
        for (QAbstractAxis* axis : {x, static_cast<QAbstractAxis*>(y)}) {
            axis->setLabelsFont(axisFont);
            axis->setTitleFont(axisFont);
        }
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        if (auto* log = qobject_cast<QLogValueAxis*>(x)) {
            auto* labels = new QCategoryAxis;
            labels->setObjectName(QStringLiteral("FrequencyLabels"));
            labels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
            labels->setGridLineVisible(false);
            labels->setLabelsFont(axisFont);
            labels->setTitleFont(axisFont);
            labels->setTitleText(QCoreApplication::translate("AnalysisWindow", "周波数 [Hz]"));
            chart->addAxis(labels, Qt::AlignBottom);
            QObject::connect(
                log, &QLogValueAxis::rangeChanged, labels,
                [labels](qreal low, qreal high) { SetLogAxisLabels(*labels, low, high); });
            frequencyLabels_[static_cast<std::size_t>(kind)] = labels;
        }
        QChartView* view = AddChartView(chart, area, grid, names[kind], QSize(240, 200), kind);
        views_[static_cast<std::size_t>(kind)] = view;
        interactions_[static_cast<std::size_t>(kind)] = new ChartInteraction(
            *view, [this, kind](double x) { return ReadoutText(curves_[kind], x); });
    }
    Clear();
}

QChart* ResponseCharts::Chart(Kind kind) const {
    return views_[kind]->chart();
}

void ResponseCharts::Clear() {
    for (QChartView* view : views_) {
        // A zoom kept from the last curves would be taken back to their ranges.
        view->chart()->zoomReset();
    }
    ClearChartViews(views_);
    curves_ = {};
}

void ResponseCharts::ResetZoom() {
    for (ChartInteraction* interaction : interactions_) {
        interaction->Reset();
    }
}

void ResponseCharts::SetPassBandView(bool passBand) {
    passBand_ = passBand;
    ApplyMagnitudeView();
}

void ResponseCharts::ApplyMagnitudeView() {
    QChart& chart = *Chart(Magnitude);
    if (!(wholeLow_ > 0 && wholeHigh_ > wholeLow_)) {
        return;
    }
    chart.zoomReset();
    auto* x = static_cast<QLogValueAxis*>(XAxis(chart));
    QValueAxis& y = *YAxis(chart);
    if (!passBand_ || !(cutoff_ > 0)) {
        x->setRange(wholeLow_, wholeHigh_);
        SetTicks(y, wholeBottom_, wholeTop_, wholeInterval_);
        y.setLabelFormat(QStringLiteral("%.0f"));
        return;
    }
    const PassBandRange band =
        PassBandOf(curves_[Magnitude], isLpf_, cutoff_, wholeLow_, wholeHigh_);
    x->setRange(band.low, band.high);
    SetTicks(y, band.bottom, band.top, band.interval);
    y.setLabelFormat(QStringLiteral("%.1f"));
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
    for (const Kind kind : {Magnitude, Phase, GroupDelay}) {
        SetFrequencyRange(*Chart(kind), fLow, fHigh);
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
    wholeLow_ = fLow;
    wholeHigh_ = fHigh;
    wholeBottom_ = bottom;
    wholeTop_ = top;
    wholeInterval_ = top - bottom > 60 ? 20 : 10;
    SetTicks(magnitudeAxis, bottom, top, wholeInterval_);
    magnitudeAxis.setLabelFormat(QStringLiteral("%.0f"));
    isLpf_ =
        result.built.empty() || result.built.magnitudeDb.front() > result.built.magnitudeDb.back();
    cutoff_ = result.builtFigures.cutoff;
    magnitudeAxis.setTitleText(QCoreApplication::translate("AnalysisWindow", "ゲイン [dB]"));

    ScalePhaseAxis(*YAxis(*Chart(Phase)), phase);
    const TimeUnit delayUnit = ScaleDelayAxis(*YAxis(*Chart(GroupDelay)), delay);

    curves_[Magnitude] = {result.frequency, 1, QStringLiteral("Hz"), {}, DecibelText};
    curves_[Phase] = {result.frequency, 1, QStringLiteral("Hz"), {}, DegreeText};
    curves_[GroupDelay] = {result.frequency, 1, QStringLiteral("Hz"), {}, SecondsText};
    for (const auto& [trace, curve] : traces) {
        curves_[Magnitude].curves.emplace_back(curve.name, trace->magnitudeDb);
        curves_[Phase].curves.emplace_back(curve.name, trace->phaseDeg);
        curves_[GroupDelay].curves.emplace_back(curve.name, trace->groupDelay);
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
    if (passBand_) {
        ApplyMagnitudeView();
    }
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
    PlotCurves& readout = curves_[Step];
    readout = {{}, 1 / unit.factor, QStringLiteral("s"), {}, PlainValueText};
    for (const double t :
         (result.builtStep.empty() ? result.requestedStep : result.builtStep).time) {
        readout.x.push_back(t * unit.factor);
    }
    for (const auto& [step, curve] : steps) {
        if (!step->empty()) {
            AddCurve(chart, curve.name, Points(step->time, step->value, unit.factor), curve.pen);
            readout.curves.emplace_back(curve.name, step->value);
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
