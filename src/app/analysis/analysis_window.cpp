#include "analysis/analysis_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QShowEvent>

#include "analysis/response/analysis_window_response.h"
#include "analysis/response/noise_panel.h"
#include "analysis/response/op_amp_panel.h"
#include "analysis/tools/analysis_window_netlist.h"
#include "analysis/tools/analysis_window_optimise.h"
#include "analysis/tools/analysis_window_presets.h"
#include "analysis/tools/analysis_window_tolerance.h"

namespace mirelto {

AnalysisPlacement PlaceAnalysisWindow(const Rect& owner, QSize outer, int minimumWidth,
                                      const Rect& workArea) {
    const int width = outer.width(), height = outer.height();
    const int ownerWidth = owner.right - owner.left;
    const QPoint ownerAt(owner.left, owner.top);
    // Beside or under the owner with the top edges (left edges) level, moved along that edge
    // into the work area.
    const auto level = [](int start, int size, int low, int high) {
        return std::max(std::min(start, high - size), low);
    };
    const int besideTop = level(owner.top, height, workArea.top, workArea.bottom);
    if (owner.right + width <= workArea.right) {
        return {ownerAt, {owner.right, besideTop}, outer};
    }
    if (owner.left - width >= workArea.left) {
        return {ownerAt, {owner.left - width, besideTop}, outer};
    }
    if (owner.bottom + height <= workArea.bottom) {
        return {ownerAt,
                {level(owner.left, width, workArea.left, workArea.right), owner.bottom},
                outer};
    }
    // Side by side across the work area: the owner moves along, as little as it takes.
    if (ownerWidth + width <= workArea.right - workArea.left) {
        const int rightShift = owner.right + width - workArea.right;
        const int leftShift = workArea.left + width - owner.left;
        if (rightShift <= leftShift) {
            const int left = owner.left - rightShift;
            return {{left, owner.top}, {left + ownerWidth, besideTop}, outer};
        }
        return {{owner.left + leftShift, owner.top}, {workArea.left, besideTop}, outer};
    }
    // Narrower, on the owner's right, the owner against the work area's left edge.
    const int narrowed = workArea.right - workArea.left - ownerWidth;
    if (narrowed >= minimumWidth) {
        return {{workArea.left, owner.top},
                {workArea.left + ownerWidth, besideTop},
                {narrowed, height}};
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
    return {ownerAt, {std::max(left, workArea.left), std::max(top, workArea.top)}, outer};
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
    opAmp_ = new OpAmpPanel(*this, *response_, *this);
    noise_ = new NoisePanel(*TabAnalysis, *opAmp_, *this);
    connect(opAmp_, &OpAmpPanel::Changed, noise_, &NoisePanel::Refresh);

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
        // The size its layout will give it when shown, which may exceed the designed one.
        resize(size().expandedTo(minimumSizeHint()));
        const Rect ownerRect = platform.WindowRect(owner);
        // Its own frame where the manager tells (a resizable window's may differ from the
        // owner's), else as the owner's. Asking gives it its native window: from here on it is
        // placed by its client area.
        QMargins frame = platform.ExpectedFrame(*this);
        if (frame.isNull()) {
            const QRect client = owner.geometry();
            frame = QMargins(client.left() - ownerRect.left, client.top() - ownerRect.top,
                             ownerRect.right - client.right() - 1,
                             ownerRect.bottom - client.bottom() - 1);
        }
        const AnalysisPlacement placement = PlaceAnalysisWindow(
            ownerRect, size().grownBy(frame), minimumSizeHint().grownBy(frame).width(),
            platform.WorkArea(&owner));
        if (placement.owner != QPoint(ownerRect.left, ownerRect.top)) {
            owner.move(placement.owner);
        }
        setGeometry(QRect(placement.position, placement.size).marginsRemoved(frame));
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
    opAmp_->Follow(input);
    noise_->Follow(input);
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
