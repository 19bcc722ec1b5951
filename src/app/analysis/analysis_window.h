// The analysis window: response plots and the comparison table of the last calculation (the
// response tab), response-type presets for the main window's request (the presets tab), the best
// standard values for it (the optimise tab), the tolerance analysis and the SPICE netlist of the
// last result circuit. A top-level window owned by the main window (it goes with it, and never
// keeps the program running), made when first asked for, placed beside it the first time it is
// shown and left where the user puts it afterwards. A search or tolerance run
// still going is cancelled when the window is closed, and waited for when it is destroyed.
#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <optional>

#include <mirelto/response/analysis.h>

#include "desktop/platform.h"
#include "source/design_source.h"
#include "ui_analysis_window.h"

namespace mirelto {

class NetlistPanel;
class OptimisePanel;
class PresetsPanel;
class ResponsePanel;
class TolerancePanel;

class TFormAnalysis : public QWidget, public Ui::TFormAnalysis {
    Q_OBJECT

  public:
    // Owned by the source's window, which it reads and follows.
    explicit TFormAnalysis(DesignSource& source);
    ~TFormAnalysis() override;

    // Shows the window (placing it the first time) and brings it to the front.
    void ShowAnalysis();
    // Takes the input of a successful calculation; see ResponsePanel::Follow. Clears the notice
    // that the results shown no longer match the main window.
    void Follow(const AnalysisInput& input);
    // The main window's mode or a box the results come from has changed since the results shown
    // were calculated: says so in a notice line until the next calculation.
    void InputChanged();
    bool ShowsStaleResults() const { return stale_; }

    ResponsePanel& Response() { return *response_; }
    PresetsPanel& PresetsTab() { return *presets_; }
    OptimisePanel& OptimiseTab() { return *optimise_; }
    TolerancePanel& ToleranceTab() { return *tolerance_; }
    NetlistPanel& NetlistTab() { return *netlist_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool placed_ = false;
    bool hasResults_ = false;
    bool stale_ = false;
    ResponsePanel* response_ = nullptr;
    PresetsPanel* presets_ = nullptr;
    OptimisePanel* optimise_ = nullptr;
    TolerancePanel* tolerance_ = nullptr;
    NetlistPanel* netlist_ = nullptr;
};

// First placement, clear of the owner where the work area has room: right of the owner's outer
// rectangle, top edges level; else left of it; else below it, left edges level; each moved along
// the owner's edge into the work area. Without room, against the work area's edge on the roomier
// side, over the owner, its top-left corner kept inside.
QPoint AnalysisWindowPosition(const Rect& owner, QSize outer, const Rect& workArea);

}  // namespace mirelto
