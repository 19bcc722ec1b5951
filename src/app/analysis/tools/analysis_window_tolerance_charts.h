// The tolerance tab's four histograms: fa, fo, Q and the -3 dB frequency over the trials, each a
// stepped outline of the core's bin counts with a dotted line at the nominal value. Drawing
// only: the counts come from the core's ToleranceResult.
#pragma once

#include <array>

#include <mirelto/tools/tolerance.h>

class QChart;
class QChartView;
class QGridLayout;
class QWidget;

namespace mirelto {

class ToleranceHistograms {
  public:
    enum Kind { Fa, Fo, Q, Cutoff };
    static constexpr int kKinds = 4;

    // Makes the four plots in a 2 x 2 grid of `area`, empty.
    ToleranceHistograms(QWidget& area, QGridLayout& grid);

    void Show(const ToleranceResult& result);
    // Back to the empty plots of the start.
    void Clear();

    QChart* Chart(Kind kind) const;

  private:
    std::array<QChartView*, kKinds> views_{};
};

// The spread a histogram shows.
const Spread& SpreadOf(const ToleranceResult& result, ToleranceHistograms::Kind kind);

}  // namespace mirelto
