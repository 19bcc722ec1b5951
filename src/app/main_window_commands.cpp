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

#include "main_window.h"
#include "message_box.h"

namespace mirelto {

namespace {

constexpr int kShownWidth = 8;
constexpr int kShownDecimals = 3;

double ParseBox(const QLineEdit* box) {
    const QByteArray text = box->text().toUtf8();
    return ParseValue(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

std::int32_t ParseSelector(const QComboBox* selector) {
    const QByteArray text = selector->currentText().toUtf8();
    return ParseSeries(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

QString Shown(double value) {
    return QString::fromStdString(FormatSI(value, kShownWidth, kShownDecimals));
}

// A part of zero or less makes no filter: the arithmetic would fault on a zero and turn a
// negative part into negative frequencies or advice that cannot be followed, so such a circuit
// is refused (MessageId::PartsNotPositive) before any of it runs.
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

// The three given components of one mode: their boxes, their fields in the design record, the
// selectors of the computed ones, and the warning for a missing first value.
struct TFormMain::GivenParts {
    QLineEdit* boxes[3];
    double* values[3];
    QComboBox* selectors[3];
    MessageId missingFirst;
};

void TFormMain::ButtonCalcClick() {
    const OutputDisabledOnFault guard(ButtonPrint, ButtonCopy);
    DesignRecord& st = DesignState;
    st.ResultValid = false;
    st.ConstantMode = true;
    st.Fa = ParseBox(EditFa);
    st.Fo = ParseBox(EditFo);
    st.Q = ParseBox(EditQ);
    if (std::isnan(st.Fa)) {
        Tell(MessageId::FaMissing);
    } else if (std::isnan(st.Fo)) {
        Tell(MessageId::FoMissing);
    } else if (std::isnan(st.Q)) {
        Tell(MessageId::QMissing);
    } else if (st.Fa <= 0 || st.Fo <= 0 || st.Q <= 0) {
        Tell(MessageId::RequestNotPositive);
    } else {
        st.IsLpf = RadioButtonLpf->isChecked();
        if (st.IsLpf) {
            CalcLpf();
        } else {
            CalcHpf();
        }
    }
    SetOutputEnabled(st.ResultValid);
    if (st.ResultValid) {
        NotifyAnalysis();
    }
}

void TFormMain::CalcLpf() {
    DesignRecord& st = DesignState;
    CalcFromGiven({{EditR1, EditR2, EditR3},
                   {&st.R1, &st.R2, &st.R3},
                   {ComboBoxC1, ComboBoxC2, ComboBoxC3},
                   MessageId::R1Missing});
}

void TFormMain::CalcHpf() {
    DesignRecord& st = DesignState;
    CalcFromGiven({{EditC1, EditC2, EditC3},
                   {&st.C1, &st.C2, &st.C3},
                   {ComboBoxR1, ComboBoxR2, ComboBoxR3},
                   MessageId::C1Missing});
}

void TFormMain::CalcFromGiven(const GivenParts& parts) {
    DesignRecord& st = DesignState;
    ClearResults();
    *parts.values[0] = ParseBox(parts.boxes[0]);
    if (std::isnan(*parts.values[0])) {
        Tell(parts.missingFirst);
        return;
    }
    *parts.values[1] = ParseBox(parts.boxes[1]);
    *parts.values[2] = ParseBox(parts.boxes[2]);
    // A blank box takes the value and the text of the one before it.
    for (int i = 1; i < 3; ++i) {
        if (std::isnan(*parts.values[i])) {
            *parts.values[i] = *parts.values[i - 1];
            parts.boxes[i]->setText(parts.boxes[i - 1]->text());
        }
    }
    if (AnyNonPositive({*parts.values[0], *parts.values[1], *parts.values[2]})) {
        Tell(MessageId::PartsNotPositive);
        return;
    }
    st.Series1 = ParseSelector(parts.selectors[0]);
    st.Series2 = ParseSelector(parts.selectors[1]);
    st.Series3 = ParseSelector(parts.selectors[2]);
    st.ResultValid = true;
    SynthesizeFilter(st.Fa, st.Fo, st.Q, st.Series1, st.Series2, st.Series3, st.IsLpf);
    if (st.ResultValid) {
        ShowResults();
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
    if (DesignState.IsLpf) {
        for (QLineEdit* box : {EditC1, EditC2, EditC3}) {
            box->clear();
        }
    } else {
        for (QLineEdit* box : {EditR1, EditR2, EditR3}) {
            box->clear();
        }
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

void TFormMain::ButtonClrClick() {
    for (QLineEdit* box : {EditFa, EditFo, EditQ, EditR1, EditR2, EditR3, EditFar, EditFor, EditQr,
                           EditC1, EditC2, EditC3}) {
        box->clear();
    }
}

}  // namespace mirelto
