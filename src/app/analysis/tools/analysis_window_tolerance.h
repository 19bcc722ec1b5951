// The analysis window's tolerance tab: the result circuit of the last calculation with a tolerance
// per part, spread uniformly or normally, in a repeatable Monte Carlo run on a worker thread;
// the percentiles and histograms of fa, fo, Q and the -3 dB frequency, and the circuit's
// sensitivities.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <optional>

#include <mirelto/response/analysis.h>
#include <mirelto/tools/tolerance.h>

#include "analysis/tools/analysis_window_tolerance_charts.h"
#include "analysis/shared/analysis_window_worker.h"

class QLineEdit;

namespace Ui {
class TFormAnalysis;
}

namespace mirelto {

// A tolerance as typed, in per cent with an optional "%" ("1", "0.5 %", "500m"), as a fraction:
// 0.01 for "1". None unless 0 <= t < 100 %.
std::optional<double> ParseTolerancePercent(const QString& text);

class TolerancePanel : public QObject {
    Q_OBJECT

  public:
    TolerancePanel(Ui::TFormAnalysis& form, QObject* parent);

    // Takes the result circuit of a successful calculation; a run of the one before is stopped
    // and its figures cleared.
    void Follow(const AnalysisInput& input);
    // Starts a run with the tab's settings; a problem with them is shown instead.
    void Run();
    void Cancel() { run_.Cancel(); }
    // Cancels a run and waits for its thread: the window is going away.
    void Stop() { run_.Stop(); }

    bool IsRunning() const { return run_.IsRunning(); }
    // The last completed run's result.
    const std::optional<ToleranceResult>& Result() const { return result_; }
    const ToleranceHistograms& Histograms() const { return histograms_; }

  private:
    std::optional<ToleranceInput> ReadInput(QString& problem) const;
    void ShowResult(const ToleranceResult& result);
    void ClearResult();
    void ShowSensitivities(const Sensitivities& sensitivity);
    void ShowIdle();

    Ui::TFormAnalysis& form_;
    RunControls controls_;
    ToleranceHistograms histograms_;
    std::optional<Circuit> circuit_;
    std::optional<ToleranceResult> result_;
    // Last, so that it goes first: its thread ends before anything else of the panel.
    BackgroundRun run_{nullptr};
};

// The six tolerance boxes, R1 to C3.
std::array<QLineEdit*, kComponentCount> ToleranceBoxes(const Ui::TFormAnalysis& form);

}  // namespace mirelto
