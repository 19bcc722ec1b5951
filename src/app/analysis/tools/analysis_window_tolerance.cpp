#include "analysis/tools/analysis_window_tolerance.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QTableWidget>

#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "analysis/shared/analysis_window_table.h"
#include "desktop/error_display.h"
#include "desktop/table_copy.h"
#include "ui_analysis_window.h"

namespace mirelto {

namespace {

constexpr int kSensitivityDecimals = 4;

// A value cell copies as `value`; a name cell (no value) as its text.
void SetCell(QTableWidget& table, int row, int column, const QString& text,
             std::optional<double> value = std::nullopt) {
    auto* item = new QTableWidgetItem(text);
    if (column > 0) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (value) {
        SetCopiedValue(*item, *value);
    }
    table.setItem(row, column, item);
}

void SetUpTable(QTableWidget& table, const QStringList& header, const QStringList& rows) {
    table.setColumnCount(static_cast<int>(header.size()));
    table.setHorizontalHeaderLabels(header);
    table.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 6);
    table.setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        SetCell(table, row, 0, rows[row]);
    }
}

void ClearValues(QTableWidget& table) {
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 1; column < table.columnCount(); ++column) {
            SetCell(table, row, column, {});
        }
    }
}

QString Sensitivity(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    const QString text = QString::number(value, 'f', kSensitivityDecimals);
    return value > 0 ? QLatin1Char('+') + text : text;
}

}  // namespace

std::array<QLineEdit*, kComponentCount> ToleranceBoxes(const Ui::TFormAnalysis& form) {
    return {form.EditTolR1, form.EditTolR2, form.EditTolR3,
            form.EditTolC1, form.EditTolC2, form.EditTolC3};
}

std::optional<double> ParseTolerancePercent(const QString& text) {
    const QByteArray utf8 = CoreText(text.trimmed());
    const PercentReading percent = ParsePercent(View(utf8));
    if (percent.problem != PercentProblem::None) {
        return std::nullopt;
    }
    return percent.fraction;
}

TolerancePanel::TolerancePanel(Ui::TFormAnalysis& form, QObject* parent)
    : QObject(parent),
      form_(form),
      controls_{form.ButtonToleranceRun, form.ButtonToleranceCancel, form.ProgressTolerance},
      histograms_(*form.HistogramArea, *form.HistogramGrid) {
    form_.ComboBoxDistribution->addItem(tr("一様"), static_cast<int>(Distribution::Uniform));
    form_.ComboBoxDistribution->addItem(tr("正規 (3σ = 許容差)"),
                                        static_cast<int>(Distribution::Normal));
    form_.SpinTrials->setValue(static_cast<int>(kDefaultTrials));
    form_.EditSeed->setText(QString::number(kDefaultSeed));
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        ToleranceBoxes(form_)[p]->setText(QString::number(
            (p < 3 ? kDefaultResistorTolerance : kDefaultCapacitorTolerance) * kMostPercent));
    }
    SetUpTable(*form_.TablePercentiles,
               {tr("項目"), tr("公称値"), QStringLiteral("1 %"), QStringLiteral("50 %"),
                QStringLiteral("99 %")},
               {QStringLiteral("fa [Hz]"), QStringLiteral("fo [Hz]"), QStringLiteral("Q"),
                QStringLiteral("−3 dB [Hz]")});
    QStringList partNames{tr("感度")};
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        partNames << QString::fromLatin1(ComponentName(p));
    }
    SetUpTable(*form_.TableSensitivity, partNames,
               {QStringLiteral("fa"), QStringLiteral("fo"), QStringLiteral("Q")});
    MakeTableCopyable(*form_.TablePercentiles);
    MakeTableCopyable(*form_.TableSensitivity);

    ConnectRunControls(run_, controls_);
    connect(form_.ButtonToleranceRun, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { Run(); }); });
    ShowStatus(*form_.LabelToleranceStatus, {}, false);
    ShowIdle();
}

void TolerancePanel::ShowIdle() {
    ShowRunning(controls_, false, circuit_.has_value());
}

void TolerancePanel::Follow(const AnalysisInput& input) {
    const bool wasRunning = run_.IsRunning();
    // The figures must describe the circuit shown: a run of the one before is of no use.
    run_.Stop();
    circuit_ = input.built;
    form_.LabelToleranceHint->hide();
    QStringList parts;
    const ComponentValues values = ComponentsOf(input.built);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        parts << QStringLiteral("%1 = %2").arg(QString::fromLatin1(ComponentName(p)),
                                               SignificantText(values[p]));
    }
    form_.LabelToleranceCircuit->setText(
        tr("%1 回路: ").arg(input.built.isLpf ? QStringLiteral("LPF") : QStringLiteral("HPF")) +
        parts.join(QStringLiteral("  ")));
    ClearResult();
    ShowSensitivities(SensitivitiesOf(input.built));
    ShowStatus(*form_.LabelToleranceStatus,
               wasRunning ? tr("回路が変わったため、実行中の解析を中止しました。") : QString(),
               false);
    ShowIdle();
}

std::optional<ToleranceInput> TolerancePanel::ReadInput(QString& problem) const {
    if (!circuit_) {
        problem = tr("先に「定数計算」または「伝達関数」を実行してください。");
        return std::nullopt;
    }
    ToleranceInput input;
    input.nominal = *circuit_;
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        const QString text = ToleranceBoxes(form_)[p]->text();
        const std::optional<double> tolerance = ParseTolerancePercent(text);
        if (!tolerance) {
            problem = tr("%1 の許容差「%2」は 0 以上 100 未満の % で入力してください。")
                          .arg(QString::fromLatin1(ComponentName(p)), QuotedInput(text));
            return std::nullopt;
        }
        input.tolerance[p] = *tolerance;
    }
    input.distribution =
        static_cast<Distribution>(form_.ComboBoxDistribution->currentData().toInt());
    input.trials = form_.SpinTrials->value();
    bool ok = false;
    input.seed = form_.EditSeed->text().trimmed().toULongLong(&ok, 10);
    if (!ok) {
        problem = tr("シード「%1」は 0 から 18446744073709551615 までの整数で入力"
                     "してください。")
                      .arg(QuotedInput(form_.EditSeed->text()));
        return std::nullopt;
    }
    return input;
}

void TolerancePanel::Run() {
    QString problem;
    const std::optional<ToleranceInput> input = ReadInput(problem);
    ClearResult();
    if (!input) {
        ShowStatus(*form_.LabelToleranceStatus, problem, true);
        return;
    }
    ShowStatus(*form_.LabelToleranceStatus, tr("解析しています…"), false);
    ShowRunning(controls_, true);
    run_.Start(
        [this, input = *input](const RunControl& control) {
            auto result = std::make_shared<ToleranceResult>(AnalyseTolerance(input, control));
            return BackgroundRun::Continuation([this, result] { ShowResult(*result); });
        },
        [this](const QString& text) {
            ShowIdle();
            ShowStatus(*form_.LabelToleranceStatus, text, true);
        });
}

void TolerancePanel::ClearResult() {
    result_.reset();
    ClearValues(*form_.TablePercentiles);
    histograms_.Clear();
}

void TolerancePanel::ShowSensitivities(const Sensitivities& sensitivity) {
    const ComponentValues* rows[] = {&sensitivity.fa, &sensitivity.fo, &sensitivity.q};
    for (int row = 0; row < 3; ++row) {
        for (std::size_t p = 0; p < kComponentCount; ++p) {
            SetCell(*form_.TableSensitivity, row, static_cast<int>(p) + 1,
                    Sensitivity((*rows[row])[p]), (*rows[row])[p]);
        }
    }
}

void TolerancePanel::ShowResult(const ToleranceResult& result) {
    ShowIdle();
    QLabel& status = *form_.LabelToleranceStatus;
    if (result.status == RunStatus::Cancelled) {
        ShowStatus(status, tr("キャンセルしました (%1 回で中止)").arg(result.trials), false);
        return;
    }
    if (result.status != RunStatus::Done) {
        ShowStatus(status, ProblemText(result.problem), true);
        return;
    }
    result_ = result;
    const Spread* spreads[] = {&result.fa, &result.fo, &result.q, &result.cutoff};
    for (int row = 0; row < 4; ++row) {
        const Spread& s = *spreads[row];
        const double values[] = {s.nominal, s.p1, s.p50, s.p99};
        for (int column = 0; column < 4; ++column) {
            SetCell(*form_.TablePercentiles, row, column + 1, SignificantText(values[column]),
                    values[column]);
        }
    }
    histograms_.Show(result);
    QString text = tr("%1 回の試行 (シード %2)。").arg(result.trials).arg(result.seed);
    const std::int64_t undefined = result.trials - result.q.count;
    if (undefined > 0) {
        text += tr(" fa, fo, Q を持たない回路 %1 回は統計から除きました。").arg(undefined);
    }
    ShowStatus(status, text, false);
}

}  // namespace mirelto
