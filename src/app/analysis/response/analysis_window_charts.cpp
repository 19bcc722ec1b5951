#include "analysis/response/analysis_window_charts.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QImage>
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
#include "analysis/response/plot_series.h"
#include "analysis/response/response_axes.h"
#include "analysis/shared/chart_style.h"

namespace mirelto {

namespace {

constexpr int kAxisPixels = 11;
constexpr int kMarkerLabelPixels = 11;
constexpr int kChartMargin = 2;   // as NewChart makes it
constexpr int kLabelPadding = 6;  // around a label's text, and a little air
// A magnitude plot shows this much below its top: deeper stop-band values say nothing more.
constexpr double kMagnitudeSpanDb = 100;
// A step curve of more samples than this is drawn without smoothing.
constexpr std::size_t kSmoothStepPoints = 1000;

const QColor kRequestedColour(0x1f, 0x77, 0xb4);
const QColor kBuiltColour(0xd6, 0x27, 0x28);
const QColor kOpAmpColour(0x2c, 0xa0, 0x2c);
const QColor kMinorGridColour(0xe8, 0xe8, 0xe8);

QString StepTitle() {
    return QCoreApplication::translate("AnalysisWindow", "ステップ応答");
}

struct CurveStyle {
    QString name;
    QPen pen;
};

// The traces the result holds, request first, in legend order, each with its slot among the
// plot's curves.
struct TraceCurve {
    const Trace* trace;
    CurveStyle curve;
    int slot;
};
std::vector<TraceCurve> Traces(const AnalysisResult& result) {
    std::vector<TraceCurve> traces;
    const TraceCurve all[] = {
        {&result.requested, {RequestedCurveName(), CurvePen(kRequestedColour, Qt::DashLine)}, 0},
        {&result.built, {BuiltCurveName(), CurvePen(kBuiltColour)}, 1},
        {&result.opAmp, {OpAmpCurveName(), CurvePen(kOpAmpColour, Qt::DashDotLine)}, 2},
    };
    for (const TraceCurve& trace : all) {
        if (!trace.trace->empty()) {
            traces.push_back(trace);
        }
    }
    return traces;
}

// A label sits centred on its tick: the chart's right margin holds half of the last one (and
// the label's own padding), so that a label at the right end of the plot stays in the chart.
void KeepLastLabelInside(QChart& chart, QCategoryAxis& labels) {
    const QStringList texts = labels.categoriesLabels();
    const int half =
        texts.isEmpty()
            ? 0
            : QFontMetrics(labels.labelsFont()).horizontalAdvance(texts.back()) / 2 + kLabelPadding;
    QMargins margins = chart.margins();
    margins.setRight(std::max(kChartMargin, half));
    if (margins != chart.margins()) {
        chart.setMargins(margins);
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
    const QFont labelFont = SizedFont(area.font(), kMarkerLabelPixels);
    for (int kind = 0; kind < kKinds; ++kind) {
        QChart* chart = NewChart(titles[kind], area.font());
        chart->legend()->setAlignment(Qt::AlignBottom);
        chart->legend()->setFont(axisFont);
        AddAxes(*chart, Kind(kind), axisFont);
        const auto k = static_cast<std::size_t>(kind);
        // Request, built circuit and op-amp; the step has no op-amp curve.
        lines_[k] = new PlotSeries(*chart, kind == Step ? 2 : 3);
        if (kind != Step) {
            markers_[k] = new MarkerLines(*chart, kind == Magnitude, labelFont);
        }
        QChartView* view = AddChartView(chart, area, grid, names[kind], QSize(240, 200), kind);
        views_[k] = view;
        interactions_[k] = new ChartInteraction(
            *view, [this, kind](double x) { return ReadoutText(curves_[kind], x); });
    }
    Clear();
}

void ResponseCharts::AddAxes(QChart& chart, Kind kind, const QFont& font) {
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
        axis->setLabelsFont(font);
        axis->setTitleFont(font);
        if (auto* value = qobject_cast<QValueAxis*>(axis)) {
            BoundTicks(*value);
        }
    }
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    if (auto* log = qobject_cast<QLogValueAxis*>(x)) {
        auto* labels = new QCategoryAxis;
        labels->setObjectName(QStringLiteral("FrequencyLabels"));
        labels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        labels->setGridLineVisible(false);
        labels->setLabelsFont(font);
        labels->setTitleFont(font);
        labels->setTitleText(QCoreApplication::translate("AnalysisWindow", "周波数 [Hz]"));
        chart.addAxis(labels, Qt::AlignBottom);
        QObject::connect(log, &QLogValueAxis::rangeChanged, labels,
                         [labels, &chart](qreal low, qreal high) {
                             SetLogAxisLabels(*labels, low, high);
                             KeepLastLabelInside(chart, *labels);
                         });
        frequencyLabels_[static_cast<std::size_t>(kind)] = labels;
    }
}

QChart* ResponseCharts::Chart(Kind kind) const {
    return views_[kind]->chart();
}

void ResponseCharts::Clear() {
    for (std::size_t kind = 0; kind < views_.size(); ++kind) {
        QChart& chart = *views_[kind]->chart();
        // A zoom kept from the last curves would be taken back to their ranges.
        chart.zoomReset();
        lines_[kind]->HideAll();
        if (markers_[kind]) {
            markers_[kind]->Hide();
        }
        for (QAbstractAxis* axis : chart.axes()) {
            axis->setVisible(false);
        }
    }
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
        SetLabelFormat(y, QStringLiteral("%.0f"));
        return;
    }
    const PassBandRange band =
        PassBandOf(curves_[Magnitude], isLpf_, cutoff_, wholeLow_, wholeHigh_);
    x->setRange(band.low, band.high);
    SetTicks(y, band.bottom, band.top, band.interval);
    SetLabelFormat(y, QStringLiteral("%.1f"));
}

// The series, axes and legends stay; the curves' points are replaced, once each, after every
// range is set.
void ResponseCharts::Show(const AnalysisResult& result, const FrequencyMarkers& markers) {
    curves_ = {};
    for (std::size_t kind = 0; kind < views_.size(); ++kind) {
        QChart& chart = *views_[kind]->chart();
        chart.zoomReset();
        lines_[kind]->Begin();
        for (QAbstractAxis* axis : chart.axes()) {
            axis->setVisible(true);
        }
    }
    ShowFrequencyCharts(result, markers);
    ShowStepChart(result);
    for (PlotSeries* lines : lines_) {
        lines->End();
    }
}

void ResponseCharts::ShowFrequencyCharts(const AnalysisResult& result,
                                         const FrequencyMarkers& markers) {
    const auto traces = Traces(result);
    if (result.frequency.empty() || traces.empty()) {
        for (const Kind kind : {Magnitude, Phase, GroupDelay}) {
            markers_[kind]->Hide();
        }
        return;
    }
    const double delayFactor = SetFrequencyAxes(result);
    curves_[Magnitude] = {result.frequency, 1, QStringLiteral("Hz"), {}, DecibelText};
    curves_[Phase] = {result.frequency, 1, QStringLiteral("Hz"), {}, DegreeText};
    curves_[GroupDelay] = {result.frequency, 1, QStringLiteral("Hz"), {}, SecondsText};
    for (const auto& [trace, curve, slot] : traces) {
        curves_[Magnitude].curves.emplace_back(curve.name, trace->magnitudeDb);
        curves_[Phase].curves.emplace_back(curve.name, trace->phaseDeg);
        curves_[GroupDelay].curves.emplace_back(curve.name, trace->groupDelay);
        const auto& f = result.frequency;
        lines_[Magnitude]->Show(slot, curve.name, curve.pen, f, trace->magnitudeDb);
        lines_[Phase]->Show(slot, curve.name, curve.pen, f, trace->phaseDeg);
        lines_[GroupDelay]->Show(slot, curve.name, curve.pen, f, trace->groupDelay, 1, delayFactor);
    }
    const auto groups = MarkerGroups(markers);
    for (const Kind kind : {Magnitude, Phase, GroupDelay}) {
        markers_[kind]->Show(groups);
    }
    if (passBand_) {
        ApplyMagnitudeView();
    }
}

double ResponseCharts::SetFrequencyAxes(const AnalysisResult& result) {
    const double fLow = result.frequency.front(), fHigh = result.frequency.back();
    // Whole hertz while the axis starts at 1 Hz or above; below, as many digits as it needs.
    const QString format = fLow >= 1 ? QStringLiteral("%.0f") : QStringLiteral("%g");
    for (const Kind kind : {Magnitude, Phase, GroupDelay}) {
        auto* x = static_cast<QLogValueAxis*>(XAxis(*Chart(kind)));
        x->setRange(fLow, fHigh);
        SetLabelFormat(*x, format);
    }
    Extent magnitude, phase, delay;
    for (const TraceCurve& trace : Traces(result)) {
        magnitude.Add(trace.trace->magnitudeDb);
        phase.Add(trace.trace->phaseDeg);
        delay.Add(trace.trace->groupDelay);
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
    SetLabelFormat(magnitudeAxis, QStringLiteral("%.0f"));
    isLpf_ =
        result.built.empty() || result.built.magnitudeDb.front() > result.built.magnitudeDb.back();
    cutoff_ = result.builtFigures.cutoff;
    magnitudeAxis.setTitleText(QCoreApplication::translate("AnalysisWindow", "ゲイン [dB]"));
    SetPhaseAxis(*YAxis(*Chart(Phase)), phase);
    return SetDelayAxis(*YAxis(*Chart(GroupDelay)), delay);
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
    SetStepTitle(result.stepShortened);
    if (!(time.Valid() && time.high > 0)) {
        return;
    }
    const TimeUnit unit = TimeUnitFor(time.high);
    auto* x = static_cast<QValueAxis*>(XAxis(chart));
    // The computed time span exactly: rounding it up would leave an empty strip on the right.
    const double end = time.high * unit.factor;
    SetTicks(*x, 0, end, NiceTickInterval(end));
    SetLabelFormat(*x, QStringLiteral("%g"));
    x->setTitleText(QCoreApplication::translate("AnalysisWindow", "時間 [%1]").arg(unit.name));
    QValueAxis& y = *YAxis(chart);
    SetNiceRange(y, std::min(0.0, value.Valid() ? value.low : 0),
                 std::max(1.0, value.Valid() ? value.high : 1));
    SetLabelFormat(y, QStringLiteral("%.1f"));
    y.setTitleText(QCoreApplication::translate("AnalysisWindow", "出力"));
    // Thousands of samples of a fast ringing fill the plot with long steep strokes: smoothing
    // them, or outlining each as a two-pixel band, would cost far more than it shows. Drawn as
    // one-pixel lines, they take the painter's direct line path.
    const bool smooth = result.builtStep.time.size() <= kSmoothStepPoints &&
                        result.requestedStep.time.size() <= kSmoothStepPoints;
    views_[Step]->setRenderHint(QPainter::Antialiasing, smooth);
    PlotCurves& readout = curves_[Step];
    readout = {{}, 1 / unit.factor, QStringLiteral("s"), {}, PlainValueText};
    for (const double t :
         (result.builtStep.empty() ? result.requestedStep : result.builtStep).time) {
        readout.x.push_back(t * unit.factor);
    }
    for (int slot = 0; slot < 2; ++slot) {
        const auto& [step, curve] = steps[slot];
        if (!step->empty()) {
            QPen pen = curve.pen;
            pen.setWidthF(smooth ? pen.widthF() : 1);
            lines_[Step]->Show(slot, curve.name, pen, step->time, step->value, unit.factor);
            readout.curves.emplace_back(curve.name, step->value);
        }
    }
}

void ResponseCharts::SetStepTitle(bool shortened) {
    Chart(Step)->setTitle(
        shortened ? StepTitle() + QCoreApplication::translate("AnalysisWindow", " (始めの部分のみ)")
                  : StepTitle());
    views_[Step]->setToolTip(
        shortened ? QCoreApplication::translate(
                        "AnalysisWindow",
                        "振動が速く長く続くため、表示点数の上限 (%1 点) に収まる始めの"
                        "部分だけを、1 周期 20 点以上で表示しています。")
                        .arg(kMaxStepPoints)
                  : QString());
}

QImage ResponseCharts::Image() const {
    return area_.grab().toImage();
}

void ResponseCharts::Render(QPainter& painter) const {
    area_.render(&painter);
}

}  // namespace mirelto
