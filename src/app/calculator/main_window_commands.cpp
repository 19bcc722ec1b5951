// The calculation commands of the main window: constant calculation, transfer-function
// calculation and clearing, with the showing and clearing of results.
#include <QByteArray>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <exception>
#include <initializer_list>
#include <string_view>

#include <mirelto/core.h>

#include "calculator/main_window.h"
#include "desktop/message_box.h"
#include "desktop/value_text_qt.h"

namespace mirelto {

namespace {

double ParseBox(const QLineEdit* box) {
    return ParseText(box->text());
}

std::int32_t ParseSelector(const QComboBox* selector) {
    const QByteArray text = CoreText(selector->currentText());
    return ParseSeries(View(text));
}

QString Shown(double value) {
    return QString::fromStdString(FormatShown(value));
}

bool AnyNonPositive(std::initializer_list<double> parts) {
    return std::any_of(parts.begin(), parts.end(), [](double v) { return !(v > 0); });
}

// A calculation that ends in a fault leaves printing and copying disabled: the result boxes are
// empty then, and a report of the failed request must not pass for a result.
class OutputDisabledOnFault {
  public:
    explicit OutputDisabledOnFault(QPushButton* print, QPushButton* copy)
        : print_(print), copy_(copy), exceptions_(std::uncaught_exceptions()) {}
    ~OutputDisabledOnFault() {
        if (std::uncaught_exceptions() > exceptions_) {
            print_->setEnabled(false);
            copy_->setEnabled(false);
        }
    }
    OutputDisabledOnFault(const OutputDisabledOnFault&) = delete;
    OutputDisabledOnFault& operator=(const OutputDisabledOnFault&) = delete;

  private:
    QPushButton* print_;
    QPushButton* copy_;
    int exceptions_;
};

}  // namespace

ConstantRequest TFormMain::CurrentRequest() const {
    ConstantRequest r;
    r.request = {ParseBox(EditFa), ParseBox(EditFo), ParseBox(EditQ)};
    r.isLpf = RadioButtonLpf->isChecked();
    // The given parts are the resistors in LPF; the series are those of the computed parts.
    const auto given = PartBoxes(r.isLpf);
    const auto series = SeriesBoxes(!r.isLpf);
    for (std::size_t i = 0; i < 3; ++i) {
        r.given[i] = ParseBox(given[i]);
        r.givenTexts[i] = given[i]->text().toStdString();
        r.series[i] = ParseSelector(series[i]);
    }
    return r;
}

void TFormMain::ButtonCalcClick() {
    const OutputDisabledOnFault guard(ButtonPrint, ButtonCopy);
    // A new request replaces the kept one; one that fails leaves none to compare with, rather
    // than an older request the user has since moved away from.
    keptRequest_.reset();
    const ConstantRequest request = CurrentRequest();
    const ConstantOutcome outcome = CalculateConstants(DesignState, request);
    DesignRecord& st = DesignState;
    st = outcome.record;
    if (outcome.partsRead) {
        ClearResults();
        const auto given = PartBoxes(st.IsLpf);
        for (std::size_t i = 0; i < 3; ++i) {
            // The box's own text, so that it is copied as it stands, character for character.
            if (outcome.filled[i]) {
                given[i]->setText(given[i - 1]->text());
            }
        }
    }
    switch (outcome.stop) {
        case ConstantStop::Done:
            ShowResults();
            break;
        case ConstantStop::Fault:
            // Abandons the command here, as the arithmetic would have: nothing after it runs.
            throw FloatingPointFault(outcome.fault);
        default:
            Tell(*StopMessage(outcome.stop, st.IsLpf));
            break;
    }
    SetOutputEnabled(st.ResultValid);
    if (st.ResultValid) {
        NotifyAnalysis();
    }
}

void TFormMain::ShowResults() {
    const DesignRecord& st = DesignState;
    EditFar->setText(Shown(st.FaResult));
    EditFor->setText(Shown(st.FoResult));
    EditQr->setText(Shown(st.QResult));
    if (st.IsLpf) {
        EditC1->setText(Shown(st.ResC1));
        EditC2->setText(Shown(st.ResC2));
        EditC3->setText(Shown(st.ResC3));
    } else {
        EditR1->setText(Shown(st.ResR1));
        EditR2->setText(Shown(st.ResR2));
        EditR3->setText(Shown(st.ResR3));
    }
}

void TFormMain::ClearResults() {
    for (QLineEdit* box : {EditFar, EditFor, EditQr}) {
        box->clear();
    }
    // The computed parts: C1..C3 in LPF, R1..R3 in HPF.
    for (QLineEdit* box : PartBoxes(!DesignState.IsLpf)) {
        box->clear();
    }
}

void TFormMain::ButtonTFClick() {
    const OutputDisabledOnFault guard(ButtonPrint, ButtonCopy);
    DesignRecord& st = DesignState;
    st.ResultValid = false;
    st.ConstantMode = false;
    for (QLineEdit* box : {EditFar, EditFor, EditQr}) {
        box->clear();
    }
    st.R1 = ParseBox(EditR1);
    st.R2 = ParseBox(EditR2);
    st.R3 = ParseBox(EditR3);
    st.C1 = ParseBox(EditC1);
    st.C2 = ParseBox(EditC2);
    st.C3 = ParseBox(EditC3);
    const double parts[] = {st.R1, st.R2, st.R3, st.C1, st.C2, st.C3};
    if (std::any_of(std::begin(parts), std::end(parts), [](double v) { return std::isnan(v); })) {
        Tell(MessageId::PartsMissing);
    } else if (AnyNonPositive({st.R1, st.R2, st.R3, st.C1, st.C2, st.C3})) {
        Tell(MessageId::PartsNotPositive);
    } else {
        AnalyzeTransfer(st.R1, st.R2, st.R3, st.C1, st.C2, st.C3);
        EditFar->setText(Shown(st.FaResult));
        EditFor->setText(Shown(st.FoResult));
        EditQr->setText(Shown(st.QResult));
        st.ResultValid = true;
    }
    SetOutputEnabled(st.ResultValid);
    if (st.ResultValid) {
        NotifyAnalysis();
    }
}

void TFormMain::ShowSavedResult(bool byConstants) {
    keptRequest_.reset();
    ButtonTFClick();
    DesignRecord& st = DesignState;
    if (!byConstants || !st.ResultValid) {
        return;
    }
    const PoleSet request = CurrentRequest().request;
    st.Fa = request.fa;
    st.Fo = request.fo;
    st.Q = request.q;
    st.ResR1 = st.R1;
    st.ResR2 = st.R2;
    st.ResR3 = st.R3;
    st.ResC1 = st.C1;
    st.ResC2 = st.C2;
    st.ResC3 = st.C3;
    st.ConstantMode = true;
    NotifyAnalysis();
}

void TFormMain::ButtonClrClick() {
    for (QLineEdit* box : {EditFa, EditFo, EditQ, EditR1, EditR2, EditR3, EditFar, EditFor, EditQr,
                           EditC1, EditC2, EditC3}) {
        box->clear();
    }
}

}  // namespace mirelto
