#include "analysis/response/op_amp_panel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringList>

#include <cmath>

#include <mirelto/tools/opamp_table.h>
#include <mirelto/tools/signal_limits.h>
#include <mirelto/values/value_format.h>

#include "analysis/response/analysis_window_response.h"
#include "analysis/response/signal_warnings.h"
#include "desktop/value_text_qt.h"
#include "ui_analysis_window.h"

namespace mirelto {

namespace {

// The index of the parts box's entry for figures typed in; the table's parts follow it.
constexpr int kTypedFigures = 0;
// The most of the user's op-amp table read: far beyond any table of parts.
constexpr qint64 kMaxUserTableBytes = 1 << 20;

QLineEdit* ValueBox(const QString& name, const QString& placeholder) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setPlaceholderText(placeholder);
    return box;
}

// A positive value typed in the box; NaN when empty or not one.
double PositiveValue(const QLineEdit& box) {
    const double value = ParseText(box.text().trimmed());
    return std::isfinite(value) && value > 0 ? value : std::nan("");
}

// The index of the column's item holding `layout`, or the end.
int IndexOf(QBoxLayout& column, const QLayout* layout) {
    for (int i = 0; i < column.count(); ++i) {
        if (column.itemAt(i)->layout() == layout) {
            return i;
        }
    }
    return column.count();
}

}  // namespace

OpAmpPanel::OpAmpPanel(Ui::TFormAnalysis& form, ResponsePanel& response, QWidget& window)
    : QObject(&window),
      response_(response),
      parts_(new QComboBox),
      amplitude_(ValueBox(QStringLiteral("EditAmplitude"), tr("例: 2"))),
      supply_(ValueBox(QStringLiteral("EditSupply"), tr("例: 5"))),
      warnings_(new QLabel),
      margins_(new QLabel) {
    parts_->setObjectName(QStringLiteral("ComboOpAmp"));
    parts_->addItem(tr("GBW を入力"));
    table_.assign(BuiltInOpAmps().begin(), BuiltInOpAmps().end());
    LoadUserParts();
    for (const OpAmp& part : table_) {
        parts_->addItem(QString::fromStdString(part.name));
    }
    auto* partRow = new QHBoxLayout;
    auto* partLabel = new QLabel(tr("オペアンプ"));
    partLabel->setBuddy(parts_);
    partRow->addWidget(partLabel);
    partRow->addWidget(parts_, 1);

    auto* signalRow = new QHBoxLayout;
    auto* amplitudeLabel = new QLabel(tr("振幅"));
    amplitudeLabel->setBuddy(amplitude_);
    auto* supplyLabel = new QLabel(tr("電源 ±"));
    supplyLabel->setBuddy(supply_);
    amplitude_->setToolTip(tr("入力する正弦波の振幅 (ピーク値, V) (Amplitude)"));
    supply_->setToolTip(tr("電源電圧 (±V)。空欄では部品の値を使います (Supply)"));
    for (QWidget* widget : std::initializer_list<QWidget*>{
             amplitudeLabel, amplitude_, new QLabel(QStringLiteral("V")), supplyLabel, supply_,
             new QLabel(QStringLiteral("V"))}) {
        signalRow->addWidget(widget);
    }

    warnings_->setObjectName(QStringLiteral("LabelSignalWarnings"));
    warnings_->setWordWrap(true);
    warnings_->setStyleSheet(QStringLiteral("color: #b35900;"));
    QSizePolicy policy = warnings_->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    warnings_->setSizePolicy(policy);
    warnings_->hide();
    margins_->setObjectName(QStringLiteral("LabelSignalMargins"));
    margins_->setWordWrap(true);
    margins_->setSizePolicy(policy);
    margins_->hide();

    QBoxLayout& column = *form.SideColumn;
    const int at = IndexOf(column, form.GbwRow);
    column.insertLayout(at, partRow);
    column.insertLayout(at + 2, signalRow);
    column.insertWidget(at + 3, warnings_);
    column.insertWidget(at + 4, margins_);

    connect(parts_, &QComboBox::currentIndexChanged, this, &OpAmpPanel::PartChosen);
    connect(&response_, &ResponsePanel::OpAmpGbwChanged, this, &OpAmpPanel::GbwChanged);
    for (QLineEdit* box : {amplitude_, supply_}) {
        connect(box, &QLineEdit::editingFinished, this, [this] {
            ShowWarnings();
            emit Changed();
        });
    }
}

void OpAmpPanel::LoadUserParts() {
    // Where mirelto-cli reads the user's table: $XDG_CONFIG_HOME when absolute, else ~/.config.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.startsWith(QLatin1Char('/'))) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    QFile file(config + QStringLiteral("/mirelto/opamps.csv"));
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QByteArray text = file.read(kMaxUserTableBytes);
    const OpAmpTableRead read = ParseOpAmpTable(View(text));
    if (read.problem != OpAmpTableProblem::None) {
        tableProblem_ = tr("オペアンプ表 %1 の %2 行目を読めません。その前の行までを使います。")
                            .arg(QDir::toNativeSeparators(file.fileName()))
                            .arg(read.line);
    }
    // A user's part of a shipped part's name replaces it, as in mirelto-cli.
    for (const OpAmp& part : read.opAmps) {
        const OpAmp* same = FindOpAmp(table_, part.name);
        if (same) {
            table_[static_cast<std::size_t>(same - table_.data())] = part;
        } else {
            table_.push_back(part);
        }
    }
}

void OpAmpPanel::Follow(const AnalysisInput& input) {
    circuit_ = input.built;
    ShowWarnings();
}

OpAmp OpAmpPanel::Current() const {
    const int index = parts_->currentIndex();
    OpAmp opAmp = index > kTypedFigures ? table_[index - 1] : OpAmp::WithGbw(response_.OpAmpGbw());
    if (index == kTypedFigures && !(response_.OpAmpGbw() > 0)) {
        opAmp.gbw = std::nan("");
    }
    const double supply = PositiveValue(*supply_);
    if (IsGiven(supply)) {
        opAmp.supply = supply;
    }
    return opAmp;
}

double OpAmpPanel::Amplitude() const {
    return PositiveValue(*amplitude_);
}

bool OpAmpPanel::ChoosePart(const QString& name) {
    const int index = name.isEmpty() ? kTypedFigures : parts_->findText(name, Qt::MatchFixedString);
    if (index < kTypedFigures) {
        return false;
    }
    parts_->setCurrentIndex(index);
    return true;
}

void OpAmpPanel::SetSignalTexts(const QString& amplitude, const QString& supply) {
    amplitude_->setText(amplitude);
    supply_->setText(supply);
    ShowWarnings();
    emit Changed();
}

void OpAmpPanel::PartChosen(int index) {
    if (index > kTypedFigures) {
        const double gbw = table_[index - 1].gbw;
        // The response curves take the part's GBW through the box, as if typed there.
        response_.SetOpAmpGbwText(IsGiven(gbw) ? QString::fromStdString(FormatTyped(gbw))
                                               : QString());
    }
    PassExtras();
    ShowWarnings();
    emit Changed();
}

void OpAmpPanel::GbwChanged(double gbw) {
    const int index = parts_->currentIndex();
    if (index > kTypedFigures) {
        const double partGbw = table_[index - 1].gbw;
        // Another GBW typed: the figures are no longer the part's.
        if (!(std::fabs(gbw - partGbw) <= 1e-9 * partGbw)) {
            const QSignalBlocker blocker(parts_);
            parts_->setCurrentIndex(kTypedFigures);
            PassExtras();
        }
    }
    ShowWarnings();
    emit Changed();
}

void OpAmpPanel::PassExtras() {
    const int index = parts_->currentIndex();
    const OpAmp none;
    const OpAmp& part = index > kTypedFigures ? table_[index - 1] : none;
    const auto orZero = [](double figure) { return IsGiven(figure) ? figure : 0.0; };
    response_.SetOpAmpExtras(orZero(part.a0), orZero(part.outputResistance));
}

void OpAmpPanel::ShowWarnings() {
    const OpAmp opAmp = Current();
    const double amplitude = Amplitude();
    SignalLimits limits;
    if (circuit_) {
        SignalLimitsInput input;
        input.circuit = *circuit_;
        input.opAmp = opAmp;
        input.amplitude = IsGiven(amplitude) ? amplitude : 0;
        limits = SignalLimitsOf(input);
    } else if (!opAmp.unityGainStable) {
        // Said as soon as the part is chosen, before any calculation.
        limits.warnings.push_back(SignalWarning::NotUnityGainStable);
    }
    QString text = SignalWarningsText(limits, opAmp);
    if (!tableProblem_.isEmpty()) {
        text = tableProblem_ + (text.isEmpty() ? QString() : QStringLiteral("\n") + text);
    }
    if (circuit_ && IsGiven(amplitude) && !limits.missing.empty()) {
        QStringList names;
        for (const OpAmpFigure figure : limits.missing) {
            const std::string_view name = OpAmpFigureName(figure);
            names << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        }
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) +
                tr("振幅の限界を確かめるには、オペアンプの次の値が必要です: %1")
                    .arg(names.join(QStringLiteral(", ")));
    }
    warnings_->setText(text);
    warnings_->setVisible(!text.isEmpty());
    const QString margins =
        circuit_ && IsGiven(amplitude) ? SignalMarginsText(limits, opAmp) : QString();
    margins_->setText(margins);
    margins_->setVisible(!margins.isEmpty());
}

}  // namespace mirelto
