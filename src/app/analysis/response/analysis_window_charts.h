// The analysis window's four plots: magnitude, phase and group delay over a log-frequency axis,
// and the step response, each with the curves of the request, the built circuit and (when asked
// for) the built circuit with a real op-amp, and dotted lines at fa, fo and -3 dB. Drawing only:
// the curves come from the core's AnalysisResult. The series and axes are made once; a new
// result replaces their points.
#pragma once

#include <QCoreApplication>
#include <QSize>
#include <QString>

#include <array>

#include <mirelto/response/analysis.h>

#include "analysis/response/analysis_window_markers.h"
#include "analysis/response/analysis_window_readout.h"

class QCategoryAxis;
class QChart;
class QFont;
class QChartView;
class QGridLayout;
class QImage;
class QPainter;
class QWidget;

namespace mirelto {

class PlotSeries;
class ChartInteraction;

// The legend names of the three curves.
inline QString RequestedCurveName() {
    return QCoreApplication::translate("AnalysisWindow", "要求");
}
inline QString BuiltCurveName() {
    return QCoreApplication::translate("AnalysisWindow", "実回路");
}
inline QString OpAmpCurveName() {
    return QCoreApplication::translate("AnalysisWindow", "実オペアンプ");
}

class ResponseCharts {
  public:
    enum Kind { Magnitude, Phase, GroupDelay, Step };
    static constexpr int kKinds = 4;

    // Makes the four plots in a 2 x 2 grid of `area`, empty.
    ResponseCharts(QWidget& area, QGridLayout& grid);

    void Show(const AnalysisResult& result, const FrequencyMarkers& markers);
    // Back to the empty plots of the start.
    void Clear();
    // Every plot back to its whole range (or the pass band), undoing zoom and pan.
    void ResetZoom();
    // The magnitude plot over the pass band, scaled to its ripple and the -3 dB line; or the
    // whole plot.
    void SetPassBandView(bool passBand);
    bool PassBandView() const { return passBand_; }

    QChartView* View(Kind kind) const { return views_[kind]; }
    QChart* Chart(Kind kind) const;
    ChartInteraction& Interaction(Kind kind) const { return *interactions_[kind]; }
    // The SI labels under a frequency plot's axis.
    QCategoryAxis* FrequencyLabels(Kind kind) const { return frequencyLabels_[kind]; }

    // The four plots as they are on screen, as one picture.
    QImage Image() const;
    // The four plots drawn with `painter`: on an SVG generator they stay vector drawings.
    void Render(QPainter& painter) const;

  private:
    void AddAxes(QChart& chart, Kind kind, const QFont& font);
    void ShowFrequencyCharts(const AnalysisResult& result, const FrequencyMarkers& markers);
    // The frequency plots' axes for the result's curves; returns the delay axis' time factor.
    double SetFrequencyAxes(const AnalysisResult& result);
    void ShowStepChart(const AnalysisResult& result);
    void SetStepTitle(bool shortened);

    void ApplyMagnitudeView();

    QWidget& area_;
    std::array<QChartView*, kKinds> views_{};
    std::array<ChartInteraction*, kKinds> interactions_{};
    std::array<QCategoryAxis*, kKinds> frequencyLabels_{};  // none for the step plot
    std::array<PlotSeries*, kKinds> lines_{};               // the series drawn
    std::array<MarkerLines*, kKinds> markers_{};            // none for the step plot
    std::array<PlotCurves, kKinds> curves_;                 // as drawn, for the readout
    bool passBand_ = false;
    bool isLpf_ = true;
    double cutoff_ = 0;                    // of the built circuit, Hz
    double wholeLow_ = 0, wholeHigh_ = 0;  // the magnitude plot's whole range
    double wholeBottom_ = 0, wholeTop_ = 0, wholeInterval_ = 0;
};

}  // namespace mirelto
