#include "analysis/analysis_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QShowEvent>

#include "analysis/response/analysis_window_response.h"
#include "analysis/tools/analysis_window_netlist.h"
#include "analysis/tools/analysis_window_optimise.h"
#include "analysis/tools/analysis_window_presets.h"
#include "analysis/tools/analysis_window_tolerance.h"

namespace mirelto {

QPoint AnalysisWindowPosition(const Rect& owner, QSize outer, const Rect& workArea) {
    const int width = outer.width(), height = outer.height();
    // Beside or under the owner with the top edges (left edges) level, moved along that edge
    // into the work area.
    const auto level = [](int start, int size, int low, int high) {
        return std::max(std::min(start, high - size), low);
    };
    if (owner.right + width <= workArea.right) {
        return {owner.right, level(owner.top, height, workArea.top, workArea.bottom)};
    }
    if (owner.left - width >= workArea.left) {
        return {owner.left - width, level(owner.top, height, workArea.top, workArea.bottom)};
    }
    if (owner.bottom + height <= workArea.bottom) {
        return {level(owner.left, width, workArea.left, workArea.right), owner.bottom};
    }
    // No room clear of the owner: against the work area's edge on the roomier side.
    int left = 0;
    if (workArea.right - owner.right >= owner.left - workArea.left) {
        left = workArea.right - width;
    } else {
        left = workArea.left;
    }
    int top = owner.top;
    if (top + height > workArea.bottom) {
        top = workArea.bottom - height;
    }
    return {std::max(left, workArea.left), std::max(top, workArea.top)};
}

TFormAnalysis::TFormAnalysis(DesignSource& source)
    // A top-level window of its own, so that the calculator can be brought in front of it; owned
    // by the main window, so that it goes (its runs stopped) with it, and never the window that
    // keeps the program running.
    : QWidget(&source.Window(), Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                    Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setupUi(this);
    // Texts that follow the input wrap within the width the plots and tables give the window;
    // they never widen it.
    for (QLabel* label :
         {LabelComparedRequest, LabelGbwMessage, LabelOpAmpWarning, LabelOptimiseIdeal,
          LabelOptimiseStatus, LabelToleranceCircuit, LabelToleranceStatus}) {
        label->setWordWrap(true);
        QSizePolicy policy = label->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
        label->setSizePolicy(policy);
    }
    response_ = new ResponsePanel(*this, *this);
    PresetsPanel::Target target{[&source] { return source.IsLpf(); },
                                [&source](const QString& fa, const QString& fo, const QString& q) {
                                    source.ApplyRequest({fa, fo, q});
                                }};
    presets_ = new PresetsPanel(*this, std::move(target), this);
    optimise_ = new OptimisePanel(*this, source, this);
    tolerance_ = new TolerancePanel(*this, this);
    netlist_ = new NetlistPanel(*this, this);
    connect(response_, &ResponsePanel::OpAmpGbwChanged, netlist_, &NetlistPanel::SetOpAmpGbw);

    // The preview follows the source's mode (HPF maps the frequencies reciprocally); a search
    // stops. What the shown results were calculated from: the mode, the request, the parts and
    // their series. The result boxes are written by the calculation itself.
    source.OnModeChanged(presets_, [this] { presets_->Update(); });
    source.OnModeChanged(optimise_, [this] { optimise_->InputChanged(); });
    source.OnModeChanged(this, [this] { InputChanged(); });
    source.OnInputEdited(this, [this] { InputChanged(); });
    source.OnCalculated(this, [this](const AnalysisInput& input) { Follow(input); });
}

void TFormAnalysis::InputChanged() {
    if (hasResults_ && !stale_) {
        stale_ = true;
        LabelStale->show();
    }
}

TFormAnalysis::~TFormAnalysis() {
    // Before any widget goes: the workers' results are shown in them.
    optimise_->Stop();
    tolerance_->Stop();
}

void TFormAnalysis::ShowAnalysis() {
    if (!placed_ && parentWidget()) {
        QWidget& owner = *parentWidget();
        Platform& platform = CurrentPlatform();
        move(AnalysisWindowPosition(platform.WindowRect(owner), FramedSize(owner, size()),
                                    platform.WorkArea(&owner)));
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

void TFormAnalysis::Follow(const AnalysisInput& input) {
    hasResults_ = true;
    stale_ = false;
    LabelStale->hide();
    response_->Follow(input);
    optimise_->CalculationMade();
    tolerance_->Follow(input);
    netlist_->Follow(input);
}

void TFormAnalysis::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    presets_->Update();
    response_->WindowShown();
}

void TFormAnalysis::closeEvent(QCloseEvent* event) {
    // Nobody watches a hidden window's work: it stops.
    optimise_->Cancel();
    tolerance_->Cancel();
    QWidget::closeEvent(event);
}

}  // namespace mirelto
