// The analysis window's four plots: magnitude, phase and group delay over a log-frequency axis,
// and the step response, each with the curves of the request, the built circuit and (when asked
// for) the built circuit with a real op-amp, and dotted lines at fa, fo and -3 dB. Drawing only:
// the curves come from the core's AnalysisResult.
#pragma once

#include <QCoreApplication>
#include <QSize>
#include <QString>

#include <array>

#include <mirelto/response/analysis.h>

class QChart;
class QChartView;
class QGridLayout;
class QImage;
class QPainter;
class QWidget;

namespace mirelto {

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

// The frequencies the dotted lines mark (Hz); a NaN one is left out.
struct FrequencyMarkers {
    double fa = 0, fo = 0, cutoff = 0;
};

class ResponseCharts {
  public:
    enum Kind { Magnitude, Phase, GroupDelay, Step };
    static constexpr int kKinds = 4;

    // Makes the four plots in a 2 x 2 grid of `area`, empty.
    ResponseCharts(QWidget& area, QGridLayout& grid);

    void Show(const AnalysisResult& result, const FrequencyMarkers& markers);
    // Back to the empty plots of the start.
    void Clear();

    QChartView* View(Kind kind) const { return views_[kind]; }
    QChart* Chart(Kind kind) const;

    // The four plots as they are on screen, as one picture.
    QImage Image() const;
    // The four plots drawn with `painter`: on an SVG generator they stay vector drawings.
    void Render(QPainter& painter) const;

  private:
    void ShowFrequencyCharts(const AnalysisResult& result, const FrequencyMarkers& markers);
    void ShowStepChart(const AnalysisResult& result);

    QWidget& area_;
    std::array<QChartView*, kKinds> views_{};
};

}  // namespace mirelto
