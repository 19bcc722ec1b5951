// The analysis window's tools: the best standard values searched off the user-interface thread
// and applied to the main window, cancelled by the user, by closing the window and by destroying
// the main window; the tolerance analysis with its percentiles, histograms and sensitivities;
// and the SPICE netlist of the result circuit.
#include <QAction>
#include <QAreaSeries>
#include <QChart>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <numeric>
#include <thread>

#include <mirelto/design/filter.h>
#include <mirelto/tools/netlist.h>
#include <mirelto/values/eseries.h>
#include <mirelto/values/value_format.h>
#include <mirelto/values/value_text.h>

#include "analysis/analysis_window.h"
#include "analysis/response/analysis_window_response.h"
#include "analysis/shared/analysis_window_table.h"
#include "analysis/tools/analysis_window_netlist.h"
#include "analysis/tools/analysis_window_optimise.h"
#include "analysis/tools/analysis_window_tolerance.h"
#include "app_test_support.h"
#include "calculator/main_window.h"
#include "desktop/table_copy.h"

using namespace Qt::StringLiterals;

using mirelto::OptimiseInput;
using mirelto::OptimiseResult;
using mirelto::RunControl;
using mirelto::TFormAnalysis;
using mirelto::TFormMain;
using mirelto::ToleranceHistograms;

namespace {

// What a held search went through, shared with its worker thread.
struct Gate {
    std::atomic<bool> entered{false};
    std::atomic<bool> left{false};
};

// A search that reports a quarter done, then holds until it is cancelled (ten seconds at most),
// then runs the real search, which sees the cancellation, and reports once more: a post to a
// receiver that may be going away.
mirelto::OptimisePanel::Search HeldSearch(std::shared_ptr<Gate> gate) {
    return [gate](const OptimiseInput& input, const RunControl& control) {
        gate->entered = true;
        control.progress(1, 4);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!control.cancel->load() && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        OptimiseResult result = mirelto::OptimiseValues(input, control);
        control.progress(4, 4);
        gate->left = true;
        return result;
    };
}

double Parse(const QString& text) {
    return mirelto::ParseValue(text.toStdString());
}

QString Shown(double value) {
    return QString::fromStdString(mirelto::FormatSI(value, 8, 3));
}

QStringList RowTexts(const QTableWidget& table, int row) {
    QStringList texts;
    for (int column = 0; column < table.columnCount(); ++column) {
        const QTableWidgetItem* item = table.item(row, column);
        texts << (item ? item->text() : QString());
    }
    return texts;
}

// The digits of a number's text without the zeros before and after them: "470" and "0.47" both
// give "47".
QString SignificantDigits(const QString& text) {
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit() && !(digits.isEmpty() && c == u'0')) {
            digits += c;
        }
    }
    while (digits.endsWith(u'0')) {
        digits.chop(1);
    }
    return digits;
}

QList<QStringList> TableTexts(const QTableWidget& table) {
    QList<QStringList> rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        rows << RowTexts(table, row);
    }
    return rows;
}

}  // namespace

class TestAnalysisTools : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;

    TFormAnalysis* Open() { return mirelto::test::OpenAnalysis(*form_); }
    // 定数計算 of the default request, with the analysis window open on `tab`.
    TFormAnalysis* Calculated(QWidget* TFormAnalysis::*tab) {
        TFormAnalysis* window = Open();
        window->TabAnalysis->setCurrentWidget(window->*tab);
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        return window;
    }
    mirelto::Circuit Built() const {
        return mirelto::AnalysisInputFrom(mirelto::DesignState)->built;
    }
    // Runs a search to its end.
    bool Search(TFormAnalysis& window) {
        QTest::mouseClick(window.ButtonOptimiseRun, Qt::LeftButton);
        return QTest::qWaitFor([&] { return !window.OptimiseTab().IsRunning(); }, 20000);
    }
    bool Tolerance(TFormAnalysis& window) {
        QTest::mouseClick(window.ButtonToleranceRun, Qt::LeftButton);
        return QTest::qWaitFor([&] { return !window.ToleranceTab().IsRunning(); }, 20000);
    }

  private slots:
    void init() { QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_)); }
    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // Window opened before any calculation; each tool tab has its one-line hint and no result;
    // after 定数計算 the hints give way.
    void hintsBeforeCalculation() {
        TFormAnalysis* window = Open();
        for (QLabel* hint :
             {window->LabelOptimiseHint, window->LabelToleranceHint, window->LabelNetlistHint}) {
            QVERIFY(!hint->text().isEmpty());
            QVERIFY(!hint->isHidden());
        }
        QVERIFY(!window->ButtonToleranceRun->isEnabled());
        QVERIFY(!window->ButtonCopyNetlist->isEnabled());
        QVERIFY(window->ProgressOptimise->isHidden());
        QCOMPARE(window->EditNetlist->toPlainText(), QString());
        QCOMPARE(window->ComboBoxGivenSeries->currentText(), u"固定"_s);
        QCOMPARE(window->ComboBoxSteps->currentText(), u"±2"_s);
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        for (QLabel* hint :
             {window->LabelOptimiseHint, window->LabelToleranceHint, window->LabelNetlistHint}) {
            QVERIFY(hint->isHidden());
        }
        QVERIFY(window->ButtonToleranceRun->isEnabled());
    }

    // Default LPF calculated, given parts fixed, ±2; 実行; the search gets the main window's
    // request, series and ideal circuit; rows ranked, the first no worse than plain rounding,
    // which is marked with its rank; the design record is the calculation's still.
    void optimiseDefaultLpf() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabOptimise);
        const double faResult = mirelto::DesignState.FaResult;
        QVERIFY(Search(*window));
        const mirelto::OptimisePanel& tab = window->OptimiseTab();
        const OptimiseInput& input = tab.LastInput();
        QVERIFY(input.requested.fa == 1420 && input.requested.fo == 1420);
        QVERIFY(input.requested.q == 1);
        QCOMPARE(input.steps, 2);
        QCOMPARE(input.series, (std::array<std::int32_t, 6>{0, 0, 0, 6, 6, 6}));
        QVERIFY(input.ideal.R1 == 22000 && input.ideal.R3 == 22000);
        QVERIFY(std::fabs(input.ideal.C1 / 7.095e-9 - 1) < 1e-3);
        QVERIFY(mirelto::DesignState.FaResult == faResult);
        QVERIFY(mirelto::DesignState.ResultValid && mirelto::DesignState.ConstantMode);

        const OptimiseResult expected = mirelto::OptimiseValues(input);
        const auto& rows = tab.Rows();
        QVERIFY(!rows.empty());
        QVERIFY(rows.size() <= expected.best.size() + 1);
        for (std::size_t i = 0; i < expected.best.size(); ++i) {
            QCOMPARE(mirelto::ComponentsOf(rows[i].circuit),
                     mirelto::ComponentsOf(expected.best[i].circuit));
        }
        const auto plain =
            std::find_if(rows.begin(), rows.end(), [](const auto& c) { return c.plainRounding; });
        QVERIFY(plain != rows.end());
        QVERIFY(rows.front().worstError <= plain->worstError);
        // The constant calculation's own circuit, bit for bit.
        QVERIFY(mirelto::ComponentsOf(plain->circuit) == mirelto::ComponentsOf(Built()));
        const QTableWidget& table = *window->TableOptimise;
        QCOMPARE(table.rowCount(), int(rows.size()));
        QCOMPARE(table.item(0, 0)->text().left(1), u"1"_s);
        const int plainRow = int(plain - rows.begin());
        QCOMPARE(table.item(plainRow, 0)->text(), u"%1 (丸め)"_s.arg(expected.plainRank));
        QVERIFY(window->LabelOptimiseStatus->text().contains(u"%1 位"_s.arg(expected.plainRank)));
        QCOMPARE(table.item(0, 1)->text(), u"22.00k"_s);
        QCOMPARE(table.item(0, 4)->text(), mirelto::SignificantText(rows[0].circuit.C1));
        QCOMPARE(table.item(0, 7)->text(), mirelto::SignificantText(rows[0].built.fa));
        QVERIFY(std::fabs(Parse(table.item(0, 13)->text()) - rows[0].worstError * 100) < 6e-4);
        QVERIFY(window->ProgressOptimise->isHidden());
        QVERIFY(window->ButtonOptimiseRun->isEnabled());
        QVERIFY(platform_->boxes.isEmpty());
    }

    // Search shown; no row selected: 適用 disabled; the second row clicked and 適用 pressed; the
    // six boxes read back as that row's values, and 伝達関数 has run on them.
    void applyRow() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabOptimise);
        QVERIFY(Search(*window));
        QVERIFY(!window->ButtonApplyOptimised->isEnabled());
        QTableWidget& table = *window->TableOptimise;
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {},
                          table.visualItemRect(table.item(1, 2)).center());
        QVERIFY(window->ButtonApplyOptimised->isEnabled());
        const mirelto::Candidate row = window->OptimiseTab().Rows()[1];
        QTest::mouseClick(window->ButtonApplyOptimised, Qt::LeftButton);
        const QLineEdit* boxes[] = {form_->EditR1, form_->EditR2, form_->EditR3,
                                    form_->EditC1, form_->EditC2, form_->EditC3};
        const auto values = mirelto::ComponentsOf(row.circuit);
        mirelto::ComponentValues typed{};
        for (std::size_t p = 0; p < 6; ++p) {
            typed[p] = Parse(boxes[p]->text());
            QVERIFY2(std::fabs(typed[p] - values[p]) <= 1e-12 * values[p],
                     qPrintable(boxes[p]->text()));
            // Preferred values read as a person writes them: "6.8n", not "6.799999999999738n".
            QVERIFY2(SignificantDigits(boxes[p]->text()).size() <= 3, qPrintable(boxes[p]->text()));
        }
        QVERIFY(!mirelto::DesignState.ConstantMode);
        QVERIFY(mirelto::DesignState.ResultValid);
        const mirelto::PoleSet built = mirelto::CircuitPoles(mirelto::CircuitOf(typed, true));
        QCOMPARE(form_->EditFar->text(), Shown(built.fa));
        QCOMPARE(form_->EditFor->text(), Shown(built.fo));
        QCOMPARE(form_->EditQr->text(), Shown(built.q));
        QVERIFY(std::fabs(built.fo - row.built.fo) <= 1e-11 * row.built.fo);
        QCOMPARE(window->NetlistTab().Text(),
                 QString::fromStdString(mirelto::SpiceNetlist(mirelto::CircuitOf(typed, true))));
        // Still compared with the 定数計算's request: its fa, fo, Q and the errors against it.
        window->Response().Refresh();
        const auto& figures = window->Response().Table().values;
        QCOMPARE(figures.size(), 6);
        QCOMPARE((QList<double>{figures[0][1], figures[1][1], figures[2][1]}),
                 (QList<double>{1420, 1420, 1}));
        QCOMPARE(figures[0][3], mirelto::RelativeErrorPercent(1420, built.fa));
        QCOMPARE(figures[2][3], mirelto::RelativeErrorPercent(1, built.q));
        QVERIFY(platform_->boxes.isEmpty());
    }

    // Default LPF calculated; each ranking chosen in 順位付け and 実行; the ranked rows are in
    // the order of that ranking's figure, and the status gives plain rounding's rank by it.
    void rankingChoice_data() {
        QTest::addColumn<int>("ranking");
        QTest::addColumn<int>("column");  // of the ranking's figure
        QTest::newRow("poles: worst of fa, fo, Q") << int(mirelto::Ranking::Poles) << 13;
        QTest::newRow("cutoff: -3 dB frequency error") << int(mirelto::Ranking::Cutoff) << 15;
        QTest::newRow("response: deviation in dB") << int(mirelto::Ranking::Response) << 16;
    }
    void rankingChoice() {
        QFETCH(int, ranking);
        QFETCH(int, column);
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabOptimise);
        QComboBox& combo = *window->ComboBoxRanking;
        combo.setCurrentIndex(combo.findData(ranking));
        QVERIFY(Search(*window));
        const OptimiseInput& input = window->OptimiseTab().LastInput();
        QCOMPARE(int(input.ranking), ranking);
        const OptimiseResult expected = mirelto::OptimiseValues(input);
        const QTableWidget& table = *window->TableOptimise;
        QVERIFY(table.rowCount() >= int(expected.best.size()) && expected.best.size() > 2);
        double previous = 0;
        for (int row = 0; row < int(expected.best.size()); ++row) {
            QCOMPARE(table.item(row, 0)->text().section(u' ', 0, 0), QString::number(row + 1));
            const double figure = std::fabs(table.item(row, column)->text().toDouble());
            QVERIFY2(figure >= previous, qPrintable(table.item(row, column)->text()));
            previous = figure;
        }
        QVERIFY2(window->LabelOptimiseStatus->text().contains(
                     u"「%1」で %2 位"_s.arg(combo.currentText()).arg(expected.plainRank)),
                 qPrintable(window->LabelOptimiseStatus->text()));
    }

    // Values of every kind; their text; it reads back as the same value to 1e-12, and is short
    // where the value is short.
    void exactText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("22k") << 22000.0 << u"22k"_s;
        QTest::newRow("1k") << 1000.0 << u"1k"_s;
        QTest::newRow("470") << 470.0 << u"470"_s;
        QTest::newRow("third") << 1.0 / 3 << QString();
        QTest::newRow("E6 member") << mirelto::RoundToSeries(6.8e-9, 6) << u"6.8n"_s;
        QTest::newRow("ideal capacitor") << 7.0951234567891e-9 << QString();
        QTest::newRow("below pico") << 1.5e-13 << QString();
        QTest::newRow("NaN") << double(NAN) << QString();
    }
    void exactText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        const QString shown = mirelto::PartValueText(value);
        if (std::isnan(value)) {
            QCOMPARE(shown, QString());
            return;
        }
        QVERIFY2(std::fabs(Parse(shown) - value) <= 1e-12 * value, qPrintable(shown));
        if (!text.isEmpty()) {
            QCOMPARE(shown, text);
        }
    }

    // The values a search moves over: the series members around a value in every decade from
    // pico to mega, E6 to E192; the text of each reads back as that member to 1e-12 and has no
    // more significant digits than the series gives its members (three).
    void exactTextOfSeries() {
        for (const std::int32_t series : {6, 12, 24, 48, 96, 192}) {
            for (int decade = -12; decade <= 6; ++decade) {
                const double around = 3.3 * std::pow(10.0, decade);
                for (const double value : mirelto::SeriesNeighbours(around, series, 3)) {
                    const QString text = mirelto::PartValueText(value);
                    QVERIFY2(std::fabs(Parse(text) - value) <= 1e-12 * value, qPrintable(text));
                    QVERIFY2(!text.contains(u'e'), qPrintable(text));
                    QVERIFY2(SignificantDigits(text).size() <= 3, qPrintable(text));
                }
            }
        }
    }

    // The main window's boxes with a problem; 実行; the problem in the tab in red, no search,
    // no message box.
    void optimiseProblems_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("fa blank") << u"EditFa"_s << QString() << u"faに値を入力してください"_s;
        QTest::newRow("Q zero") << u"EditQ"_s << u"0"_s << u"ゼロ以下の伝達関数パラメータは不正です"_s;
        QTest::newRow("R1 blank") << u"EditR1"_s << QString() << u"R1に値を入力してください"_s;
        QTest::newRow("unrealisable") << u"EditR2"_s << u"7.3k"_s << u"この条件では実現できません(C < 0)\n\nR1<R2<=R3 で比を大きくすると実現できます"_s;
        // clang-format on
    }
    void optimiseProblems() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        TFormAnalysis* window = Open();
        form_->EditR3->clear();
        static_cast<QLineEdit*>(mirelto::test::Control(*form_, box))->setText(text);
        QTest::mouseClick(window->ButtonOptimiseRun, Qt::LeftButton);
        QVERIFY(!window->OptimiseTab().IsRunning());
        QCOMPARE(window->LabelOptimiseStatus->text(), message);
        QVERIFY(window->LabelOptimiseStatus->styleSheet().contains(u"#c00000"_s));
        QCOMPARE(window->TableOptimise->rowCount(), 0);
        QVERIFY(platform_->boxes.isEmpty());
    }

    // HPF, C2 and C3 blank, given parts along E12 ±1; the blanks take C1's value and stay
    // blank; the resistors' series come from the main window's selectors.
    void optimiseHpfBlankFill() {
        TFormAnalysis* window = Open();
        QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
        form_->EditC1->setText(u"10n"_s);
        form_->EditC2->clear();
        form_->EditC3->clear();
        form_->ComboBoxR2->setCurrentText(u"96"_s);
        window->ComboBoxGivenSeries->setCurrentText(u"E12"_s);
        window->ComboBoxSteps->setCurrentText(u"±1"_s);
        QVERIFY(Search(*window));
        const OptimiseInput& input = window->OptimiseTab().LastInput();
        QVERIFY(!input.ideal.isLpf);
        QVERIFY(input.ideal.C3 == 10e-9);
        QCOMPARE(input.series, (std::array<std::int32_t, 6>{24, 96, 24, 12, 12, 12}));
        QCOMPARE(input.steps, 1);
        QCOMPARE(form_->EditC3->text(), QString());
        QVERIFY(!window->OptimiseTab().Rows().empty());
        QVERIFY(!window->OptimiseTab().Rows().front().circuit.isLpf);
    }

    // A large search (±3, given parts along E192) held on its worker; the window stays
    // responsive and shows the progress; キャンセル; the search ends cancelled and the controls
    // are idle again.
    void cancelSearch() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabOptimise);
        auto gate = std::make_shared<Gate>();
        window->OptimiseTab().SetSearch(HeldSearch(gate));
        window->ComboBoxGivenSeries->setCurrentText(u"E192"_s);
        window->ComboBoxSteps->setCurrentText(u"±3"_s);
        QTest::mouseClick(window->ButtonOptimiseRun, Qt::LeftButton);
        QVERIFY(window->OptimiseTab().IsRunning());
        QVERIFY(!window->ButtonOptimiseRun->isEnabled());
        QVERIFY(window->ButtonOptimiseCancel->isEnabled());
        QTRY_COMPARE(window->ProgressOptimise->value(), 250);
        QVERIFY(window->ProgressOptimise->isVisible());
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&ticks] { ++ticks; });
        timer.start(10);
        QTest::qWait(200);
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QVERIFY(gate->entered && !gate->left);
        QTest::mouseClick(window->ButtonOptimiseCancel, Qt::LeftButton);
        QTRY_VERIFY(!window->OptimiseTab().IsRunning());
        QVERIFY(gate->left);
        QVERIFY(window->LabelOptimiseStatus->text().startsWith(u"キャンセルしました"_s));
        QCOMPARE(window->TableOptimise->rowCount(), 0);
        QVERIFY(window->ButtonOptimiseRun->isEnabled());
        QVERIFY(!window->ButtonOptimiseCancel->isEnabled());
        QVERIFY(window->ProgressOptimise->isHidden());
    }

    // A held search; the main window's mode switched or a new calculation made; the search is
    // stopped and says why, its table never shown. A finished table, then the same: kept, and
    // said to be of the input before.
    void changedInputStopsOrMarksSearch_data() {
        QTest::addColumn<bool>("modeSwitch");
        QTest::newRow("mode switch") << true;
        QTest::newRow("new calculation") << false;
    }
    void changedInputStopsOrMarksSearch() {
        QFETCH(bool, modeSwitch);
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabOptimise);
        const auto change = [&] {
            QTest::mouseClick(modeSwitch ? static_cast<QWidget*>(form_->RadioButtonHPF)
                                         : static_cast<QWidget*>(form_->ButtonCalc),
                              Qt::LeftButton);
        };
        auto gate = std::make_shared<Gate>();
        window->OptimiseTab().SetSearch(HeldSearch(gate));
        QTest::mouseClick(window->ButtonOptimiseRun, Qt::LeftButton);
        QTRY_VERIFY(gate->entered);
        change();
        QVERIFY(!window->OptimiseTab().IsRunning());
        QVERIFY(gate->left);
        QVERIFY(window->LabelOptimiseStatus->text().contains(u"中止しました"_s));
        QTest::qWait(50);
        QCOMPARE(window->TableOptimise->rowCount(), 0);

        QTest::mouseClick(form_->RadioButtonLpf, Qt::LeftButton);
        window->OptimiseTab().SetSearch([](const OptimiseInput& input, const RunControl& control) {
            return mirelto::OptimiseValues(input, control);
        });
        QTest::mouseClick(window->ButtonOptimiseRun, Qt::LeftButton);
        QTRY_VERIFY(window->TableOptimise->rowCount() > 0);
        change();
        QVERIFY(window->TableOptimise->rowCount() > 0);
        QVERIFY(window->LabelOptimiseStatus->text().contains(u"前の入力 (LPF)"_s));
    }

    // A series selector holding a negative size; 実行 searches with its magnitude, as 定数計算
    // rounds with it, and no English sentence reaches the window.
    void negativeSeriesReadsAsMagnitude() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabOptimise);
        form_->ComboBoxC1->setEditText(u"-5"_s);
        form_->ComboBoxC3->setEditText(u"-2147483648"_s);
        QTest::mouseClick(window->ButtonOptimiseRun, Qt::LeftButton);
        QTRY_VERIFY(!window->OptimiseTab().IsRunning());
        QCOMPARE(window->OptimiseTab().LastInput().series[3], 5);
        QCOMPARE(window->OptimiseTab().LastInput().series[5], 2147483647);
        QVERIFY2(window->TableOptimise->rowCount() > 0,
                 qPrintable(window->LabelOptimiseStatus->text()));
        QVERIFY(!window->LabelOptimiseStatus->text().contains(u"series"_s));
    }

    // A held search; the analysis window closed; the search is cancelled.
    void closingWindowCancels() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabOptimise);
        auto gate = std::make_shared<Gate>();
        window->OptimiseTab().SetSearch(HeldSearch(gate));
        QTest::mouseClick(window->ButtonOptimiseRun, Qt::LeftButton);
        QTRY_VERIFY(gate->entered);
        QVERIFY(window->close());
        QTRY_VERIFY(!window->OptimiseTab().IsRunning());
        QVERIFY(window->LabelOptimiseStatus->text().startsWith(u"キャンセルしました"_s));
    }

    // A held search and a long tolerance run going; the main window destroyed; both end, nothing
    // posted afterwards reaches the gone window, and the event loop runs on.
    void destroyingMainWindowDuringSearch() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabOptimise);
        auto gate = std::make_shared<Gate>();
        window->OptimiseTab().SetSearch(HeldSearch(gate));
        QTest::mouseClick(window->ButtonOptimiseRun, Qt::LeftButton);
        window->SpinTrials->setValue(window->SpinTrials->maximum());
        QTest::mouseClick(window->ButtonToleranceRun, Qt::LeftButton);
        QTRY_VERIFY(gate->entered);
        QVERIFY(window->ToleranceTab().IsRunning());
        form_.reset();
        QVERIFY(gate->left);
        QTest::qWait(50);
    }

    // Tolerance tab after 定数計算: its defaults; a long run cancelled while the window keeps
    // processing events; the status says how far it got.
    void toleranceCancel() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabTolerance);
        const QLineEdit* tolerances[] = {window->EditTolR1, window->EditTolR2, window->EditTolR3,
                                         window->EditTolC1, window->EditTolC2, window->EditTolC3};
        QStringList texts;
        for (const QLineEdit* edit : tolerances) {
            texts << edit->text();
        }
        QCOMPARE(texts, u"1 1 1 5 5 5"_s.split(u' '));
        QCOMPARE(window->SpinTrials->value(), 10000);
        QCOMPARE(window->EditSeed->text(), u"1"_s);
        window->SpinTrials->setValue(window->SpinTrials->maximum());
        QTest::mouseClick(window->ButtonToleranceRun, Qt::LeftButton);
        QTest::qWait(100);
        QVERIFY(window->ToleranceTab().IsRunning());
        QVERIFY(window->ProgressTolerance->isVisible());
        QTest::mouseClick(window->ButtonToleranceCancel, Qt::LeftButton);
        QTRY_VERIFY(!window->ToleranceTab().IsRunning());
        QVERIFY(window->LabelToleranceStatus->text().startsWith(u"キャンセルしました"_s));
        QVERIFY(!window->ToleranceTab().Result());
    }

    // All tolerances 0; a run; every percentile is the nominal value, the histograms hold every
    // trial in one bin.
    void zeroTolerance() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabTolerance);
        for (QLineEdit* edit : {window->EditTolR1, window->EditTolR2, window->EditTolR3,
                                window->EditTolC1, window->EditTolC2, window->EditTolC3}) {
            edit->setText(u"0 %"_s);
        }
        window->SpinTrials->setValue(500);
        QVERIFY(Tolerance(*window));
        const auto& result = window->ToleranceTab().Result();
        QVERIFY(result);
        QCOMPARE(result->trials, std::int64_t(500));
        const mirelto::PoleSet poles = mirelto::CircuitPoles(Built());
        const double nominals[] = {poles.fa, poles.fo, poles.q, result->cutoff.nominal};
        for (int kind = 0; kind < ToleranceHistograms::kKinds; ++kind) {
            const auto& spread = mirelto::SpreadOf(*result, ToleranceHistograms::Kind(kind));
            QVERIFY(spread.p1 == spread.nominal && spread.p50 == spread.nominal);
            QVERIFY(spread.p99 == spread.nominal);
            const QStringList row = RowTexts(*window->TablePercentiles, kind);
            QCOMPARE(row.mid(1), QStringList(4, mirelto::SignificantText(nominals[kind])));
            QCOMPARE(spread.histogram.counts.front(), std::int64_t(500));
        }
        QVERIFY(result->fa.nominal == poles.fa);
    }

    // Default tolerances, 2000 trials; the same seed twice gives the same tables and the same
    // histograms; another seed, other figures; the histograms hold every trial.
    void sameSeedRepeats() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabTolerance);
        window->SpinTrials->setValue(2000);
        window->ComboBoxDistribution->setCurrentIndex(1);
        QVERIFY(Tolerance(*window));
        const QList<QStringList> first = TableTexts(*window->TablePercentiles);
        const auto counts = window->ToleranceTab().Result()->fo.histogram.counts;
        QCOMPARE(std::accumulate(counts.begin(), counts.end(), std::int64_t(0)), 2000);
        QVERIFY(Tolerance(*window));
        QCOMPARE(TableTexts(*window->TablePercentiles), first);
        QCOMPARE(window->ToleranceTab().Result()->fo.histogram.counts, counts);
        const QChart& chart = *window->ToleranceTab().Histograms().Chart(ToleranceHistograms::Fo);
        const auto* bars = qobject_cast<const QAreaSeries*>(chart.series().value(0));
        QVERIFY(bars);
        QCOMPARE(bars->upperSeries()->count(), int(2 * counts.size()));
        QCOMPARE(bars->upperSeries()->at(1).y(), double(counts[0]));

        window->EditSeed->setText(u"2"_s);
        QVERIFY(Tolerance(*window));
        QVERIFY(TableTexts(*window->TablePercentiles) != first);
        QCOMPARE(window->ToleranceTab().Result()->seed, std::uint64_t(2));
        QCOMPARE(RowTexts(*window->TablePercentiles, 0).mid(0, 2), first[0].mid(0, 2));
    }

    // Tolerance texts as typed; the fraction, or none for what is not 0 to below 100 %.
    void tolerancePercent_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("fraction");
        QTest::newRow("1") << u"1"_s << 0.01;
        QTest::newRow("0.5 %") << u"0.5 %"_s << 0.005;
        QTest::newRow("500m%") << u"500m%"_s << 0.005;
        QTest::newRow("zero") << u"0"_s << 0.0;
        QTest::newRow("negative") << u"-1"_s << -1.0;
        QTest::newRow("100") << u"100"_s << -1.0;
        QTest::newRow("letters") << u"abc"_s << -1.0;
        QTest::newRow("empty") << QString() << -1.0;
    }
    void tolerancePercent() {
        QFETCH(QString, text);
        QFETCH(double, fraction);
        const auto parsed = mirelto::ParseTolerancePercent(text);
        QCOMPARE(parsed.has_value(), fraction >= 0);
        if (parsed) {
            QCOMPARE(*parsed, fraction);
        }
    }

    // A bad tolerance and a bad seed; 実行; the problem shown in red, no run.
    void toleranceProblems() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabTolerance);
        window->EditTolC2->setText(u"120"_s);
        QTest::mouseClick(window->ButtonToleranceRun, Qt::LeftButton);
        QVERIFY(!window->ToleranceTab().IsRunning());
        QVERIFY(window->LabelToleranceStatus->text().startsWith(u"C2 の許容差「120」"_s));
        window->EditTolC2->setText(u"5"_s);
        window->EditSeed->setText(u"-3"_s);
        QTest::mouseClick(window->ButtonToleranceRun, Qt::LeftButton);
        QVERIFY(!window->ToleranceTab().IsRunning());
        QVERIFY(window->LabelToleranceStatus->text().startsWith(u"シード「-3」"_s));
        QVERIFY(platform_->boxes.isEmpty());
    }

    // Default calculation; the sensitivity table before any run: scaling every resistor (or
    // every capacitor) scales fa and fo inversely and leaves Q alone.
    void sensitivities() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabTolerance);
        const QTableWidget& table = *window->TableSensitivity;
        QCOMPARE(RowTexts(table, 0).first(), u"fa"_s);
        QCOMPARE(table.horizontalHeaderItem(4)->text(), u"C1"_s);
        const double expected[] = {-1, -1, 0};
        for (int row = 0; row < 3; ++row) {
            const QStringList cells = RowTexts(table, row);
            double resistors = 0, capacitors = 0;
            for (int column = 1; column <= 3; ++column) {
                resistors += cells[column].toDouble();
                capacitors += cells[column + 3].toDouble();
            }
            QVERIFY2(std::fabs(resistors - expected[row]) < 1e-3, qPrintable(cells.join(u' ')));
            QVERIFY2(std::fabs(capacitors - expected[row]) < 1e-3, qPrintable(cells.join(u' ')));
        }
    }

    // A long tolerance run going; a new 定数計算; the run stops, its figures are gone and the
    // circuit line shows the new circuit.
    void newCalculationStopsRun() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabTolerance);
        window->SpinTrials->setValue(window->SpinTrials->maximum());
        QTest::mouseClick(window->ButtonToleranceRun, Qt::LeftButton);
        QVERIFY(window->ToleranceTab().IsRunning());
        form_->EditR1->setText(u"10k"_s);
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QVERIFY(!window->ToleranceTab().IsRunning());
        QVERIFY(window->ButtonToleranceRun->isEnabled());
        QVERIFY(window->LabelToleranceCircuit->text().contains(u"R1 = 10.00k"_s));
        QTest::qWait(50);
        QVERIFY(!window->LabelToleranceStatus->text().startsWith(u"キャンセル"_s));
    }

    // Default calculation, then 伝達関数 with R1 changed; the netlist tab shows the SPICE
    // netlist of each result circuit; コピー puts it on the clipboard.
    void netlist() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabNetlist);
        const QString expected = QString::fromStdString(mirelto::SpiceNetlist(Built()));
        QCOMPARE(window->EditNetlist->toPlainText(), expected);
        QVERIFY(window->EditNetlist->isReadOnly());
        QVERIFY(window->EditNetlist->font().fixedPitch() ||
                QFontInfo(window->EditNetlist->font()).fixedPitch());
        QTest::mouseClick(window->ButtonCopyNetlist, Qt::LeftButton);
        QCOMPARE(platform_->copied, QStringList{expected});

        form_->EditR1->setText(u"33k"_s);
        QTest::mouseClick(form_->ButtonTF, Qt::LeftButton);
        QVERIFY(Built().R1 == 33000);
        QCOMPARE(window->EditNetlist->toPlainText(),
                 QString::fromStdString(mirelto::SpiceNetlist(Built())));
        QVERIFY(window->EditNetlist->toPlainText() != expected);
        QVERIFY(window->LabelNetlistMessage->isHidden());
    }

    // Values as a table copies them: plain numbers in SI base units, fifteen digits.
    void plainNumber_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("ohms") << 1500.0 << u"1500"_s;
        QTest::newRow("farads") << 1.5e-9 << u"1.5e-09"_s;
        QTest::newRow("per cent") << -0.875 << u"-0.875"_s;
        QTest::newRow("a few ulps off") << std::nextafter(std::nextafter(6.8e-9, 0.0), 0.0) << u"6.8e-09"_s;
        QTest::newRow("not a number") << std::nan("") << QString();
        // clang-format on
    }
    void plainNumber() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(mirelto::PlainNumber(value), text);
    }

    // A table filled by a run, rows 0 and 2 selected; Ctrl+C copies the header and those two
    // rows as TSV; every value cell reads back as a plain number (no SI prefix) that rounds to
    // the text shown; すべてコピー copies every row.
    void copyTables_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("firstValueColumn");
        QTest::newRow("comparison") << u"TableFigures"_s << 1;
        QTest::newRow("optimiser") << u"TableOptimise"_s << 1;
        QTest::newRow("percentiles") << u"TablePercentiles"_s << 1;
        QTest::newRow("sensitivities") << u"TableSensitivity"_s << 1;
    }
    void copyTables() {
        QFETCH(QString, table);
        QFETCH(int, firstValueColumn);
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabResponse);
        QVERIFY(QTest::qWaitFor([&] { return window->TableFigures->rowCount() == 6; }, 5000));
        QVERIFY(Search(*window));
        QVERIFY(Tolerance(*window));
        auto* widget = window->findChild<QTableWidget*>(table);
        QVERIFY(widget && widget->rowCount() >= 3);
        widget->clearSelection();
        widget->selectionModel()->select(widget->model()->index(0, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        widget->selectionModel()->select(widget->model()->index(2, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        platform_->copied.clear();
        QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(platform_->copied.size(), 1);
        const QStringList lines = platform_->copied.first().chopped(2).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].split(u'\t').size(), widget->columnCount());
        int numbers = 0;
        for (int line = 1; line < 3; ++line) {
            const QStringList cells = lines[line].split(u'\t');
            const int row = line == 1 ? 0 : 2;
            QCOMPARE(cells.size(), widget->columnCount());
            QCOMPARE(cells[0], widget->item(row, 0)->text());
            for (int column = firstValueColumn; column < cells.size(); ++column) {
                const QString shown = widget->item(row, column)->text();
                if (shown.isEmpty()) {
                    QCOMPARE(cells[column], QString());
                    continue;
                }
                bool ok = false;
                const double copied = cells[column].toDouble(&ok);
                QVERIFY2(ok, qPrintable(cells[column]));
                QVERIFY2(!cells[column].contains(QRegularExpression(u"[kMmunp]"_s)),
                         qPrintable(cells[column]));
                const double read = mirelto::ParseValue(shown.toStdString());
                QVERIFY2(std::abs(copied - read) <= 5e-3 * std::abs(read) + 5e-3,
                         qPrintable(cells[column] + u" vs "_s + shown));
                ++numbers;
            }
        }
        QVERIFY(numbers >= 2);

        auto* all = widget->findChild<QAction*>(u"ActionCopyAllRows"_s);
        QVERIFY(all && widget->actions().contains(all));
        all->trigger();
        QCOMPARE(platform_->copied.size(), 2);
        QCOMPARE(platform_->copied.last().count(u"\r\n"_s), widget->rowCount() + 1);
    }

    // The netlist's follower for each GBW box text: the op-amp model of that GBW, or the ideal
    // one for an empty box.
    void netlistFollowsGbw_data() {
        QTest::addColumn<QString>("gbw");
        QTest::addColumn<double>("expected");
        QTest::newRow("1M") << u"1M"_s << 1e6;
        QTest::newRow("20k") << u"20k"_s << 2e4;
        QTest::newRow("empty") << QString() << 0.0;
    }
    void netlistFollowsGbw() {
        QFETCH(QString, gbw);
        QFETCH(double, expected);
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabNetlist);
        window->Response().SetOpAmpGbwText(u"3M"_s);
        window->Response().SetOpAmpGbwText(gbw);
        mirelto::NetlistOptions options;
        options.opAmpGbw = expected;
        QCOMPARE(window->EditNetlist->toPlainText(),
                 QString::fromStdString(mirelto::SpiceNetlist(Built(), options)));
        QCOMPARE(window->EditNetlist->toPlainText().contains(u"X1 p out out"_s), expected > 0);
    }

    // 保存 with a name without suffix: the file NAME.cir holds the netlist as shown; a cancelled
    // dialog writes nothing; a path that cannot be written says so and leaves no file.
    void netlistSave() {
        TFormAnalysis* window = Calculated(&TFormAnalysis::TabNetlist);
        window->Response().SetOpAmpGbwText(u"1M"_s);
        QTemporaryDir dir;
        platform_->savePath = dir.filePath(u"lowpass"_s);
        QTest::mouseClick(window->ButtonSaveNetlist, Qt::LeftButton);
        QCOMPARE(platform_->saveDialogs, 1);
        QFile saved(dir.filePath(u"lowpass.cir"_s));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()), window->EditNetlist->toPlainText());

        platform_->savePath.clear();
        QTest::mouseClick(window->ButtonSaveNetlist, Qt::LeftButton);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"lowpass.cir"_s});

        const int boxes = static_cast<int>(platform_->boxes.size());
        platform_->savePath = dir.filePath(u"missing/deck.cir"_s);
        QTest::mouseClick(window->ButtonSaveNetlist, Qt::LeftButton);
        QCOMPARE(platform_->boxes.size(), boxes + 1);
        QVERIFY(!QFileInfo::exists(platform_->savePath));
    }
};

MIRELTO_QTEST_MAIN(TestAnalysisTools)
#include "tst_analysis_tools.moc"
