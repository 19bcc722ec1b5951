// How long the analysis window's four plots take to redraw after a calculation: the core's
// Analyse, the charts' Show and the paint of the plot area, for the default design and for
// designs of Q = 100 and Q = 1000. Each figure is the median of five rounds, a round being the
// mean of several redraws (offscreen platform unless one is set): the posted layout and scene
// updates run, then the area paints. The goal is 8 ms for the
// default design and one 60 Hz frame (16 ms) for every design.
#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdio>
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

double MsSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
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
    std::printf("%-36s %10s %10s %10s %10s %8s\n", "design (medians of 5, ms)", "Analyse", "Show",
                "paint", "total", "points");
    for (const Design& design : designs) {
        const mirelto::AnalysisInput input = InputOf(design);
        std::vector<double> analyse, show, paint, total;
        mirelto::AnalysisResult result;
        for (int round = 0; round < kRounds; ++round) {
            double a = 0, s = 0, p = 0;
            for (int i = 0; i < kRedrawsPerRound; ++i) {
                QElapsedTimer timer;
                timer.start();
                result = mirelto::Analyse(input);
                a += MsSince(timer);
                timer.restart();
                const mirelto::Figures& f = result.requestedFigures;
                charts.Show(result, {f.fa, f.fo, f.cutoff});
                s += MsSince(timer);
                timer.restart();
                // The charts lay out and update their scenes from posted events, as the
                // window's event loop would run them before painting.
                QCoreApplication::processEvents();
                area.repaint();
                p += MsSince(timer);
            }
            analyse.push_back(a / kRedrawsPerRound);
            show.push_back(s / kRedrawsPerRound);
            paint.push_back(p / kRedrawsPerRound);
            total.push_back((a + s + p) / kRedrawsPerRound);
        }
        std::printf("%-36s %10.2f %10.2f %10.2f %10.2f %8zu\n", design.name, Median(analyse),
                    Median(show), Median(paint), Median(total),
                    result.frequency.size() + result.builtStep.time.size());
    }
    return 0;
}
