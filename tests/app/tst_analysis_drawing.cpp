// How the analysis window shows a result: the points a curve keeps (every sample within a quarter
// pixel of the drawn line, a sharp resonance or a long ringing no dearer than a smooth curve),
// axes that never ask for more than a dozen ticks whatever the result or the zoom, histogram
// titles in their axes' units, and three real poles compared as the request names them.
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsTextItem>
#include <QGridLayout>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

#include <mirelto/design/constant_calculation.h>
#include <mirelto/design/filter.h>
#include <mirelto/response/analysis.h>

#include "analysis/analysis_window.h"
#include "analysis/response/analysis_window_charts.h"
#include "analysis/response/analysis_window_response.h"
#include "analysis/response/curve_points.h"
#include "analysis/response/response_axes.h"
#include "analysis/shared/analysis_window_table.h"
#include "analysis/shared/chart_style.h"
#include "analysis/tools/analysis_window_tolerance_charts.h"
#include "app_test_support.h"
#include "calculator/main_window.h"

using mirelto::PlotWindow;
using mirelto::ResponseCharts;
using mirelto::ToleranceHistograms;

namespace {

constexpr double kQuarterPixel = 0.25 / 1000;  // of a plot up to 1000 pixels, as promised

struct Samples {
    std::vector<double> x, y;
};

// 20 log10 |H| of a second-order low-pass of quality `q` at fo = 1, over 400 log-spaced points
// from 0.01 to 100 and, as the core's grid has, 129 points over eight half-widths either side.
Samples Resonance(double q) {
    std::vector<double> f;
    for (int i = 0; i < 400; ++i) {
        f.push_back(std::pow(10.0, -2 + 4.0 * i / 399));
    }
    const double halfWidth = 1 / (2 * q);
    for (int i = -64; i <= 64; ++i) {
        f.push_back(1 + i * halfWidth / 8);
    }
    std::sort(f.begin(), f.end());
    Samples s{f, {}};
    for (const double w : f) {
        s.y.push_back(20 * std::log10(1 / std::abs(std::complex<double>(1 - w * w, w / q))));
    }
    return s;
}

// A decaying ringing of `periods` periods, 20 samples each.
Samples Ringing(int periods) {
    Samples s;
    for (int i = 0; i <= 20 * periods; ++i) {
        const double t = i / 20.0;
        s.x.push_back(t);
        s.y.push_back(1 - std::exp(-t / (periods * 2.0)) * std::cos(2 * std::numbers::pi * t));
    }
    return s;
}

Samples Function(int n, const std::function<double(double)>& y) {
    Samples s;
    for (int i = 0; i < n; ++i) {
        s.x.push_back(i);
        s.y.push_back(y(i));
    }
    return s;
}

// Where a sample lies in the window: across and up, in fractions of it.
QPointF Fraction(double x, double y, const PlotWindow& w) {
    const auto across = [&w](double v) { return w.logX ? std::log10(v) : v; };
    return {(across(x) - across(w.xLow)) / (across(w.xHigh) - across(w.xLow)),
            (y - w.yLow) / (w.yHigh - w.yLow)};
}

// How far the window point `p` lies from the drawn line (by fractions of the window).
double Miss(QPointF p, const QList<QPointF>& drawn, const PlotWindow& w) {
    double nearest = HUGE_VAL;
    for (qsizetype k = 0; k + 1 < drawn.size(); ++k) {
        const QPointF a = Fraction(drawn[k].x(), drawn[k].y(), w);
        const QPointF b = Fraction(drawn[k + 1].x(), drawn[k + 1].y(), w);
        const QPointF d = b - a;
        const double length = QPointF::dotProduct(d, d);
        const double t =
            length > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / length, 0.0, 1.0) : 0;
        const QPointF off = p - a - t * d;
        nearest = std::min(nearest, std::hypot(off.x(), off.y()));
    }
    return nearest;
}

}  // namespace

Q_DECLARE_METATYPE(PlotWindow)

class TestAnalysisDrawing : public QObject {
    Q_OBJECT

    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<mirelto::TFormMain> form_;

    // The analysis window (at `size` when valid) on the default calculation's result.
    mirelto::TFormAnalysis* Calculated(QSize size) {
        if (!mirelto::test::OpenFreshMainWindow(platform_, form_)) {
            return nullptr;
        }
        mirelto::TFormAnalysis* window = mirelto::test::OpenAnalysis(*form_);
        if (size.isValid()) {
            window->resize(size);
        }
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        return QTest::qWaitFor([&] { return window->Response().HasResult(); }, 5000) ? window
                                                                                     : nullptr;
    }

  private slots:
    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // Samples and the window drawn; every drawn point is a sample, every sample in the window
    // lies within a quarter pixel of the line, and no more than `most` points are drawn.
    void drawnPoints_data() {
        QTest::addColumn<std::vector<double>>("x");
        QTest::addColumn<std::vector<double>>("y");
        QTest::addColumn<PlotWindow>("window");
        QTest::addColumn<int>("most");
        const Samples line = Function(1000, [](double i) { return 2 * i; });
        const Samples q1 = Resonance(1), q1000 = Resonance(1000), ringing = Ringing(300);
        const Samples holes =
            Function(1000, [](double i) { return int(i) % 50 == 7 ? NAN : std::sin(i / 100); });
        const PlotWindow frequency{0.01, 100, -100, 70, true};
        // clang-format off
        QTest::newRow("straight line, a point every 128 samples") << line.x << line.y << PlotWindow{0, 999, 0, 2000} << 9;
        QTest::newRow("Q = 1") << q1.x << q1.y << frequency << 60;
        QTest::newRow("Q = 1000, as cheap as Q = 1") << q1000.x << q1000.y << frequency << 60;
        QTest::newRow("Q = 1000 zoomed to its peak") << q1000.x << q1000.y << PlotWindow{0.999, 1.001, 40, 61, true} << 120;
        QTest::newRow("300 periods of ringing") << ringing.x << ringing.y << PlotWindow{0, 300, -1, 2} << 1500;
        QTest::newRow("holes left out") << holes.x << holes.y << PlotWindow{0, 999, -1, 1} << 200;
        QTest::newRow("half the curve in the window") << line.x << line.y << PlotWindow{250, 500, 0, 2000} << 4;
        // clang-format on
    }
    void drawnPoints() {
        QFETCH(std::vector<double>, x);
        QFETCH(std::vector<double>, y);
        QFETCH(PlotWindow, window);
        QFETCH(int, most);
        const QList<QPointF> drawn = mirelto::DrawnPoints(x, y, window);
        QVERIFY2(drawn.size() <= most, qPrintable(QString::number(drawn.size())));
        for (const QPointF& p : drawn) {
            const auto at = std::find(x.begin(), x.end(), p.x());
            QVERIFY(at != x.end() && y[at - x.begin()] == p.y());
        }
        for (std::size_t i = 0; i < x.size(); ++i) {
            const QPointF p = Fraction(x[i], y[i], window);
            if (std::isfinite(y[i]) && p.x() >= 0 && p.x() <= 1) {
                QVERIFY2(Miss(p, drawn, window) <= kQuarterPixel * (1 + 1e-9),
                         qPrintable(QStringLiteral("sample %1").arg(i)));
            }
        }
    }

    // More samples than two a pixel column of the widest plot: each column's lowest and highest
    // sample lie on the drawn line (within a quarter pixel), so the drawn band covers the same
    // pixels; far fewer points are drawn.
    void columnExtremes() {
        Samples noise = Function(40000, [](double i) { return std::sin(i * i); });
        for (double& x : noise.x) {
            x += 0.5;  // clear of the columns' edges
        }
        const PlotWindow window{0, 40000, -1, 1};
        const QList<QPointF> drawn = mirelto::DrawnPoints(noise.x, noise.y, window);
        QVERIFY(drawn.size() < 20000);
        for (int column = 0; column < 2000; ++column) {
            const auto first = noise.y.begin() + column * 20;
            for (const auto extreme :
                 {std::min_element(first, first + 20), std::max_element(first, first + 20)}) {
                const double x = noise.x[extreme - noise.y.begin()];
                const auto near =
                    std::lower_bound(drawn.begin(), drawn.end(), x,
                                     [](const QPointF& p, double value) { return p.x() < value; });
                const qsizetype k = near - drawn.begin();
                const QList<QPointF> around = drawn.mid(std::max<qsizetype>(0, k - 2), 4);
                QVERIFY(Miss(Fraction(x, *extreme, window), around, window) <=
                        kQuarterPixel * (1 + 1e-9));
            }
        }
    }

    // A phase that turns many times (an op-amp's lag, a high Q): whole right angles, at most a
    // dozen ticks, every 90 degrees as before up to six.
    void phaseTicks_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<double>("interval");
        QTest::newRow("three quarter turns") << -270.0 << 0.0 << 90.0;
        QTest::newRow("three turns") << -1080.0 << 0.0 << 180.0;
        QTest::newRow("ten turns and a quarter") << -3690.0 << 0.0 << 360.0;
        QTest::newRow("a hundred turns") << -36000.0 << 90.0 << 5760.0;
    }
    void phaseTicks() {
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(double, interval);
        QValueAxis axis;
        mirelto::Extent phase;
        phase.Add({low, high});
        mirelto::SetPhaseAxis(axis, phase);
        QCOMPARE(axis.tickInterval(), interval);
        QVERIFY((axis.max() - axis.min()) / axis.tickInterval() <= mirelto::kMostTicks);
    }

    // A histogram over a range (Hz, or plain for Q) around its nominal value: the title names
    // the unit the axis is in, and the ticks sit on round values of it (1, 2 or 5 times a power
    // of ten, at most a dozen).
    void histogramUnits_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("axisTitle");
        // clang-format off
        QTest::newRow("fo in kHz") << int(ToleranceHistograms::Fo) << 1225.0 << 1319.0 << QStringLiteral("fo [kHz]") << QStringLiteral("[kHz]");
        QTest::newRow("fa in Hz") << int(ToleranceHistograms::Fa) << 48.7 << 51.3 << QStringLiteral("fa [Hz]") << QStringLiteral("[Hz]");
        QTest::newRow("-3 dB in MHz") << int(ToleranceHistograms::Cutoff) << 1.21e6 << 1.37e6 << QStringLiteral("−3 dB 周波数 [MHz]") << QStringLiteral("[MHz]");
        QTest::newRow("Q plain") << int(ToleranceHistograms::Q) << 0.9871 << 1.0133 << QStringLiteral("Q") << QString();
        // clang-format on
    }
    void histogramUnits() {
        QFETCH(int, kind);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(QString, title);
        QFETCH(QString, axisTitle);
        QWidget area;
        auto* grid = new QGridLayout(&area);
        ToleranceHistograms histograms(area, *grid);
        mirelto::ToleranceResult result;
        mirelto::Spread* spreads[] = {&result.fa, &result.fo, &result.q, &result.cutoff};
        mirelto::Spread& spread = *spreads[kind];
        spread = {(low + high) / 2,
                  100,
                  0,
                  0,
                  low,
                  high,
                  low,
                  (low + high) / 2,
                  high,
                  {low, high, {10, 30, 40, 20}},
                  {}};
        histograms.Show(result);
        const QChart& chart = *histograms.Chart(ToleranceHistograms::Kind(kind));
        QCOMPARE(chart.title(), title);
        const auto* x = qobject_cast<const QValueAxis*>(chart.axes(Qt::Horizontal).value(0));
        QCOMPARE(x->titleText(), axisTitle);
        QCOMPARE(x->tickType(), QValueAxis::TicksDynamic);
        QCOMPARE(x->tickAnchor(), 0.0);
        const double decade = std::pow(10.0, std::floor(std::log10(x->tickInterval()) + 1e-9));
        const double step = x->tickInterval() / decade;
        QVERIFY2(
            std::fabs(step - 1) < 1e-9 || std::fabs(step - 2) < 1e-9 || std::fabs(step - 5) < 1e-9,
            qPrintable(QString::number(x->tickInterval())));
        const double ticks = (x->max() - x->min()) / x->tickInterval();
        QVERIFY(ticks >= 1 && ticks <= mirelto::kMostTicks);
    }

    // A request with Q under one half (three real poles) built exactly, without rounding: the
    // comparison names the built poles as the request does, so fa, fo and Q agree with it.
    void realPolesCompared_data() {
        QTest::addColumn<double>("fa");
        QTest::addColumn<double>("fo");
        QTest::addColumn<double>("q");
        QTest::addColumn<bool>("renamed");
        QTest::newRow("fa between the pair") << 1000.0 << 1000.0 << 0.3 << true;
        QTest::newRow("fa below the pair") << 100.0 << 1000.0 << 0.3 << true;
        QTest::newRow("fa above the pair") << 10000.0 << 1000.0 << 0.3 << false;
        QTest::newRow("Q = 0.1, fa between") << 1000.0 << 1000.0 << 0.1 << true;
        QTest::newRow("Q = 0.45, fa above") << 3000.0 << 1000.0 << 0.45 << false;
        QTest::newRow("Q = 0.45, fa below") << 300.0 << 1000.0 << 0.45 << true;
    }
    void realPolesCompared() {
        QFETCH(double, fa);
        QFETCH(double, fo);
        QFETCH(double, q);
        QFETCH(bool, renamed);
        mirelto::ConstantRequest request;
        request.request = {fa, fo, q};
        request.given = {10e3, 10e3, 10e3};
        request.givenTexts = {"10k", "10k", "10k"};
        const mirelto::ConstantOutcome outcome = mirelto::CalculateConstants({}, request);
        QVERIFY(outcome.synthesised);
        mirelto::AnalysisInput input;
        input.requested = request.request;
        input.built = outcome.built;
        // Whether the back-calculation names the poles otherwise: the rows that compared wrongly.
        QCOMPARE(std::fabs(mirelto::CircuitPoles(outcome.built).fa / fa - 1) > 1e-6, renamed);
        const mirelto::FigureTable table = mirelto::MakeFigureTable(mirelto::Analyse(input), true);
        for (int row = 0; row < 3; ++row) {  // fa, fo, Q
            QVERIFY2(std::fabs(table.values[row][3]) < 1e-6,
                     qPrintable(table.rows[row].join(QLatin1Char(' '))));
        }
    }

    // The default calculation drawn, the window at the sizes given: every label of the
    // frequency axes (the right-most "100k" too) lies within its chart.
    void frequencyLabelsInside_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as opened") << QSize();
        QTest::newRow("narrow") << QSize(700, 560);
        QTest::newRow("wide") << QSize(1600, 900);
    }
    void frequencyLabelsInside() {
        QFETCH(QSize, size);
        mirelto::TFormAnalysis* window = Calculated(size);
        QVERIFY(window);
        for (const auto kind :
             {ResponseCharts::Magnitude, ResponseCharts::Phase, ResponseCharts::GroupDelay}) {
            QChartView& view = *window->Response().Charts().View(kind);
            QVERIFY(QTest::qWaitFor([&] { return view.chart()->plotArea().width() > 50; }, 5000));
            QCoreApplication::processEvents();
            const QStringList labels =
                window->Response().Charts().FrequencyLabels(kind)->categoriesLabels();
            QVERIFY(labels.contains(QStringLiteral("100k")));
            const QRectF chart = view.chart()->sceneBoundingRect();
            int seen = 0;
            for (QGraphicsItem* item : view.scene()->items()) {
                auto* text = dynamic_cast<QGraphicsTextItem*>(item);
                if (text && text->isVisible() && labels.contains(text->toPlainText())) {
                    const QRectF at = text->sceneBoundingRect();
                    QVERIFY2(at.left() >= chart.left() && at.right() <= chart.right(),
                             qPrintable(text->toPlainText()));
                    ++seen;
                }
            }
            QVERIFY(seen >= labels.size());
        }
    }

    // Each value axis of the four plots, zoomed out notch by notch far beyond its range: at no
    // moment more than a dozen ticks.
    void zoomOutTicks_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("magnitude") << int(ResponseCharts::Magnitude);
        QTest::newRow("phase") << int(ResponseCharts::Phase);
        QTest::newRow("step") << int(ResponseCharts::Step);
    }
    void zoomOutTicks() {
        QFETCH(int, kind);
        mirelto::TFormAnalysis* window = Calculated({});
        QVERIFY(window);
        QChartView& view = *window->Response().Charts().View(ResponseCharts::Kind(kind));
        QVERIFY(QTest::qWaitFor([&] { return view.chart()->plotArea().width() > 50; }, 5000));
        const mirelto::test::TickWatch ticks(*window->ChartArea);
        const QPoint middle =
            view.mapFromScene(view.chart()->mapToScene(view.chart()->plotArea().center()));
        for (int notch = 0; notch < 12; ++notch) {
            QWheelEvent event(middle, view.mapToGlobal(middle), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view.viewport(), &event);
        }
        QVERIFY2(ticks.MostTicks() > 0 && ticks.MostTicks() <= mirelto::kMostTicks,
                 qPrintable(QString::number(ticks.MostTicks())));
    }
};

MIRELTO_QTEST_MAIN(TestAnalysisDrawing)
#include "tst_analysis_drawing.moc"
