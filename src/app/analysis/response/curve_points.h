// The points a plot draws of a curve: of its samples, only those the visible window needs to
// look the same, so that a dense curve (a sharp resonance, thousands of periods of ringing)
// costs a plot what a smooth one costs. The cursor readout keeps every sample.
#pragma once

#include <QList>
#include <QPointF>

#include <span>

namespace mirelto {

// What a plot shows, in its axes' units.
struct PlotWindow {
    double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1;
    bool logX = false;  // the x axis is logarithmic: distances are taken in log10 x
};

// A polyline through (x[i] * xFactor, y[i] * yFactor), non-finite samples left out, reduced to the
// samples that keep it within a quarter pixel of the whole curve on a plot of up to 1000 pixels
// either way: within each of 2000 columns over the window the first, lowest, highest and last
// sample, then of those the ones a straight line between their neighbours would miss by more.
// Only samples within the window and the first one beyond each side are drawn.
QList<QPointF> DrawnPoints(std::span<const double> x, std::span<const double> y,
                           const PlotWindow& window, double xFactor = 1, double yFactor = 1);

}  // namespace mirelto
