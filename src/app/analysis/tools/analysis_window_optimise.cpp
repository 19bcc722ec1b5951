#include "analysis/tools/analysis_window_optimise.h"

#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTableWidget>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <string_view>

#include <mirelto/numeric/fault.h>
#include <mirelto/values/eseries.h>
#include <mirelto/values/value_format.h>
#include <mirelto/values/value_text.h>

#include "analysis/shared/analysis_window_table.h"
#include "desktop/error_display.h"
#include "desktop/language.h"
#include "desktop/table_copy.h"
#include "desktop/value_text_qt.h"
#include "ui_analysis_window.h"

namespace mirelto {

namespace {

constexpr int kPercentDecimals = 3;
constexpr int kDbDecimals = 3;
constexpr int kDefaultStepsIndex = 1;  // ±2

QStringList Header() {
    QStringList header{OptimisePanel::tr("順位")};
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        header << QString::fromLatin1(ComponentName(p));
    }
    header << QStringLiteral("fa [Hz]") << QStringLiteral("fo [Hz]") << QStringLiteral("Q")
           << OptimisePanel::tr("fa 誤差 [%]") << OptimisePanel::tr("fo 誤差 [%]")
           << OptimisePanel::tr("Q 誤差 [%]") << OptimisePanel::tr("最大誤差 [%]")
           << OptimisePanel::tr("f(−3dB) [Hz]") << OptimisePanel::tr("f(−3dB) 誤差 [%]")
           << OptimisePanel::tr("応答偏差 [dB]");
    return header;
}

// A relative error in per cent; signed, so that it reads as a direction.
QString Percent(double fraction, bool sign) {
    if (!std::isfinite(fraction)) {
        return {};
    }
    const QString text = QString::number(fraction * 100, 'f', kPercentDecimals);
    return sign && fraction > 0 ? QLatin1Char('+') + text : text;
}

QString SeriesName(std::int32_t series) {
    return series == 0 ? OptimisePanel::tr("固定") : QStringLiteral("E%1").arg(series);
}

// As 定数計算 reads the selector: a negative size rounds as its magnitude. The one size whose
// magnitude has no 32-bit form, 2^31, takes its neighbour: both space the values 1e-9 apart.
std::int32_t SelectorSeries(const QString& selector) {
    const QByteArray text = CoreText(selector);
    const std::int32_t series = ParseSeries(View(text));
    if (series == std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return series < 0 ? -series : series;
}

// The search's refusals in the window's words.
QString RefusalText(const OptimiseResult& result) {
    return OptimisePanel::tr("この条件では探索できません (%1)。").arg(ProblemText(result.problem));
}

// The main window's words for where its constant calculation would stop; a fault in its own
// words.
QString IdealProblemText(const IdealDesign& ideal, bool isLpf) {
    if (ideal.stop == ConstantStop::Fault) {
        return QString::fromLatin1(FaultText(ideal.fault));
    }
    return MessageTextOf(*StopMessage(ideal.stop, isLpf))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .trimmed();
}

QString PartsText(const Circuit& circuit) {
    QStringList parts;
    const ComponentValues values = ComponentsOf(circuit);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        parts << QStringLiteral("%1 = %2").arg(QString::fromLatin1(ComponentName(p)),
                                               SignificantText(values[p]));
    }
    return parts.join(QStringLiteral("  "));
}

// One row of the table: `c` at `row`, in the ranking when `listed`; the circuit of plain rounding
// otherwise, ranked `plainRank` (0 when it has no fa, fo and Q), in bold like a listed one.
void ShowCandidate(QTableWidget& table, int row, const Candidate& c, bool listed,
                   std::int64_t plainRank) {
    QString rank = listed ? QString::number(row + 1)
                          : (plainRank > 0 ? QString::number(plainRank) : QStringLiteral("—"));
    if (c.plainRounding || !listed) {
        rank += OptimisePanel::tr(" (丸め)");
    }
    QStringList cells{rank};
    QList<double> values{std::nan("")};
    for (const double v : ComponentsOf(c.circuit)) {
        cells << SignificantText(v);
        values << v;
    }
    const double worst = listed || plainRank > 0 ? c.worstError : NAN;
    values << c.built.fa << c.built.fo << c.built.q << c.error.fa * 100 << c.error.fo * 100
           << c.error.q * 100 << worst * 100 << c.cutoff << c.cutoffError * 100 << c.responseDb;
    cells << SignificantText(c.built.fa) << SignificantText(c.built.fo)
          << SignificantText(c.built.q) << Percent(c.error.fa, true) << Percent(c.error.fo, true)
          << Percent(c.error.q, true) << Percent(worst, false) << SignificantText(c.cutoff)
          << Percent(c.cutoffError, true)
          << (std::isfinite(c.responseDb) ? QString::number(c.responseDb, 'f', kDbDecimals)
                                          : QString());
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (column > 0) {
            SetCopiedValue(*item, values.value(column, std::nan("")));
        }
        if (c.plainRounding || !listed) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
            item->setToolTip(OptimisePanel::tr("定数計算で各部品を系列に丸めた回路"));
        }
        table.setItem(row, column, item);
    }
}

}  // namespace

QString PartValueText(double value) {
    return QString::fromStdString(FormatTyped(value));
}

const std::vector<std::int32_t>& GivenSeriesChoices() {
    static const std::vector<std::int32_t> choices{0, 6, 12, 24, 48, 96, 192};
    return choices;
}

OptimisePanel::OptimisePanel(Ui::TFormAnalysis& form, DesignSource& source, QObject* parent)
    : QObject(parent),
      form_(form),
      source_(source),
      controls_{form.ButtonOptimiseRun, form.ButtonOptimiseCancel, form.ProgressOptimise},
      search_([](const OptimiseInput& input, const RunControl& control) {
          return OptimiseValues(input, control);
      }) {
    for (const std::int32_t series : GivenSeriesChoices()) {
        form_.ComboBoxGivenSeries->addItem(SeriesName(series), series);
    }
    for (int steps = 1; steps <= kMaxSteps; ++steps) {
        form_.ComboBoxSteps->addItem(QStringLiteral("±%1").arg(steps), steps);
    }
    form_.ComboBoxSteps->setCurrentIndex(kDefaultStepsIndex);
    form_.ComboBoxRanking->addItem(tr("fa, fo, Q の最大誤差"), int(Ranking::Poles));
    form_.ComboBoxRanking->addItem(tr("−3 dB 周波数の誤差"), int(Ranking::Cutoff));
    form_.ComboBoxRanking->addItem(tr("振幅特性の偏差"), int(Ranking::Response));

    QTableWidget& table = *form_.TableOptimise;
    const QStringList header = Header();
    table.setColumnCount(static_cast<int>(header.size()));
    table.setHorizontalHeaderLabels(header);
    table.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 6);
    // The parts copy in ohms and farads: the unit goes into the copied header.
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        table.horizontalHeaderItem(static_cast<int>(p) + 1)
            ->setData(kCopiedTextRole, QStringLiteral("%1 [%2]").arg(
                                           header[static_cast<int>(p) + 1],
                                           p < 3 ? QStringLiteral("Ω") : QStringLiteral("F")));
    }
    MakeTableCopyable(table);

    ConnectRunControls(run_, controls_);
    connect(form_.ButtonOptimiseRun, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { Run(); }); });
    connect(form_.ButtonApplyOptimised, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { Apply(); }); });
    connect(table.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { SelectionChanged(); });
    connect(&table, &QTableWidget::cellDoubleClicked, this,
            [this] { RunGuarded([this] { Apply(); }); });
    ShowStatus(*form_.LabelOptimiseStatus, {}, false);
    SelectionChanged();
}

void OptimisePanel::CalculationMade() {
    form_.LabelOptimiseHint->hide();
    InputChanged();
}

void OptimisePanel::InputChanged() {
    if (applying_) {
        return;
    }
    if (run_.IsRunning()) {
        // Its candidates would be those of a design no longer on the main window.
        run_.Stop();
        ShowRunning(controls_, false);
        ShowStatus(*form_.LabelOptimiseStatus,
                   tr("メインウィンドウの計算またはモードが変わったため、実行中の"
                      "探索を中止しました。"),
                   false);
    } else if (!rows_.empty() && !stale_) {
        ShowStatus(*form_.LabelOptimiseStatus,
                   tr("この表は、メインウィンドウの計算またはモードが変わる前の"
                      "入力 (%1) による結果です。")
                       .arg(input_.ideal.isLpf ? QStringLiteral("LPF") : QStringLiteral("HPF")),
                   false);
    }
    stale_ = true;
}

std::optional<OptimiseInput> OptimisePanel::ReadInput(QString& problem) const {
    const ConstantRequest request = source_.CurrentRequest();
    const bool isLpf = request.isLpf;
    const IdealDesign ideal = DesignIdeal(request);
    if (!ideal.realisable) {
        problem = IdealProblemText(ideal, isLpf);
        return std::nullopt;
    }
    const std::array<QString, kComponentCount> selectors = source_.Texts().series;
    OptimiseInput input;
    input.requested = request.request;
    input.ideal = ideal.circuit;
    input.steps = form_.ComboBoxSteps->currentData().toInt();
    input.ranking = static_cast<Ranking>(form_.ComboBoxRanking->currentData().toInt());
    const auto givenSeries = form_.ComboBoxGivenSeries->currentData().toInt();
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        input.series[p] = IsGivenComponent(p, isLpf) ? givenSeries : SelectorSeries(selectors[p]);
    }
    return input;
}

void OptimisePanel::Run() {
    QString problem;
    const std::optional<OptimiseInput> input = ReadInput(problem);
    rows_.clear();
    form_.TableOptimise->setRowCount(0);
    SelectionChanged();
    if (!input) {
        form_.LabelOptimiseIdeal->clear();
        ShowStatus(*form_.LabelOptimiseStatus, problem, true);
        return;
    }
    input_ = *input;
    stale_ = false;
    form_.LabelOptimiseIdeal->setText(tr("理想値: ") + PartsText(input_.ideal));
    ShowStatus(*form_.LabelOptimiseStatus, tr("探索しています…"), false);
    ShowRunning(controls_, true);
    run_.Start(
        [this, search = search_, input = *input](const RunControl& control) {
            auto result = std::make_shared<OptimiseResult>(search(input, control));
            return BackgroundRun::Continuation([this, result] { ShowResult(*result); });
        },
        [this](const QString& text) {
            ShowRunning(controls_, false);
            ShowStatus(*form_.LabelOptimiseStatus, text, true);
        });
}

void OptimisePanel::ShowResult(const OptimiseResult& result) {
    ShowRunning(controls_, false);
    QLabel& status = *form_.LabelOptimiseStatus;
    if (result.status == RunStatus::Cancelled) {
        ShowStatus(status,
                   tr("キャンセルしました (%1 / %2 通りを評価)")
                       .arg(result.evaluated)
                       .arg(result.combinations),
                   false);
        return;
    }
    if (result.status != RunStatus::Done) {
        ShowStatus(status, RefusalText(result), true);
        return;
    }
    rows_ = result.best;
    const bool plainListed =
        std::any_of(rows_.begin(), rows_.end(), [](const Candidate& c) { return c.plainRounding; });
    if (!plainListed) {
        rows_.push_back(result.plain);
    }
    QTableWidget& table = *form_.TableOptimise;
    table.setRowCount(static_cast<int>(rows_.size()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const bool listed = static_cast<std::size_t>(row) < result.best.size();
        ShowCandidate(table, row, rows_[static_cast<std::size_t>(row)], listed, result.plainRank);
    }
    SelectionChanged();
    QString text = tr("%1 通りを評価しました。").arg(result.combinations);
    if (result.unrealisable > 0) {
        text += tr(" fa, fo, Q を持たない %1 通りは除外しました。").arg(result.unrealisable);
    }
    // By the ranking the search ran with, which the combo may no longer show.
    const QComboBox& rankings = *form_.ComboBoxRanking;
    const QString ranking = rankings.itemText(rankings.findData(int(input_.ranking)));
    text += result.plainRank > 0 ? tr(" 定数計算の丸めによる回路は「%1」で %2 位です。")
                                       .arg(ranking)
                                       .arg(result.plainRank)
                                 : tr(" 定数計算の丸めによる回路は fa, fo, Q を持ちません。");
    ShowStatus(status, text, false);
}

void OptimisePanel::SelectionChanged() {
    // Rows may be selected together for copying; one circuit is applied at a time.
    form_.ButtonApplyOptimised->setEnabled(
        form_.TableOptimise->selectionModel()->selectedRows().size() == 1 && !rows_.empty());
}

void OptimisePanel::Apply() {
    const QModelIndexList selected = form_.TableOptimise->selectionModel()->selectedRows();
    if (selected.size() != 1) {
        return;
    }
    const auto row = static_cast<std::size_t>(selected.first().row());
    if (row >= rows_.size()) {
        return;
    }
    const Circuit& circuit = rows_[row].circuit;
    // The table still answers the request it was searched for: what follows changes the main
    // window on its behalf.
    applying_ = true;
    std::array<QString, kComponentCount> texts;
    const ComponentValues values = ComponentsOf(circuit);
    for (std::size_t p = 0; p < kComponentCount; ++p) {
        texts[p] = PartValueText(values[p]);
    }
    source_.ApplyParts(circuit.isLpf, texts);
    applying_ = false;
}

}  // namespace mirelto
