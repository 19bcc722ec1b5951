// The analysis window's response tab: follows the main window's calculations, analyses the last
// one when the event loop is free and the window is shown, and draws the plots, the comparison
// table, the op-amp check and the export buttons.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include <mirelto/response/analysis.h>

#include "analysis/response/analysis_window_charts.h"
#include "analysis/shared/analysis_window_table.h"

class QWidget;

namespace Ui {
class TFormAnalysis;
}

namespace mirelto {

// Frequencies of the plotted curves.
inline constexpr int kPlotPoints = 400;

class ResponsePanel : public QObject {
    Q_OBJECT

  public:
    // Works on the response tab of `form`, shown in `window`.
    ResponsePanel(Ui::TFormAnalysis& form, QWidget& window);

    // Takes the input of a successful calculation. Returns at once: the analysis runs from the
    // event loop, and only while the window is shown.
    void Follow(const AnalysisInput& input);
    // The window has been shown: analyse what it has not analysed yet.
    void WindowShown();
    // Analyses now what is pending, if the window is shown.
    void Refresh();

    // The op-amp gain-bandwidth in use (Hz); 0 for none.
    double OpAmpGbw() const { return gbw_; }
    bool HasResult() const { return hasResult_; }
    const FigureTable& Table() const { return table_; }
    ResponseCharts& Charts() { return charts_; }

    // Puts the text in the GBW box and takes it as if typed there.
    void SetOpAmpGbwText(const QString& text);

    void CopyImage();
    void SaveImage();
    void CopyTable();

  signals:
    // The op-amp gain-bandwidth in use changed (Hz; 0 for none).
    void OpAmpGbwChanged(double gbw);

  private:
    void Post();
    void GbwEdited();
    void ShowEmpty();
    void ShowResult(const AnalysisResult& result, bool hasRequest);

    Ui::TFormAnalysis& form_;
    QWidget& window_;
    ResponseCharts charts_;
    std::optional<AnalysisInput> input_;
    double gbw_ = 0;
    bool stale_ = false;   // input or op-amp changed since the last analysis
    bool posted_ = false;  // a refresh waits in the event queue
    bool hasResult_ = false;
    FigureTable table_;
};

}  // namespace mirelto
