// Working with the analysis window's plots: SI tick labels, zoom and its reset, the pass-band
// view, the cursor readout of every plot, and the time one redraw of all four plots takes.
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>

#include <cmath>
#include <memory>
#include <vector>

#include <mirelto/design/design_state.h>
#include <mirelto/response/analysis.h>

#include "analysis/analysis_window.h"
#include "analysis/response/analysis_window_charts.h"
#include "analysis/response/analysis_window_readout.h"
#include "analysis/response/analysis_window_response.h"
#include "analysis/shared/analysis_window_table.h"
#include "analysis/response/chart_interaction.h"
#include "analysis/shared/chart_style.h"
#include "app_test_support.h"
#include "calculator/main_window.h"

using namespace Qt::StringLiterals;

using mirelto::ResponseCharts;
using mirelto::TFormAnalysis;
using mirelto::TFormMain;

namespace {

struct Range {
    double low, high;
};

Range XRange(QChart& chart) {
    auto* axis = chart.axes(Qt::Horizontal).value(0);
    if (auto* log = qobject_cast<QLogValueAxis*>(axis)) {
        return {log->min(), log->max()};
    }
    auto* value = qobject_cast<QValueAxis*>(axis);
    return {value->min(), value->max()};
}

Range YRange(QChart& chart) {
    auto* value = qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).value(0));
    return {value->min(), value->max()};
}

// The view's viewport position of the plot point (x, y).
QPoint Pixel(QChartView& view, QPointF value) {
    QChart& chart = *view.chart();
    const QPointF inChart = chart.mapToPosition(value, chart.series().first());
    return view.mapFromScene(chart.mapToScene(inChart));
}

void Send(QWidget& target, QEvent& event) {
    QApplication::sendEvent(&target, &event);
}

// A row for each plot, its kind in the column "kind".
void EachPlot() {
    QTest::addColumn<int>("kind");
    QTest::newRow("magnitude") << int(ResponseCharts::Magnitude);
    QTest::newRow("phase") << int(ResponseCharts::Phase);
    QTest::newRow("group delay") << int(ResponseCharts::GroupDelay);
    QTest::newRow("step") << int(ResponseCharts::Step);
}

}  // namespace

class TestAnalysisPlots : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;

    // The window open on the default calculation's plots, laid out.
    TFormAnalysis* Calculated() {
        TFormAnalysis* window = mirelto::test::OpenAnalysis(*form_);
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return window->Response().HasResult(); }, 5000)) {
            return nullptr;
        }
        for (int kind = 0; kind < ResponseCharts::kKinds; ++kind) {
            QChart& chart = *Charts().Chart(ResponseCharts::Kind(kind));
            if (!QTest::qWaitFor([&] { return chart.plotArea().width() > 50; }, 5000)) {
                return nullptr;
            }
        }
        return window;
    }
    ResponseCharts& Charts() const { return form_->AnalysisWindow()->Response().Charts(); }
    mirelto::AnalysisResult Analysed() const {
        mirelto::AnalysisInput input = *mirelto::AnalysisInputFrom(mirelto::DesignState);
        input.points = mirelto::kPlotPoints;
        return mirelto::Analyse(input);
    }

  private slots:
    void init() { QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_)); }
    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // A log-frequency range; its ticks: decades over more than three, 1-2-5 down to one, linear
    // 1-2-5 steps within one; SI labels.
    void tickLabels_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<QString>("labels");
        QTest::newRow("four decades") << 10.0 << 1e5 << u"10 100 1k 10k 100k"_s;
        QTest::newRow("two decades") << 20.0 << 2000.0 << u"20 50 100 200 500 1k 2k"_s;
        QTest::newRow("within a decade") << 1000.0 << 1500.0 << u"1k 1.1k 1.2k 1.3k 1.4k 1.5k"_s;
        QTest::newRow("megahertz") << 1.5e5 << 3e6 << u"200k 500k 1M 2M"_s;
        QTest::newRow("below one hertz") << 0.1 << 2.0 << u"100m 200m 500m 1 2"_s;
    }
    void tickLabels() {
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(QString, labels);
        QStringList texts;
        for (const auto& [value, text] : mirelto::LogAxisTicks(low, high)) {
            QVERIFY(value >= low * (1 - 1e-9) && value <= high * (1 + 1e-9));
            QCOMPARE(text, mirelto::SiTickText(value));
            texts << text;
        }
        QCOMPARE(texts.join(u' '), labels);
    }

    // Values; their SI tick texts.
    void tickText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("20") << 20.0 << u"20"_s;
        QTest::newRow("1.5k") << 1500.0 << u"1.5k"_s;
        QTest::newRow("rounds up to 1k") << 999.99 << u"1k"_s;
        QTest::newRow("200µ") << 2e-4 << u"200µ"_s;
        QTest::newRow("2.2M") << 2.2e6 << u"2.2M"_s;
        QTest::newRow("0") << 0.0 << u"0"_s;
    }
    void tickText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(mirelto::SiTickText(value), text);
    }

    // The default calculation shown; its frequency axes carry the SI labels of their range.
    void frequencyAxisLabels() {
        QVERIFY(Calculated());
        QChart& chart = *Charts().Chart(ResponseCharts::Magnitude);
        const Range x = XRange(chart);
        QStringList expected;
        for (const auto& tick : mirelto::LogAxisTicks(x.low, x.high)) {
            expected << tick.second;
        }
        QCOMPARE(Charts().FrequencyLabels(ResponseCharts::Magnitude)->categoriesLabels(), expected);
        QVERIFY(expected.contains(u"1k"_s));
    }

    // Each plot: one wheel notch over its middle narrows both ranges; a double-click, and
    // 表示をリセット after another notch, bring back the ranges it had.
    void zoomAndReset_data() { EachPlot(); }
    void zoomAndReset() {
        QFETCH(int, kind);
        TFormAnalysis* window = Calculated();
        QVERIFY(window);
        QChartView& view = *Charts().View(ResponseCharts::Kind(kind));
        QChart& chart = *view.chart();
        const Range x = XRange(chart), y = YRange(chart);
        const QPoint middle = view.mapFromScene(chart.mapToScene(chart.plotArea().center()));
        const auto wheel = [&] {
            QWheelEvent event(middle, view.mapToGlobal(middle), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            Send(*view.viewport(), event);
        };
        wheel();
        const Range zx = XRange(chart), zy = YRange(chart);
        QVERIFY(zx.low > x.low && zx.high < x.high);
        QVERIFY(zy.low > y.low && zy.high < y.high);
        QMouseEvent twice(QEvent::MouseButtonDblClick, middle, view.mapToGlobal(middle),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        Send(*view.viewport(), twice);
        QCOMPARE(XRange(chart).low, x.low);
        QCOMPARE(XRange(chart).high, x.high);
        QCOMPARE(YRange(chart).low, y.low);
        QCOMPARE(YRange(chart).high, y.high);
        wheel();
        QVERIFY(XRange(chart).high < x.high);
        QTest::mouseClick(window->ButtonResetZoom, Qt::LeftButton);
        QCOMPARE(XRange(chart).high, x.high);
        QCOMPARE(YRange(chart).low, y.low);
    }

    // 画像をコピー after a zoom: the picture is the zoomed plot, as on screen; after a reset,
    // the picture of the whole plots again.
    void imageShowsTheZoom() {
        TFormAnalysis* window = Calculated();
        QVERIFY(window);
        QTest::mouseClick(window->ButtonCopyImage, Qt::LeftButton);
        QChartView& view = *Charts().View(ResponseCharts::Magnitude);
        QChart& chart = *view.chart();
        const QPoint middle = view.mapFromScene(chart.mapToScene(chart.plotArea().center()));
        QWheelEvent wheel(middle, view.mapToGlobal(middle), QPoint(), QPoint(0, 240), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        Send(*view.viewport(), wheel);
        QTest::mouseClick(window->ButtonCopyImage, Qt::LeftButton);
        QTest::mouseClick(window->ButtonResetZoom, Qt::LeftButton);
        QTest::qWait(100);  // the scene lays its items out again from the event loop
        QTest::mouseClick(window->ButtonCopyImage, Qt::LeftButton);
        QCOMPARE(platform_->copiedImages.size(), 3);
        QVERIFY(platform_->copiedImages[1] != platform_->copiedImages[0]);
        QCOMPARE(platform_->copiedImages[2], platform_->copiedImages[0]);
    }

    // The pass-band view: the magnitude plot ends half as far again past the -3 dB frequency
    // and shows a few decibels around 0 dB and -3 dB; off, the whole plot again.
    void passBand() {
        TFormAnalysis* window = Calculated();
        QVERIFY(window);
        QChart& chart = *Charts().Chart(ResponseCharts::Magnitude);
        const Range x = XRange(chart), y = YRange(chart);
        window->CheckPassBand->setChecked(true);
        const double cutoff = Analysed().builtFigures.cutoff;
        QCOMPARE(XRange(chart).low, x.low);
        QVERIFY(std::abs(XRange(chart).high - 1.5 * cutoff) < 1e-9 * cutoff);
        QVERIFY(YRange(chart).low < -3.0103 && YRange(chart).high >= 0);
        QVERIFY(YRange(chart).high - YRange(chart).low <= 10);
        // The marker labels move with the range: each label point stays inside the plot.
        int markers = 0;
        for (QAbstractSeries* series : chart.series()) {
            auto* line = qobject_cast<QLineSeries*>(series);
            if (line && line->count() == 3 && line->pointLabelsVisible()) {
                const double labelY = line->at(1).y();
                QVERIFY(labelY > YRange(chart).low && labelY < YRange(chart).high);
                ++markers;
            }
        }
        QVERIFY(markers >= 1);
        window->CheckPassBand->setChecked(false);
        QCOMPARE(XRange(chart).high, x.high);
        QCOMPARE(YRange(chart).low, y.low);
    }

    // The pointer over sample 150 of each plot; the readout names that sample's frequency (or
    // time) and the built circuit's value there, as the analysis computes them.
    void cursorReadout_data() { EachPlot(); }
    void cursorReadout() {
        QFETCH(int, kind);
        QVERIFY(Calculated());
        const mirelto::AnalysisResult result = Analysed();
        const bool step = kind == ResponseCharts::Step;
        const std::vector<double>& xs = step ? result.builtStep.time : result.frequency;
        // The plot's ms or µs.
        const double factor = !step ? 1 : (result.builtStep.time.back() >= 1e-3 ? 1e3 : 1e6);
        QChartView& view = *Charts().View(ResponseCharts::Kind(kind));
        QChart& chart = *view.chart();
        const Range y = YRange(chart);
        const QPoint at = Pixel(view, QPointF(xs[150] * factor, (y.low + y.high) / 2));
        // The sample nearest the plot's x value under that pixel.
        const double under =
            chart.mapToValue(chart.mapFromScene(view.mapToScene(at)), chart.series().first()).x() /
            factor;
        std::size_t sample = 0;
        for (std::size_t i = 1; i < xs.size(); ++i) {
            if (std::abs(xs[i] - under) < std::abs(xs[sample] - under)) {
                sample = i;
            }
        }
        QVERIFY(sample > 100 && sample < 200);
        const QString x = mirelto::SignificantText(xs[sample]) + (step ? u"s"_s : u"Hz"_s);
        QString value;
        switch (kind) {
            case ResponseCharts::Magnitude:
                value = mirelto::DecibelText(result.built.magnitudeDb[sample]);
                break;
            case ResponseCharts::Phase:
                value = mirelto::DegreeText(result.built.phaseDeg[sample]);
                break;
            case ResponseCharts::GroupDelay:
                value = mirelto::SecondsText(result.built.groupDelay[sample]);
                break;
            default:
                value = mirelto::PlainValueText(result.builtStep.value[sample]);
        }
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        Send(*view.viewport(), move);
        const QLabel& readout = Charts().Interaction(ResponseCharts::Kind(kind)).ReadoutLabel();
        QVERIFY(readout.isVisible());
        QVERIFY2(readout.text().startsWith(x), qPrintable(readout.text() + u" / "_s + x));
        QVERIFY2(readout.text().contains(mirelto::BuiltCurveName() + u' ' + value),
                 qPrintable(readout.text() + u" / "_s + value));
        QEvent leave(QEvent::Leave);
        Send(*view.viewport(), leave);
        QVERIFY(readout.isHidden());
    }

    // Not a timed test: prints how long one redraw of the four plots takes (Show and the
    // paint of the window), for the record; redrawn again and again, each plot holds the curves
    // of one drawing.
    void redrawTime() {
        TFormAnalysis* window = Calculated();
        QVERIFY(window);
        const mirelto::AnalysisResult result = Analysed();
        const mirelto::Figures& f = result.requestedFigures;
        constexpr int kRounds = 20;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kRounds; ++i) {
            Charts().Show(result, {f.fa, f.fo, f.cutoff});
            window->ChartArea->repaint();
        }
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRounds;
        qInfo("redraw of the four plots: %.2f ms", ms);
        const auto before = Charts().Chart(ResponseCharts::Magnitude)->series().size();
        Charts().Show(result, {f.fa, f.fo, f.cutoff});
        QCOMPARE(Charts().Chart(ResponseCharts::Magnitude)->series().size(), before);
        QCOMPARE(Charts().Chart(ResponseCharts::Step)->series().size(), 2);
    }
};

MIRELTO_QTEST_MAIN(TestAnalysisPlots)
#include "tst_analysis_plots.moc"
