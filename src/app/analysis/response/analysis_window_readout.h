// The cursor readout of the analysis window's plots: the curves a plot was given, kept as they
// were drawn, and the text naming the x value nearest the pointer and every curve's value there.
#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace mirelto {

struct PlotCurves {
    std::vector<double> x;  // ascending, in the plot's x units
    double xToBase = 1;     // x * xToBase is in hertz or seconds
    QString xUnit;          // "Hz", "s"
    // Each curve's name and values at x, in the plot's y units; NaN where it has none.
    std::vector<std::pair<QString, std::vector<double>>> curves;
    // A y value as the readout shows it, with its unit.
    QString (*yText)(double value) = nullptr;
};

// "1.234kHz", then "要求 −3.01 dB", "実回路 −3.05 dB" a line each: the sample nearest `x` (in the
// plot's x units) and each curve's value there; empty when there are no samples.
QString ReadoutText(const PlotCurves& plot, double x);

// The magnitude plot's pass-band view: from the lowest frequency to 1.5 times the -3 dB frequency
// (LPF) or from a 1.5th of it to the highest (HPF), within the whole range [low, high]; the gain
// range showing every curve in the pass band (up to or from the -3 dB frequency), 0 dB and the
// -3 dB line, half a decibel spare.
struct PassBandRange {
    double low = 0, high = 0;                  // Hz
    double bottom = 0, top = 0, interval = 0;  // dB
};
PassBandRange PassBandOf(const PlotCurves& magnitude, bool isLpf, double cutoff, double low,
                         double high);

// The readout's texts of the four plots' values.
QString DecibelText(double value);
QString DegreeText(double value);
QString SecondsText(double value);
QString PlainValueText(double value);

}  // namespace mirelto
