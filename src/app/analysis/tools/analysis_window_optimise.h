// The analysis window's best-standard-values tab. 実行 reads the main window's request, given
// parts and series selectors as they are at that moment, designs the unrounded circuit on this
// thread (the synthesis drives the design record), then searches the standard values around it
// on a worker thread and lists the best combinations. 適用 writes the chosen six values into the
// main window's part boxes and runs its transfer-function calculation.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include <mirelto/tools/optimise.h>

#include "analysis/shared/analysis_window_worker.h"
#include "source/design_source.h"

namespace Ui {
class TFormAnalysis;
}

namespace mirelto {

// The shortest SI text ("6.8n", "22.1k", "7.0951234567n") that reads back (ParseValue) as
// `value` to 1e-12: a preferred value carries a few ulps of the series' decade scaling, which a
// text typed by hand would not, and the box should read as a person writes the part. Where no SI
// text comes that close, the shortest exact e-notation. Empty for NaN and infinities.
QString PartValueText(double value);

// The given parts' series offered by the selector, in order: 0 (they stay fixed), then E6 to
// E192.
const std::vector<std::int32_t>& GivenSeriesChoices();

class OptimisePanel : public QObject {
    Q_OBJECT

  public:
    // The search run on the worker thread: OptimiseValues unless replaced.
    using Search = std::function<OptimiseResult(const OptimiseInput&, const RunControl&)>;

    OptimisePanel(Ui::TFormAnalysis& form, DesignSource& source, QObject* parent);

    // Starts a search with the main window's current input; a problem with it is shown instead.
    void Run();
    void Cancel() { run_.Cancel(); }
    // Cancels a search and waits for its thread: the window is going away.
    void Stop() { run_.Stop(); }
    // Writes the selected row's six values into the main window and runs 伝達関数.
    void Apply();
    // A calculation has been made: the hint gives way, and see InputChanged.
    void CalculationMade();
    // The main window's mode or design has changed: a search still going is stopped, and a
    // table already shown is said to be of the input before.
    void InputChanged();

    bool IsRunning() const { return run_.IsRunning(); }
    // The table's candidates, row by row.
    const std::vector<Candidate>& Rows() const { return rows_; }
    // The circuit and request of the last search started.
    const OptimiseInput& LastInput() const { return input_; }

    void SetSearch(Search search) { search_ = std::move(search); }

  private:
    // The main window's input, or the message that says what is wrong with it.
    std::optional<OptimiseInput> ReadInput(QString& problem) const;
    void ShowResult(const OptimiseResult& result);
    void SelectionChanged();

    Ui::TFormAnalysis& form_;
    DesignSource& source_;
    RunControls controls_;
    Search search_;
    OptimiseInput input_;
    std::vector<Candidate> rows_;
    bool stale_ = false;     // the main window has changed since the table's search
    bool applying_ = false;  // Apply is running the main window's calculation
    // Last, so that it goes first: its thread ends before anything else of the panel.
    BackgroundRun run_{nullptr};
};

}  // namespace mirelto
