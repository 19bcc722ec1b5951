// The dotted lines of the analysis window's frequency plots at fa, fo and the -3 dB frequency,
// one line and one label per distinct frequency.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <utility>
#include <vector>

class QChart;
class QFont;
class QLineSeries;

namespace mirelto {

// The frequencies the dotted lines mark (Hz); a NaN one is left out.
struct FrequencyMarkers {
    double fa = 0, fo = 0, cutoff = 0;
};

// Marker lines: frequencies with their labels, in ascending order. Coincident markers share one
// line, its label naming them in the fixed order fa, fo, -3 dB.
std::vector<std::pair<double, QString>> MarkerGroups(const FrequencyMarkers& markers);

// The lines of one plot over its whole height, out of its legend; labelled near the top, each
// lower than the one before, when asked. Made once and kept: a new drawing moves and names them.
class MarkerLines : public QObject {
  public:
    static constexpr int kMost = 3;  // fa, fo, -3 dB apart

    MarkerLines(QChart& chart, bool labelled, const QFont& font);
    // The lines of `groups` shown (the first kMost), the others hidden and nameless.
    void Show(const std::vector<std::pair<double, QString>>& groups);
    void Hide() { Show({}); }

  private:
    // Over the gain range as it is now, the label point near the top: again on every change of
    // it (zoom, pan, the pass-band view), so that the labels stay in sight.
    void Place();

    QChart& chart_;
    std::array<QLineSeries*, kMost> lines_{};
    std::array<double, kMost> frequencies_{};
};

}  // namespace mirelto
