// The main window as the design source of the windows built on it: its boxes read and written as
// texts, the values applied through its own commands, and its changes announced.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <mirelto/design/design_state.h>

#include "calculator/main_window.h"

namespace mirelto {

std::array<QLineEdit*, kComponentCount> TFormMain::PartBoxes() const {
    return {EditR1, EditR2, EditR3, EditC1, EditC2, EditC3};
}

std::array<QComboBox*, kComponentCount> TFormMain::SeriesBoxes() const {
    return {ComboBoxR1, ComboBoxR2, ComboBoxR3, ComboBoxC1, ComboBoxC2, ComboBoxC3};
}

std::array<QLineEdit*, 3> TFormMain::PartBoxes(bool resistors) const {
    return resistors ? std::array{EditR1, EditR2, EditR3} : std::array{EditC1, EditC2, EditC3};
}

std::array<QComboBox*, 3> TFormMain::SeriesBoxes(bool resistors) const {
    return resistors ? std::array{ComboBoxR1, ComboBoxR2, ComboBoxR3}
                     : std::array{ComboBoxC1, ComboBoxC2, ComboBoxC3};
}

bool TFormMain::IsLpf() const {
    return RadioButtonLpf->isChecked();
}

DesignTexts TFormMain::Texts() const {
    DesignTexts design;
    design.isLpf = IsLpf();
    design.request = {EditFa->text(), EditFo->text(), EditQ->text()};
    design.result = {EditFar->text(), EditFor->text(), EditQr->text()};
    const auto parts = PartBoxes();
    const auto series = SeriesBoxes();
    for (std::size_t i = 0; i < kComponentCount; ++i) {
        design.parts[i] = parts[i]->text();
        design.series[i] = series[i]->currentText();
    }
    if (DesignState.ResultValid) {
        design.command =
            DesignState.ConstantMode ? ResultCommand::Constants : ResultCommand::TransferFunction;
    }
    return design;
}

void TFormMain::ShowTexts(const DesignTexts& design) {
    (design.isLpf ? RadioButtonLpf : RadioButtonHPF)->setChecked(true);
    // Also when the mode stays: printing and copying wait for the next calculation, as in a
    // fresh window.
    SetFilterMode(design.isLpf);
    DesignState.ResultValid = false;
    const std::array<QLineEdit*, 3> request{EditFa, EditFo, EditQ};
    const std::array<QLineEdit*, 3> result{EditFar, EditFor, EditQr};
    for (std::size_t i = 0; i < 3; ++i) {
        request[i]->setText(design.request[i]);
        result[i]->setText(design.result[i]);
    }
    const auto parts = PartBoxes();
    const auto series = SeriesBoxes();
    for (std::size_t i = 0; i < kComponentCount; ++i) {
        parts[i]->setText(design.parts[i]);
        series[i]->setCurrentText(design.series[i]);
    }
    if (design.command != ResultCommand::Unknown) {
        ShowSavedResult(design.command == ResultCommand::Constants);
    }
}

void TFormMain::ApplyRequest(const std::array<QString, 3>& request) {
    EditFa->setText(request[0]);
    EditFo->setText(request[1]);
    EditQ->setText(request[2]);
}

void TFormMain::ApplyParts(bool isLpf, const std::array<QString, kComponentCount>& parts) {
    // The values are a circuit of one form: the window computes in that form.
    if (IsLpf() != isLpf) {
        (isLpf ? RadioButtonLpf : RadioButtonHPF)->setChecked(true);
    }
    const auto boxes = PartBoxes();
    for (std::size_t i = 0; i < kComponentCount; ++i) {
        boxes[i]->setText(parts[i]);
    }
    // The button's own path: guarded, and the analysis follows the new calculation.
    ButtonTF->click();
}

void TFormMain::AnnounceChanges() {
    connect(RadioButtonLpf, &QRadioButton::toggled, this, &TFormMain::ModeChanged);
    for (QLineEdit* box : {EditFa, EditFo, EditQ}) {
        connect(box, &QLineEdit::textChanged, this, &TFormMain::InputEdited);
    }
    for (QLineEdit* box : PartBoxes()) {
        connect(box, &QLineEdit::textChanged, this, &TFormMain::InputEdited);
    }
    for (QComboBox* series : SeriesBoxes()) {
        connect(series, &QComboBox::currentIndexChanged, this, &TFormMain::InputEdited);
    }
}

QMetaObject::Connection TFormMain::OnModeChanged(QObject* context, std::function<void()> call) {
    return connect(this, &TFormMain::ModeChanged, context, std::move(call));
}

QMetaObject::Connection TFormMain::OnInputEdited(QObject* context, std::function<void()> call) {
    return connect(this, &TFormMain::InputEdited, context, std::move(call));
}

QMetaObject::Connection TFormMain::OnCalculated(QObject* context,
                                                std::function<void(const AnalysisInput&)> call) {
    return connect(this, &TFormMain::Calculated, context, std::move(call));
}

}  // namespace mirelto
