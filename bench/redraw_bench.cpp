// How long the analysis window's four plots take to redraw after a calculation: the core's
// Analyse, the charts' Show and the paint of the plot area, for the default design and for
// designs of Q = 100 and Q = 1000, in this thread's processor time, and the whole redraw's wall
// time. Each figure is the median of five rounds, a round being the mean of several redraws
// (offscreen platform unless one is set): the posted layout and scene updates run, then the area
// paints. The goal is 8 ms for the default design and one 60 Hz frame (16 ms) for every design.
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QWidget>
#include <QXYSeries>

#include <time.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <mirelto/design/constant_calculation.h>
#include <mirelto/design/default_design.h>
#include <mirelto/response/analysis.h>

#include "analysis/response/analysis_window_charts.h"
#include "analysis/response/analysis_window_response.h"
#include "desktop/fonts.h"

namespace {

constexpr int kRounds = 5;
constexpr int kRedrawsPerRound = 10;

struct Design {
    const char* name;
    mirelto::PoleSet request;
    std::array<double, 3> resistors;
};

// The window's input for a constant calculation of `design` with the default series, a 1 MHz
// op-amp and the window's number of points.
mirelto::AnalysisInput InputOf(const Design& design) {
    const mirelto::DefaultDesignTexts& defaults = mirelto::DefaultDesign();
    mirelto::ConstantRequest request;
    request.request = design.request;
    request.isLpf = true;
    request.given = design.resistors;
    for (std::size_t i = 0; i < 3; ++i) {
        request.givenTexts[i] = std::to_string(design.resistors[i]);
        request.series[i] = defaults.capacitorSeries;
    }
    const mirelto::ConstantOutcome outcome = mirelto::CalculateConstants({}, request);
    mirelto::AnalysisInput input;
    input.isLpf = true;
    input.requested = design.request;
    input.built = outcome.built;
    input.opAmpGbw = 1e6;
    input.points = mirelto::kPlotPoints;
    return input;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of this thread's processor time: on a shared machine the wall time of the same
// work grows with the other processes' load, this does not (the redraw runs on this thread).
class CpuTimer {
  public:
    CpuTimer() { restart(); }
    void restart() { start_ = Now(); }
    double Ms() const { return Now() - start_; }

  private:
    static double Now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }
    double start_ = 0;
};

double MsSince(const CpuTimer& timer) {
    return timer.Ms();
}

// The parts of one redraw, in milliseconds: the core's Analyse, the charts' Show, then the
// posted events the window's event loop runs (the charts' layout and the paint of the four plots),
// their sum and its wall time. Then, not part of the sum, each plot painted once more on its own:
// where the paint goes.
enum Part { kAnalyse, kShow, kLayout, kTotal, kWall, kMagnitude, kPhase, kDelay, kStep, kParts };
const char* const kPartNames[kParts] = {"Analyse", "Show",  "events", "total", "wall",
                                        "magn.",   "phase", "delay",  "step"};

std::array<double, kParts> Redraw(mirelto::ResponseCharts& charts,
                                  const mirelto::AnalysisInput& input) {
    std::array<double, kParts> ms{};
    QElapsedTimer wall;
    wall.start();
    CpuTimer timer;
    const mirelto::AnalysisResult result = mirelto::Analyse(input);
    ms[kAnalyse] = MsSince(timer);
    timer.restart();
    const mirelto::Figures& f = result.requestedFigures;
    charts.Show(result, {f.fa, f.fo, f.cutoff});
    ms[kShow] = MsSince(timer);
    timer.restart();
    QCoreApplication::processEvents();
    ms[kLayout] = MsSince(timer);
    ms[kTotal] = ms[kAnalyse] + ms[kShow] + ms[kLayout];
    ms[kWall] = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    for (int kind = 0; kind < mirelto::ResponseCharts::kKinds; ++kind) {
        timer.restart();
        charts.View(mirelto::ResponseCharts::Kind(kind))->viewport()->repaint();
        ms[kMagnitude + kind] = MsSince(timer);
    }
    return ms;
}

// The points the four plots draw.
qsizetype DrawnPoints(const mirelto::ResponseCharts& charts) {
    qsizetype points = 0;
    for (int kind = 0; kind < mirelto::ResponseCharts::kKinds; ++kind) {
        for (const QAbstractSeries* series :
             charts.Chart(mirelto::ResponseCharts::Kind(kind))->series()) {
            if (const auto* line = qobject_cast<const QXYSeries*>(series);
                line && line->isVisible()) {
                points += line->count();
            }
        }
    }
    return points;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    mirelto::RegisterFontSubstitutions();
    QWidget area;
    auto* grid = new QGridLayout(&area);
    mirelto::ResponseCharts charts(area, *grid);
    area.resize(900, 640);
    area.show();

    const Design designs[] = {
        {"default (fa = fo = 1420 Hz, Q = 1)", {1420, 1420, 1}, {22e3, 22e3, 22e3}},
        {"Q = 100 (fa = 300 Hz, fo = 1 kHz)", {300, 1e3, 100}, {1e3, 100e3, 10e6}},
        {"Q = 1000 (fa = 300 Hz, fo = 1 kHz)", {300, 1e3, 1000}, {1e3, 1e6, 1e9}},
    };
    std::printf("%-36s", "design (ms, medians of 5)");
    for (const char* name : kPartNames) {
        std::printf(" %8s", name);
    }
    std::printf(" %8s\n", "points");
    // A number picks one design (0, 1, 2), for a profiler.
    const int only = argc > 1 ? std::atoi(argv[1]) : -1;
    for (int d = 0; d < 3; ++d) {
        if (only >= 0 && d != only) {
            continue;
        }
        const Design& design = designs[d];
        // Every other redraw a request 1 % higher: each redraw shows new curves, as after a
        // calculation.
        Design moved = design;
        moved.request.fa *= 1.01;
        moved.request.fo *= 1.01;
        const mirelto::AnalysisInput inputs[] = {InputOf(design), InputOf(moved)};
        std::array<std::vector<double>, kParts> rounds;
        for (int round = 0; round < kRounds; ++round) {
            std::array<double, kParts> sum{};
            for (int i = 0; i < kRedrawsPerRound; ++i) {
                const auto ms = Redraw(charts, inputs[i % 2]);
                for (int part = 0; part < kParts; ++part) {
                    sum[part] += ms[part] / kRedrawsPerRound;
                }
            }
            for (int part = 0; part < kParts; ++part) {
                rounds[part].push_back(sum[part]);
            }
        }
        std::printf("%-36s", design.name);
        for (const auto& part : rounds) {
            std::printf(" %8.2f", Median(part));
        }
        std::printf(" %8lld\n", static_cast<long long>(DrawnPoints(charts)));
    }
    return 0;
}
