// The analysis window's noise tab: the output noise density of the last calculated circuit with
// the op-amp in use, per source and in all (log-log, with the response plots' zoom and readout),
// the band the RMS noise is taken over (two boxes; empty, the plotted range) and the table of
// each source's RMS and share, the total and the dynamic range, which copies as TSV. The
// analysis is quick (a few milliseconds), so it runs on the user-interface thread.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include <mirelto/response/analysis.h>
#include <mirelto/tools/noise.h>

class QChartView;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QWidget;

namespace mirelto {

class ChartInteraction;
class OpAmpPanel;

class NoisePanel : public QObject {
    Q_OBJECT

  public:
    // Adds the tab to `tabs`; analyses with the op-amp of `opAmp`.
    NoisePanel(QTabWidget& tabs, const OpAmpPanel& opAmp, QWidget& window);

    // Takes the circuit of a successful calculation and analyses it.
    void Follow(const AnalysisInput& input);
    // Analyses again with the op-amp and band now chosen.
    void Refresh();
    // Fills the band boxes (Hz; empty: the plotted range's edge) and analyses again.
    void SetBandTexts(const QString& low, const QString& high);

    bool HasResult() const { return result_.has_value(); }
    const NoiseResult& Result() const { return *result_; }

    QWidget& Page() const { return *page_; }
    QChartView& View() const { return *view_; }
    QLineEdit& BandLowBox() const { return *bandLow_; }
    QLineEdit& BandHighBox() const { return *bandHigh_; }
    QTableWidget& Table() const { return *table_; }
    QLabel& MessageLabel() const { return *message_; }
    QPushButton& CopyButton() const { return *copy_; }

  private:
    QWidget* MakeSide();
    void ShowResult();
    void ShowCurves();

    const OpAmpPanel& opAmp_;
    QWidget* page_;
    QChartView* view_ = nullptr;
    ChartInteraction* interaction_ = nullptr;
    QLineEdit* bandLow_ = nullptr;
    QLineEdit* bandHigh_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* copy_ = nullptr;
    std::optional<AnalysisInput> input_;
    std::optional<NoiseResult> result_;
};

}  // namespace mirelto
