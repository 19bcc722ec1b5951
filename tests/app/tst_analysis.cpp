// The analysis window: opened from its link in the main window, following the calculations
// without holding them up, its plots and comparison table, the op-amp check, copying and saving,
// and the presets written into the main window's request boxes.
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include <mirelto/design/design_state.h>
#include <mirelto/design/filter.h>
#include <mirelto/tools/presets.h>
#include <mirelto/values/value_text.h>

#include "analysis/analysis_window.h"
#include "analysis/response/analysis_window_charts.h"
#include "analysis/response/analysis_window_response.h"
#include "analysis/shared/analysis_window_table.h"
#include "analysis/tools/analysis_window_presets.h"
#include "app_test_support.h"
#include "calculator/main_window.h"

using namespace Qt::StringLiterals;

using mirelto::Normalisation;
using mirelto::Rect;
using mirelto::ResponseCharts;
using mirelto::TFormAnalysis;
using mirelto::TFormMain;
Q_DECLARE_METATYPE(mirelto::Rect)

namespace {

// The marker line of that label: a dotted series named after the frequencies it marks.
const QLineSeries* MarkerLine(const QChart& chart, const QString& label) {
    const QStringList curves = {mirelto::RequestedCurveName(), mirelto::BuiltCurveName(),
                                mirelto::OpAmpCurveName()};
    for (QAbstractSeries* series : chart.series()) {
        if (!curves.contains(series->name()) && series->name().split(u", "_s).contains(label)) {
            return qobject_cast<const QLineSeries*>(series);
        }
    }
    return nullptr;
}

int PresetIndex(mirelto::ResponseFamily family, Normalisation normalisation) {
    const auto& presets = mirelto::Presets();
    for (std::size_t i = 0; i < presets.size(); ++i) {
        if (presets[i].family == family && presets[i].normalisation == normalisation) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Signed, two decimals: the error column's form.
QString Percent(double requested, double built) {
    const double error = (built - requested) / requested * 100;
    return (error > 0 ? u"+"_s : QString()) + QString::number(error, 'f', 2);
}

}  // namespace

class TestAnalysis : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;

    TFormAnalysis* Open() { return mirelto::test::OpenAnalysis(*form_); }
    // The window open, showing 定数計算 of the request as the main window opens; null when its
    // table never filled.
    TFormAnalysis* OpenCalculated() {
        TFormAnalysis* window = Open();
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        return QTest::qWaitFor([this] { return Rows() == 6; }) ? window : nullptr;
    }
    QString Cell(int row, int column) const {
        const QTableWidgetItem* item = form_->AnalysisWindow()->TableFigures->item(row, column);
        return item ? item->text() : u"<none>"_s;
    }
    // The legend entries a plot shows, in order. A plot given new curves hides its whole legend
    // until its next layout pass: wait for that (every shown plot has a curve in its legend).
    QStringList Legend(ResponseCharts::Kind kind) const {
        const QList<QLegendMarker*> markers = Chart(kind).legend()->markers();
        const auto anyVisible = [&markers] {
            return std::any_of(markers.begin(), markers.end(),
                               [](const QLegendMarker* m) { return m->isVisible(); });
        };
        if (!QTest::qWaitFor(anyVisible)) {
            return {u"<legend never shown>"_s};
        }
        QStringList names;
        for (const QLegendMarker* marker : markers) {
            if (marker->isVisible()) {
                names << marker->label();
            }
        }
        return names;
    }
    int Rows() const { return form_->AnalysisWindow()->TableFigures->rowCount(); }
    QChart& Chart(ResponseCharts::Kind kind) const {
        return *form_->AnalysisWindow()->Response().Charts().Chart(kind);
    }
    void EnterGbw(const QString& text) {
        QLineEdit* edit = form_->AnalysisWindow()->EditGbw;
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

  private slots:
    void init() { QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_)); }
    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // Fresh main window; look for the analysis window and plots; none made at start-up. The
    // link: text, place, hint, hand cursor, never focused, outside the tab order.
    void linkAtStart() {
        QCOMPARE(form_->AnalysisWindow(), nullptr);
        QVERIFY(form_->findChildren<QChartView*>().isEmpty());
        QLabel* link = form_->LabelAnalysis;
        QCOMPARE(link->text(), u"解析"_s);
        QCOMPARE(link->geometry(), QRect(287, 313, 50, 13));
        QCOMPARE(link->alignment(), Qt::AlignCenter);
        QCOMPARE(link->toolTip(), u"応答グラフと詳細解析を表示します"_s);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(link->focusPolicy(), Qt::NoFocus);
        QCOMPARE(link->font(), form_->Label19->font());
    }

    // Main window at 100,100 (352 x 392, no frame); click the link twice; one modeless top-level
    // window owned by the main window, beside it on the right, not the one that keeps the program
    // running; moved, closed and reopened, it stays.
    void linkOpensOneWindow() {
        platform_->windowRect = Rect{100, 100, 452, 492};
        platform_->workArea = Rect{0, 0, 1920, 1080};
        TFormAnalysis* window = Open();
        QVERIFY(window);
        QCOMPARE(Open(), window);
        QCOMPARE(form_->findChildren<TFormAnalysis*>().size(), 1);
        QVERIFY(window->isVisible());
        QCOMPARE(window->parentWidget(), form_.get());
        QCOMPARE(window->windowType(), Qt::Window);
        QCOMPARE(window->windowModality(), Qt::NonModal);
        QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));
        QCOMPARE(window->pos(), QPoint(452, 100));
        QCOMPARE(window->Response().Charts().View(ResponseCharts::Magnitude)->parentWidget(),
                 window->ChartArea);
        window->move(30, 40);
        QVERIFY(window->close());
        Open();
        QVERIFY(window->isVisible());
        QCOMPARE(window->pos(), QPoint(30, 40));
    }

    // The main window's outer rectangle, the analysis window's outer size, the work area; first
    // placement; right of the owner, else left, else against the roomier edge; inside the area.
    void firstPosition_data() {
        QTest::addColumn<Rect>("owner");
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<Rect>("workArea");
        QTest::addColumn<QPoint>("position");
        const Rect screen{0, 0, 1920, 1080};
        // clang-format off
        QTest::newRow("room on the right") << Rect{100, 100, 460, 520} << QSize(1000, 700) << screen << QPoint(460, 100);
        QTest::newRow("room on the left only") << Rect{1400, 50, 1760, 470} << QSize(1000, 700) << screen << QPoint(400, 50);
        QTest::newRow("room below only, 1600 x 1200") << Rect{624, 60, 976, 452} << QSize(1016, 700) << Rect{0, 0, 1600, 1160} << QPoint(584, 452);
        QTest::newRow("room below, left edges level") << Rect{500, 0, 852, 392} << QSize(1016, 700) << Rect{0, 0, 1600, 1160} << QPoint(500, 392);
        QTest::newRow("bottom edge lifts it") << Rect{100, 900, 460, 1000} << QSize(1000, 700) << screen << QPoint(460, 380);
        QTest::newRow("no room, right roomier") << Rect{100, 100, 460, 520} << QSize(1000, 700) << Rect{0, 0, 1024, 768} << QPoint(24, 68);
        QTest::newRow("no room, left roomier") << Rect{600, 0, 960, 420} << QSize(1000, 700) << Rect{0, 0, 1024, 768} << QPoint(0, 0);
        QTest::newRow("larger than the work area, top-left kept inside") << Rect{100, 100, 460, 520} << QSize(1100, 900) << Rect{0, 30, 1024, 768} << QPoint(0, 30);
        // clang-format on
    }
    void firstPosition() {
        QFETCH(Rect, owner);
        QFETCH(QSize, outer);
        QFETCH(Rect, workArea);
        QFETCH(QPoint, position);
        QCOMPARE(mirelto::AnalysisWindowPosition(owner, outer, workArea), position);
    }

    // A design record after each kind of calculation; what the analysis is given; the request
    // only after a constant calculation, the given parts with the rounded computed ones.
    // A design record after each kind of calculation, with or without a kept request; the
    // analysis input: the request compared with (none: 0) and the parts drawn.
    void inputFromDesign_data() {
        QTest::addColumn<bool>("constant");
        QTest::addColumn<bool>("lpf");
        QTest::addColumn<int>("kept");  // 0 none, 1 an LPF request, 2 an HPF request
        QTest::addColumn<double>("comparedFa");
        QTest::addColumn<QList<double>>("parts");
        const QList<double> six{1, 2, 3, 4, 5, 6};
        // clang-format off
        QTest::newRow("constant LPF: R given, C rounded") << true << true << 0 << 100.0 << QList<double>{1, 2, 3, 40, 50, 60};
        QTest::newRow("constant HPF: R rounded, C given") << true << false << 0 << 100.0 << QList<double>{10, 20, 30, 4, 5, 6};
        QTest::newRow("constant LPF, a request kept: its own") << true << true << 1 << 100.0 << QList<double>{1, 2, 3, 40, 50, 60};
        QTest::newRow("transfer function LPF: the six parts") << false << true << 0 << 0.0 << six;
        QTest::newRow("transfer function HPF: the six parts") << false << false << 0 << 0.0 << six;
        QTest::newRow("transfer function LPF, LPF request kept") << false << true << 1 << 300.0 << six;
        QTest::newRow("transfer function HPF, HPF request kept") << false << false << 2 << 300.0 << six;
        QTest::newRow("transfer function HPF, LPF request kept: alone") << false << false << 1 << 0.0 << six;
        // clang-format on
    }
    void inputFromDesign() {
        QFETCH(bool, constant);
        QFETCH(bool, lpf);
        QFETCH(int, kept);
        QFETCH(double, comparedFa);
        QFETCH(QList<double>, parts);
        mirelto::DesignRecord d;
        d.Fa = 100, d.Fo = 200, d.Q = 0.7;
        d.R1 = 1, d.R2 = 2, d.R3 = 3, d.C1 = 4, d.C2 = 5, d.C3 = 6;
        d.ResR1 = 10, d.ResR2 = 20, d.ResR3 = 30, d.ResC1 = 40, d.ResC2 = 50, d.ResC3 = 60;
        d.IsLpf = lpf;
        d.ConstantMode = constant;
        std::optional<mirelto::KeptRequest> request;
        if (kept != 0) {
            request = mirelto::KeptRequest{{300, 400, 0.5}, kept == 1};
        }
        QVERIFY(!mirelto::AnalysisInputFrom(d, request));
        d.ResultValid = true;
        const auto input = mirelto::AnalysisInputFrom(d, request);
        QVERIFY(input);
        QCOMPARE(input->hasRequest, comparedFa > 0);
        QCOMPARE(input->isLpf, lpf);
        QCOMPARE(input->built.isLpf, lpf);
        if (input->hasRequest) {
            QCOMPARE(input->requested.fa, comparedFa);
            QCOMPARE(input->requested.fo, comparedFa == 100 ? 200.0 : 400.0);
            QCOMPARE(input->requested.q, comparedFa == 100 ? 0.7 : 0.5);
        }
        const auto& b = input->built;
        QCOMPARE((QList<double>{b.R1, b.R2, b.R3, b.C1, b.C2, b.C3}), parts);
    }

    // Analysis window open, nothing calculated; an empty state with its hint; 定数計算 returns
    // before the window is drawn, which follows from the event loop: the table compares the
    // request with the rounded circuit.
    void calculationUpdatesTable() {
        TFormAnalysis* window = Open();
        QTRY_VERIFY(window->isVisible());
        QVERIFY(window->LabelHint->isVisible());
        QCOMPARE(Rows(), 0);
        QVERIFY(!window->ButtonCopyTable->isEnabled());
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QCOMPARE(Rows(), 0);
        QTRY_COMPARE(Rows(), 6);
        QVERIFY(!window->LabelHint->isVisible());
        const auto& st = mirelto::DesignState;
        QCOMPARE(Cell(0, 0), u"fa [Hz]"_s);
        QCOMPARE(Cell(0, 1), u"1.420k"_s);
        QCOMPARE(Cell(0, 2), mirelto::SignificantText(st.FaResult));
        QCOMPARE(Cell(0, 2), u"1.395k"_s);
        QCOMPARE(Cell(0, 3), Percent(1420, st.FaResult));
        QCOMPARE(Cell(1, 2), mirelto::SignificantText(st.FoResult));
        QCOMPARE(Cell(2, 1), u"1.000"_s);
        QCOMPARE(Cell(2, 2), u"961.1m"_s);
        QCOMPARE(Cell(4, 0), u"fo でのゲイン [dB]"_s);
        QCOMPARE(Cell(4, 1), u"-3.01"_s);
        QCOMPARE(Legend(ResponseCharts::Magnitude), (QStringList{u"要求"_s, u"実回路"_s}));
        QCOMPARE(Legend(ResponseCharts::Step), (QStringList{u"要求"_s, u"実回路"_s}));
        QVERIFY(window->ButtonCopyTable->isEnabled());
    }

    // Analysis window open; 定数計算 in HPF mode; the built column shows the rounded resistors'
    // circuit, whose fa the main window shows too.
    void hpfCalculation() {
        Open();
        QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QVERIFY(platform_->boxes.isEmpty());
        QTRY_COMPARE(Rows(), 6);
        QCOMPARE(Cell(0, 2), mirelto::SignificantText(mirelto::DesignState.FaResult));
        QCOMPARE(Cell(2, 2), mirelto::SignificantText(mirelto::DesignState.QResult));
    }

    // Default calculation shown; the plots: log frequency over three decades at least, 400
    // points, one dotted line at the request's fa = fo = -3 dB frequency, outside the legend.
    void plotsAndMarkers() {
        QVERIFY(OpenCalculated());
        for (const auto kind :
             {ResponseCharts::Magnitude, ResponseCharts::Phase, ResponseCharts::GroupDelay}) {
            const auto* axis =
                qobject_cast<QLogValueAxis*>(Chart(kind).axes(Qt::Horizontal).value(0));
            QVERIFY(axis);
            QVERIFY(axis->max() / axis->min() >= 999.0);
            QVERIFY(axis->min() < 1420 && axis->max() > 1631);
            const auto* curve = qobject_cast<QLineSeries*>(Chart(kind).series().value(0));
            QVERIFY(curve && curve->count() >= 400);
            const QLineSeries* marker = MarkerLine(Chart(kind), u"fo"_s);
            QVERIFY(marker);
            QCOMPARE(marker->name(), u"fa, fo, −3 dB"_s);
            for (const QPointF& p : marker->points()) {
                QVERIFY(std::fabs(p.x() / 1420 - 1) < 1e-6);
            }
        }
    }

    // Default calculation (fa = fo = 1.42k, Q = 1), then the steps of the row ("calc", "tf", a
    // mode "hpf"/"lpf", "box=text" typed); the table after the last 伝達関数: compared with the
    // kept request (its fa, errors, curves, the line naming it), or the circuit alone (empty).
    void transferFunctionComparesKeptRequest_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("requestedFa");
        // clang-format off
        QTest::newRow("the six parts shown") << QStringList{} << u"1.420k"_s;
        QTest::newRow("parts typed") << QStringList{u"EditR2=47k"_s} << u"1.420k"_s;
        QTest::newRow("another request calculated") << QStringList{u"EditFa=1.5k"_s, u"EditQ=0.7071"_s, u"calc"_s} << u"1.500k"_s;
        QTest::newRow("request typed, not calculated") << QStringList{u"EditFa=1.5k"_s} << u"1.420k"_s;
        QTest::newRow("mode switch") << QStringList{u"hpf"_s} << QString();
        QTest::newRow("mode switched and back") << QStringList{u"hpf"_s, u"lpf"_s} << QString();
        QTest::newRow("failed calculation") << QStringList{u"EditFa="_s, u"calc"_s, u"EditFa=1.5k"_s} << QString();
        // clang-format on
    }
    void transferFunctionComparesKeptRequest() {
        QFETCH(QStringList, steps);
        QFETCH(QString, requestedFa);
        TFormAnalysis* window = OpenCalculated();
        QVERIFY(window);
        for (const QString& step : steps) {
            if (step == u"calc"_s) {
                QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
            } else if (step == u"hpf"_s || step == u"lpf"_s) {
                QTest::mouseClick(step == u"hpf"_s ? form_->RadioButtonHPF : form_->RadioButtonLpf,
                                  Qt::LeftButton);
            } else {
                const QStringList box = step.split(u'=');
                auto* edit = form_->findChild<QLineEdit*>(box[0]);
                QVERIFY2(edit, qPrintable(step));
                edit->setText(box[1]);
            }
        }
        QTest::mouseClick(form_->ButtonTF, Qt::LeftButton);
        QVERIFY(mirelto::DesignState.ResultValid && !mirelto::DesignState.ConstantMode);
        QVERIFY(!window->ShowsStaleResults());
        window->Response().Refresh();
        QCOMPARE(Rows(), 6);
        QCOMPARE(Cell(0, 2), mirelto::SignificantText(mirelto::DesignState.FaResult));
        QCOMPARE(Cell(0, 1), requestedFa);
        const bool compared = !requestedFa.isEmpty();
        QCOMPARE(Cell(0, 3).isEmpty(), !compared);
        QCOMPARE(window->LabelComparedRequest->isVisible(), compared);
        const QStringList curves =
            compared ? QStringList{u"要求"_s, u"実回路"_s} : QStringList{u"実回路"_s};
        for (int kind = 0; kind < ResponseCharts::kKinds; ++kind) {
            QCOMPARE(Legend(ResponseCharts::Kind(kind)), curves);
        }
        if (compared) {
            const double fa = mirelto::ParseValue(requestedFa.toStdString());
            QCOMPARE(Cell(0, 3), Percent(fa, mirelto::DesignState.FaResult));
            QVERIFY2(window->LabelComparedRequest->text().contains(u"fa = %1Hz"_s.arg(requestedFa)),
                     qPrintable(window->LabelComparedRequest->text()));
            // The lines mark the request, not the circuit's own fa.
            const QLineSeries* marker = MarkerLine(Chart(ResponseCharts::Magnitude), u"fa"_s);
            QVERIFY(marker && std::fabs(marker->at(0).x() / fa - 1) < 1e-6);
        } else {
            const QLineSeries* fa = MarkerLine(Chart(ResponseCharts::Magnitude), u"fa"_s);
            QVERIFY(fa);
            QVERIFY(qFuzzyCompare(fa->at(0).x(), mirelto::DesignState.FaResult));
        }
    }

    // A design calculated (no parts) or six parts typed and 伝達関数 (LPF or HPF); the lines
    // under the table are the warnings of that circuit, hidden when it has none.
    void designWarnings_data() {
        QTest::addColumn<bool>("lpf");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QStringList>("lines");
        // clang-format off
        QTest::newRow("定数計算 of the default request: none") << true << QStringList{} << QStringList{};
        QTest::newRow("50 Hz HPF on E24: 120:1") << false << QStringList{u"15k"_s, u"3.0k"_s, u"360k"_s, u"100n"_s, u"100n"_s, u"100n"_s} << QStringList{u"⚠ 抵抗値の比 R3/R2 が 120:1 です (30:1 を超えています): 誤差と浮遊容量の影響を受けやすくなります"_s};
        QTest::newRow("680 ohms and 47 pF") << true << QStringList{u"680"_s, u"1k"_s, u"1k"_s, u"1n"_s, u"1n"_s, u"47p"_s} << QStringList{u"⚠ R1 = 680Ω は 1kΩ 未満です: オペアンプの出力の負荷が重くなります"_s, u"⚠ C3 = 47pF は 100pF 未満です: 浮遊容量とオペアンプの入力容量の影響を受けます"_s};
        // clang-format on
    }
    void designWarnings() {
        QFETCH(bool, lpf);
        QFETCH(QStringList, parts);
        QFETCH(QStringList, lines);
        TFormAnalysis* window = Open();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::mouseClick(lpf ? form_->RadioButtonLpf : form_->RadioButtonHPF, Qt::LeftButton);
        QLineEdit* const boxes[] = {form_->EditR1, form_->EditR2, form_->EditR3,
                                    form_->EditC1, form_->EditC2, form_->EditC3};
        for (int i = 0; i < parts.size(); ++i) {
            boxes[i]->setText(parts[i]);
        }
        QTest::mouseClick(parts.isEmpty() ? form_->ButtonCalc : form_->ButtonTF, Qt::LeftButton);
        QVERIFY2(platform_->boxes.isEmpty(), qPrintable(platform_->boxes.value(0).text));
        window->Response().Refresh();
        QCOMPARE(Rows(), 6);
        QCOMPARE(window->LabelDesignWarnings->isVisible(), !lines.isEmpty());
        QCOMPARE(window->LabelDesignWarnings->text(), lines.join(QLatin1Char('\n')));
    }

    // Window closed after showing one calculation; a new request is calculated, then a failing
    // one; nothing is drawn while hidden, and reopening draws the last successful calculation.
    void hiddenWindowWaitsAndFailuresAreIgnored() {
        TFormAnalysis* window = OpenCalculated();
        QVERIFY(window);
        QVERIFY(window->close());
        form_->EditFa->setText(u"1.5k"_s);
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QTest::qWait(50);
        QCOMPARE(Cell(0, 1), u"1.420k"_s);
        form_->EditFa->clear();
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QCOMPARE(platform_->boxes.size(), 1);
        Open();
        QTRY_COMPARE(Cell(0, 1), u"1.500k"_s);
    }

    // A calculation before the window exists; open it; it shows that calculation.
    void windowMadeLaterShowsLastCalculation() {
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        Open();
        QTRY_COMPARE(Rows(), 6);
        QCOMPARE(Cell(0, 1), u"1.420k"_s);
    }

    // Default calculation shown; 10 000 characters confirmed as the GBW; the message quotes the
    // start of them and the window keeps its width.
    void longTextKeepsTheWidth() {
        TFormAnalysis* window = OpenCalculated();
        QVERIFY(window);
        const int width = window->width();
        window->EditGbw->setText(QString(10000, QLatin1Char('9')) + QLatin1Char('x'));
        QTest::keyClick(window->EditGbw, Qt::Key_Return);
        QTRY_VERIFY(window->LabelGbwMessage->isVisible());
        QTest::qWait(50);
        QCOMPARE(window->width(), width);
        QVERIFY(window->LabelGbwMessage->text().contains(QString(39, QLatin1Char('9')) + u"…」"_s));
        QVERIFY(window->LabelGbwMessage->text().size() < 120);
    }

    // Default calculation shown; a GBW typed and confirmed; the op-amp curve and rows come and
    // go, a bad text says so in the window (no box), a slow op-amp raises the warning line.
    void opAmpCheck_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("opAmp");
        QTest::addColumn<bool>("warning");
        QTest::newRow("1M") << u"1M"_s << true << true << false;
        QTest::newRow("1G") << u"1G"_s << true << true << false;
        QTest::newRow("slow op-amp 3k") << u"3k"_s << true << true << true;
        QTest::newRow("empty: ideal") << QString() << true << false << false;
        QTest::newRow("letters") << u"abc"_s << false << false << false;
        QTest::newRow("zero") << u"0"_s << false << false << false;
        QTest::newRow("negative") << u"-1M"_s << false << false << false;
    }
    void opAmpCheck() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(bool, opAmp);
        QFETCH(bool, warning);
        TFormAnalysis* window = OpenCalculated();
        QVERIFY(window);
        EnterGbw(text);
        QTRY_COMPARE(Rows(), opAmp ? 8 : 6);
        QCOMPARE(window->LabelGbwMessage->isVisible(), !valid);
        if (!valid) {
            QVERIFY(window->LabelGbwMessage->text().contains(text));
        }
        QCOMPARE(Legend(ResponseCharts::Magnitude).contains(u"実オペアンプ"_s), opAmp);
        QCOMPARE(Legend(ResponseCharts::Step).contains(u"実オペアンプ"_s), false);
        if (opAmp) {
            QCOMPARE(Cell(6, 0), u"実オペアンプ −3 dB [Hz]"_s);
            QCOMPARE(Cell(7, 0), u"実オペアンプ ピーク [dB]"_s);
            QVERIFY(!Cell(6, 2).isEmpty());
        }
        QCOMPARE(window->LabelOpAmpWarning->isVisible(), warning);
        QVERIFY(platform_->boxes.isEmpty());
        EnterGbw(QString());
        QTRY_COMPARE(Rows(), 6);
        QVERIFY(!window->LabelGbwMessage->isVisible());
    }

    // Both windows shown; the main window closed; the program's last window has closed (the
    // analysis window does not hold it open) and destroying the main window takes the analysis
    // window with it.
    void closingMainWindowEndsTheProgram() {
        TFormAnalysis* window = Open();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        int lastClosed = 0;
        QObject context;
        connect(qApp, &QGuiApplication::lastWindowClosed, &context,
                [&lastClosed] { ++lastClosed; });
        QTimer::singleShot(0, &context, [this] { form_->close(); });
        // Not ended by the close: the event loop gives up after a while.
        QTimer::singleShot(3000, &context, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(lastClosed, 1);
        QPointer<TFormAnalysis> watched(window);
        form_.reset();
        QVERIFY(watched.isNull());
    }

    // A design shown, then another far from it (the designs that once hung the redraw, and the
    // extremes of frequency and parts); the new one is drawn: every axis range finite, the
    // dynamic ticks a handful at every change on the way, the time axis reaching the step's end.
    // The redraw time and the memory are printed for the record, not judged.
    void extremeDesigns_data() {
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        const auto calc = [](QString fa, QString fo, QString q, QString r1) {
            return QStringList{u"calc"_s, fa, fo, q, r1};
        };
        const auto tf = [](QString r, QString c) { return QStringList{u"tf"_s, r, r, r, c, c, c}; };
        const QStringList standard = calc(u"1.42k"_s, u"1.42k"_s, u"1.0"_s, u"22k"_s);
        // clang-format off
        QTest::newRow("1T and 1k parts") << standard << tf(u"1T"_s, u"1k"_s);
        QTest::newRow("fa = fo = 100u, R1 = 1M") << standard << calc(u"100u"_s, u"100u"_s, u"1"_s, u"1M"_s);
        QTest::newRow("fa = fo = 1m, R1 = 1M") << standard << calc(u"1m"_s, u"1m"_s, u"1"_s, u"1M"_s);
        QTest::newRow("1 uHz after 1 GHz") << calc(u"1G"_s, u"1G"_s, u"1"_s, u"1k"_s) << calc(u"1u"_s, u"1u"_s, u"1"_s, u"1M"_s);
        QTest::newRow("1 GHz after 1 uHz") << calc(u"1u"_s, u"1u"_s, u"1"_s, u"1M"_s) << calc(u"1G"_s, u"1G"_s, u"1"_s, u"1k"_s);
        QTest::newRow("1m and 1f parts after 1T and 1k") << tf(u"1T"_s, u"1k"_s) << tf(u"1m"_s, u"1f"_s);
        QTest::newRow("1T and 1k parts after 1m and 1f") << tf(u"1m"_s, u"1f"_s) << tf(u"1T"_s, u"1k"_s);
        QTest::newRow("Q = 100") << standard << calc(u"300"_s, u"1k"_s, u"100"_s, u"1k"_s) + QStringList{u"100k"_s, u"10M"_s};
        QTest::newRow("Q = 1000") << standard << calc(u"300"_s, u"1k"_s, u"1000"_s, u"1k"_s) + QStringList{u"1M"_s, u"1G"_s};
        // clang-format on
    }
    void extremeDesigns() {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        TFormAnalysis* window = Open();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QStringList texts;
        const auto run = [&](const QStringList& design) {
            const bool constant = design[0] == QLatin1String("calc");
            QLineEdit* const calcBoxes[] = {form_->EditFa, form_->EditFo, form_->EditQ,
                                            form_->EditR1, form_->EditR2, form_->EditR3};
            QLineEdit* const tfBoxes[] = {form_->EditR1, form_->EditR2, form_->EditR3,
                                          form_->EditC1, form_->EditC2, form_->EditC3};
            if (constant) {
                form_->EditR2->clear();
                form_->EditR3->clear();
            }
            for (int i = 1; i < design.size(); ++i) {
                (constant ? calcBoxes[i - 1] : tfBoxes[i - 1])->setText(design[i]);
            }
            QTest::mouseClick(constant ? form_->ButtonCalc : form_->ButtonTF, Qt::LeftButton);
            QVERIFY2(platform_->boxes.isEmpty(), qPrintable(platform_->boxes.value(0).text));
            QElapsedTimer clock;
            clock.start();
            window->Response().Refresh();
            const qint64 analysed = clock.elapsed();
            window->ChartArea->grab();
            texts << u"%1 ms (%2)"_s.arg(clock.elapsed()).arg(analysed);
        };
        run(first);
        const long before = mirelto::test::ResidentKb();
        const mirelto::test::TickWatch ticks(*window->ChartArea);
        run(second);
        QVERIFY2(ticks.MostTicks() <= 12, qPrintable(QString::number(ticks.MostTicks())));
        QVERIFY(window->Response().HasResult());
        qInfo("redraw %s, resident %ld MB before the second design, %ld MB after",
              qPrintable(texts.join(u", then "_s)), before / 1024,
              mirelto::test::ResidentKb() / 1024);
        for (int kind = 0; kind < ResponseCharts::kKinds; ++kind) {
            for (QAbstractAxis* axis : Chart(ResponseCharts::Kind(kind)).axes()) {
                if (auto* log = qobject_cast<QLogValueAxis*>(axis)) {
                    QVERIFY(std::isfinite(log->min()) && log->min() > 0);
                    QVERIFY(std::isfinite(log->max()) && log->max() > log->min());
                    QVERIFY(std::log10(log->max() / log->min()) < 60);
                } else if (auto* value = qobject_cast<QValueAxis*>(axis)) {
                    QVERIFY(std::isfinite(value->min()) && std::isfinite(value->max()));
                    QVERIFY(value->max() > value->min());
                    if (value->tickType() == QValueAxis::TicksDynamic) {
                        const double ticks = (value->max() - value->min()) / value->tickInterval();
                        QVERIFY2(ticks >= 1 && ticks <= 12, qPrintable(QString::number(ticks)));
                    } else {
                        QVERIFY(value->tickCount() <= 12);
                    }
                }
            }
        }
        const auto* time =
            qobject_cast<QValueAxis*>(Chart(ResponseCharts::Step).axes(Qt::Horizontal).value(0));
        const auto* step =
            qobject_cast<QLineSeries*>(Chart(ResponseCharts::Step).series().value(0));
        QVERIFY(time && step && step->count() >= 400);
        QCOMPARE(step->at(step->count() - 1).x(), time->max());
    }

    // Default calculation shown; one change to what it was calculated from; the notice that the
    // results do not match says so; 定数計算 again; the notice goes.
    void staleNotice_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("mode switch") << u"mode"_s;
        QTest::newRow("fa typed") << u"fa"_s;
        QTest::newRow("R1 typed") << u"R1"_s;
        QTest::newRow("series chosen") << u"series"_s;
    }
    void staleNotice() {
        QFETCH(QString, change);
        TFormAnalysis* window = OpenCalculated();
        QVERIFY(window);
        QVERIFY(window->LabelStale->isHidden());
        if (change == u"mode"_s) {
            QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
        } else if (change == u"fa"_s) {
            QTest::keyClicks(form_->EditFa, u"0"_s);
        } else if (change == u"R1"_s) {
            QTest::keyClicks(form_->EditR1, u"0"_s);
        } else {
            form_->ComboBoxR1->setCurrentIndex((form_->ComboBoxR1->currentIndex() + 1) %
                                               form_->ComboBoxR1->count());
        }
        QVERIFY(window->LabelStale->isVisible());
        QVERIFY(window->ShowsStaleResults());
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QVERIFY(mirelto::DesignState.ResultValid);
        QVERIFY(window->LabelStale->isHidden());
        QVERIFY(!window->ShowsStaleResults());
    }

    // Default calculation shown; 表をコピー; tab-separated header and six rows, CR LF each.
    void copyTable() {
        TFormAnalysis* window = OpenCalculated();
        QVERIFY(window);
        QTest::mouseClick(window->ButtonCopyTable, Qt::LeftButton);
        QCOMPARE(platform_->copied.size(), 1);
        const QString text = platform_->copied.first();
        QVERIFY(text.endsWith(u"\r\n"_s));
        const QStringList lines = text.chopped(2).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], u"項目\t要求\t実回路\t誤差 [%]"_s);
        // Plain numbers a spreadsheet reads, unrounded: Hz, the error in per cent.
        const QStringList fa = lines[1].split(u'\t');
        QCOMPARE(fa[0], u"fa [Hz]"_s);
        QCOMPARE(fa[1], u"1420"_s);
        const double builtFa =
            mirelto::CircuitPoles(mirelto::AnalysisInputFrom(mirelto::DesignState)->built).fa;
        QCOMPARE(fa[2].toDouble(), builtFa);
        QCOMPARE(fa[3].toDouble(), mirelto::RelativeErrorPercent(1420, builtFa));
        QVERIFY(lines[3].startsWith(u"Q\t1\t0.961"_s));
        for (const QString& line : lines) {
            QCOMPARE(line.count(QLatin1Char('\t')), 3);
        }
    }

    // Default calculation shown; 画像をコピー, then PNG/SVG で保存 to PNG, to SVG by the chosen
    // type, and cancelled; the picture of the plots on the clipboard and in the files.
    void copyAndSaveImage() {
        TFormAnalysis* window = OpenCalculated();
        QVERIFY(window);
        QTest::mouseClick(window->ButtonCopyImage, Qt::LeftButton);
        QCOMPARE(platform_->copiedImages.size(), 1);
        QCOMPARE(platform_->copiedImages.first().size(), window->ChartArea->size());

        QTemporaryDir dir;
        platform_->savePath = dir.filePath(u"plot.png"_s);
        QTest::mouseClick(window->ButtonSaveImage, Qt::LeftButton);
        QVERIFY(platform_->offeredFilters.contains(u"*.svg"_s));
        QCOMPARE(QImage(platform_->savePath).size(), window->ChartArea->size());

        platform_->savePath = dir.filePath(u"plot"_s);
        platform_->saveFilter = u"SVG 画像 (*.svg)"_s;
        QTest::mouseClick(window->ButtonSaveImage, Qt::LeftButton);
        QFile svg(dir.filePath(u"plot.svg"_s));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(svg.readAll());
        QVERIFY(content.contains(u"<svg"_s));
        QVERIFY(content.contains(u"振幅特性"_s));

        platform_->savePath.clear();
        QTest::mouseClick(window->ButtonSaveImage, Qt::LeftButton);
        QCOMPARE(platform_->saveDialogs, 3);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
        QVERIFY(platform_->boxes.isEmpty());
    }

    // Presets tab, each normalisation chosen; the line under the selector says what fc means.
    void fcMeaning_data() {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("normalisation");
        QTest::addColumn<QString>("meaning");
        using F = mirelto::ResponseFamily;
        // clang-format off
        QTest::newRow("Butterworth") << int(F::Butterworth) << int(Normalisation::Cutoff3dB) << u"fc: −3 dB となる周波数"_s;
        QTest::newRow("Bessel delay") << int(F::Bessel) << int(Normalisation::Delay) << u"fc: 低域での群遅延が 1/(2π·fc) となる周波数"_s;
        QTest::newRow("Chebyshev ripple edge") << int(F::Chebyshev) << int(Normalisation::RippleEdge) << u"fc: リプル帯域の端の周波数"_s;
        // clang-format on
    }
    void fcMeaning() {
        QFETCH(int, family);
        QFETCH(int, normalisation);
        QFETCH(QString, meaning);
        TFormAnalysis* window = Open();
        QCOMPARE(window->ComboBoxPreset->count(), int(mirelto::Presets().size()));
        window->ComboBoxPreset->setCurrentIndex(
            PresetIndex(mirelto::ResponseFamily(family), Normalisation(normalisation)));
        QCOMPARE(window->LabelFcMeaning->text(), meaning);
    }

    // Presets tab: Bessel at fc = 1 kHz, the main window in LPF or HPF mode; the preview, then
    // 適用; the main window's boxes read back as the preset's fa, fo, Q within 1e-6 (reciprocal
    // frequencies in HPF), and 定数計算 designs from those values.
    void applyPreset_data() {
        QTest::addColumn<int>("normalisation");
        QTest::addColumn<bool>("hpf");
        QTest::newRow("-3 dB, LPF") << int(Normalisation::Cutoff3dB) << false;
        QTest::newRow("-3 dB, HPF") << int(Normalisation::Cutoff3dB) << true;
        QTest::newRow("delay, LPF") << int(Normalisation::Delay) << false;
        QTest::newRow("delay, HPF") << int(Normalisation::Delay) << true;
    }
    void applyPreset() {
        QFETCH(int, normalisation);
        QFETCH(bool, hpf);
        TFormAnalysis* window = Open();
        window->TabAnalysis->setCurrentWidget(window->TabPresets);
        const int index =
            PresetIndex(mirelto::ResponseFamily::Bessel, Normalisation(normalisation));
        window->ComboBoxPreset->setCurrentIndex(index);
        window->EditFc->clear();
        QTest::keyClicks(window->EditFc, u"1k"_s);
        // The mode is switched while the window is open: the preview follows it.
        if (hpf) {
            QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
        }
        QCOMPARE(window->LabelPresetMode->text().startsWith(u"HPF"_s), hpf);
        const mirelto::PoleSet preset =
            mirelto::PresetPoles(mirelto::Presets()[static_cast<std::size_t>(index)], 1000, !hpf);
        const auto readsBack = [](const QLineEdit* box, double value) {
            const double read = mirelto::ParseValue(box->text().toStdString());
            return std::fabs(read - value) <= 1e-6 * value;
        };
        QVERIFY(readsBack(window->EditPresetFa, preset.fa));
        QCOMPARE(form_->EditFa->text(), u"1.42k"_s);
        QTest::mouseClick(window->ButtonApply, Qt::LeftButton);
        QVERIFY(readsBack(form_->EditFa, preset.fa));
        QVERIFY(readsBack(form_->EditFo, preset.fo));
        QVERIFY(readsBack(form_->EditQ, preset.q));
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QVERIFY(std::fabs(mirelto::DesignState.Q - preset.q) <= 1e-6 * preset.q);
        QVERIFY(std::fabs(mirelto::DesignState.Fo - preset.fo) <= 1e-6 * preset.fo);
    }

    // Presets tab with an fc that is no positive value; no preview, 適用 disabled with a message,
    // the main window's boxes untouched.
    void badCutoff_data() {
        QTest::addColumn<QString>("fc");
        QTest::newRow("letters") << u"x"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("zero") << u"0"_s;
        QTest::newRow("negative") << u"-1k"_s;
    }
    void badCutoff() {
        QFETCH(QString, fc);
        TFormAnalysis* window = Open();
        window->TabAnalysis->setCurrentWidget(window->TabPresets);
        window->EditFc->setText(fc);
        QVERIFY(window->LabelPresetMessage->isVisible());
        QVERIFY(!window->ButtonApply->isEnabled());
        QCOMPARE(window->EditPresetFa->text(), QString());
        window->PresetsTab().Apply();
        QCOMPARE(form_->EditFa->text(), u"1.42k"_s);
    }

    // The names the selector lists: one per preset, Japanese, the normalisation named where a
    // family has two; the English name as the item's hint.
    void presetNames() {
        const auto& presets = mirelto::Presets();
        QStringList names;
        for (const auto& preset : presets) {
            names << mirelto::PresetDisplayName(preset, presets);
        }
        QCOMPARE(names.first(), u"バターワース"_s);
        QVERIFY(names.contains(u"ベッセル (−3 dB)"_s));
        QVERIFY(names.contains(u"ベッセル (群遅延)"_s));
        QVERIFY(names.contains(u"チェビシェフ 0.5 dB (リプル端)"_s));
        QVERIFY(names.contains(u"線形位相 0.05°"_s));
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        TFormAnalysis* window = Open();
        QCOMPARE(window->ComboBoxPreset->itemData(0, Qt::ToolTipRole).toString(),
                 QString::fromUtf8(presets[0].name.data(), qsizetype(presets[0].name.size())));
    }

    // Figures of a made-up result with the op-amp curve; the table and the warning line; the
    // request column and errors blank without a request.
    void tableTexts() {
        mirelto::AnalysisResult result;
        result.requestedFigures = {1000, 2000, 0.5, 800, -6.0206, {10, -0.001}};
        result.builtFigures = {1010, 1990, 0.49, 820, -6.5, {10, 0.004}};
        result.opAmpFigures = {NAN, NAN, NAN, 760, -7, {10, 0.6}};
        result.opAmp.magnitudeDb = {0};
        result.opAmpWarning = true;
        auto table = mirelto::MakeFigureTable(result, true);
        QCOMPARE(table.rows.size(), 8);
        QCOMPARE(table.rows[0], (QStringList{u"fa [Hz]"_s, u"1.000k"_s, u"1.010k"_s, u"+1.00"_s}));
        QCOMPARE(table.rows[2].mid(1), (QStringList{u"500.0m"_s, u"490.0m"_s, u"-2.00"_s}));
        QCOMPARE(table.rows[5].mid(1), (QStringList{u"0.00"_s, u"0.00"_s, QString()}));
        QCOMPARE(table.rows[6].mid(1), (QStringList{u"800.0"_s, u"760.0"_s, u"-5.00"_s}));
        QCOMPARE(table.rows[7][2], u"0.60"_s);
        const QString warning = mirelto::OpAmpWarningText(result);
        QVERIFY(warning.contains(u"−3 dB 周波数が -7.32 %"_s));
        QVERIFY(warning.contains(u"ピークゲインが +0.60 dB"_s));
        result.opAmpWarning = false;
        QCOMPARE(mirelto::OpAmpWarningText(result), QString());

        table = mirelto::MakeFigureTable(result, false);
        QCOMPARE(table.rows[0], (QStringList{u"fa [Hz]"_s, QString(), u"1.010k"_s, QString()}));
        QCOMPARE(mirelto::TabSeparated(table).count(u"\r\n"_s), 9);
    }
};

MIRELTO_QTEST_MAIN(TestAnalysis)
#include "tst_analysis.moc"
