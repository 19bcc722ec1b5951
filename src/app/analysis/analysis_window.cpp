#include "analysis/analysis_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShowEvent>

#include "analysis/response/analysis_window_response.h"
#include "analysis/tools/analysis_window_netlist.h"
#include "analysis/tools/analysis_window_optimise.h"
#include "analysis/tools/analysis_window_presets.h"
#include "analysis/tools/analysis_window_tolerance.h"
#include "calculator/main_window.h"

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

std::optional<AnalysisInput> AnalysisInputFrom(const DesignRecord& design,
                                               const std::optional<KeptRequest>& kept) {
    if (!design.ResultValid) {
        return std::nullopt;
    }
    AnalysisInput input;
    input.isLpf = design.IsLpf;
    input.hasRequest = design.ConstantMode;
    input.requested = {design.Fa, design.Fo, design.Q};
    if (!design.ConstantMode && kept && kept->isLpf == design.IsLpf) {
        input.hasRequest = true;
        input.requested = kept->request;
    }
    const DesignRecord& d = design;
    if (!design.ConstantMode) {
        input.built = {d.R1, d.R2, d.R3, d.C1, d.C2, d.C3, d.IsLpf};
    } else if (design.IsLpf) {
        input.built = {d.R1, d.R2, d.R3, d.ResC1, d.ResC2, d.ResC3, true};
    } else {
        input.built = {d.ResR1, d.ResR2, d.ResR3, d.C1, d.C2, d.C3, false};
    }
    return input;
}

TFormAnalysis::TFormAnalysis(TFormMain* owner)
    // A top-level window of its own, so that the calculator can be brought in front of it; owned
    // by the main window, so that it goes (its runs stopped) with it, and never the window that
    // keeps the program running.
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
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
    PresetsPanel::Target target{[owner] { return owner->RadioButtonLpf->isChecked(); },
                                [owner](const QString& fa, const QString& fo, const QString& q) {
                                    owner->EditFa->setText(fa);
                                    owner->EditFo->setText(fo);
                                    owner->EditQ->setText(q);
                                }};
    presets_ = new PresetsPanel(*this, std::move(target), this);
    // The preview follows the main window's mode: HPF maps the frequencies reciprocally.
    connect(owner->RadioButtonLpf, &QRadioButton::toggled, presets_, &PresetsPanel::Update);
    optimise_ = new OptimisePanel(*this, *owner, this);
    connect(owner->RadioButtonLpf, &QRadioButton::toggled, optimise_, &OptimisePanel::InputChanged);
    tolerance_ = new TolerancePanel(*this, this);
    netlist_ = new NetlistPanel(*this, this);
    connect(response_, &ResponsePanel::OpAmpGbwChanged, netlist_, &NetlistPanel::SetOpAmpGbw);

    // What the shown results were calculated from: the mode, the request, the parts and their
    // series. The result boxes (fa, fo, Q of the circuit) are written by the calculation itself.
    connect(owner->RadioButtonLpf, &QRadioButton::toggled, this, &TFormAnalysis::InputChanged);
    for (QLineEdit* box : {owner->EditFa, owner->EditFo, owner->EditQ, owner->EditR1, owner->EditR2,
                           owner->EditR3, owner->EditC1, owner->EditC2, owner->EditC3}) {
        connect(box, &QLineEdit::textChanged, this, &TFormAnalysis::InputChanged);
    }
    for (QComboBox* series : {owner->ComboBoxR1, owner->ComboBoxR2, owner->ComboBoxR3,
                              owner->ComboBoxC1, owner->ComboBoxC2, owner->ComboBoxC3}) {
        connect(series, &QComboBox::currentIndexChanged, this, &TFormAnalysis::InputChanged);
    }
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
