// The value axes of the analysis window's response plots, set from the extent of their curves:
// the time unit of the delay and step plots, the phase axis in right angles, the delay axis.
#pragma once

#include <QString>

#include <limits>
#include <vector>

class QValueAxis;

namespace mirelto {

// The lowest and highest finite value of some curves.
struct Extent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Add(const std::vector<double>& values);
    bool Valid() const { return low <= high; }
};

struct TimeUnit {
    double factor;  // seconds times this are in the unit
    QString name;   // "ms"
};
// The unit that shows the largest time of a plot with one to three integer digits.
TimeUnit TimeUnitFor(double largestSeconds);

// Whole right angles around the phase, ticks every 90 degrees (180 over more than 540, more
// while there would be over kMostTicks).
void SetPhaseAxis(QValueAxis& axis, const Extent& phase);
// From zero (or below) to a tenth over the largest delay, in the unit TimeUnitFor gives it;
// returns that unit's factor.
double SetDelayAxis(QValueAxis& axis, const Extent& delay);

}  // namespace mirelto
