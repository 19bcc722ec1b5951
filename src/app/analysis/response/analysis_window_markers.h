// The dotted lines of the analysis window's frequency plots at fa, fo and the -3 dB frequency,
// one line and one label per distinct frequency.
#pragma once

#include <QString>

#include <utility>
#include <vector>

class QChart;
class QFont;

namespace mirelto {

// The frequencies the dotted lines mark (Hz); a NaN one is left out.
struct FrequencyMarkers {
    double fa = 0, fo = 0, cutoff = 0;
};

// Marker lines: frequencies with their labels, in ascending order. Coincident markers share one
// line, its label naming them in the fixed order fa, fo, -3 dB.
std::vector<std::pair<double, QString>> MarkerGroups(const FrequencyMarkers& markers);

// The lines on `chart` over its whole height, out of its legend; labelled near the top, each
// lower than the one before, when asked.
void AddMarkers(QChart& chart, const std::vector<std::pair<double, QString>>& groups, bool labelled,
                const QFont& font);

}  // namespace mirelto
