// The value axes of the analysis window's response plots, set from the extent of their curves:
// the phase axis in right angles, the delay axis in its time unit.
#pragma once

#include "analysis/response/chart_curves.h"

class QValueAxis;

namespace mirelto {

// Whole right angles around the phase, ticks every 90 degrees (180 over more than 540, more
// while there would be over kMostTicks).
void SetPhaseAxis(QValueAxis& axis, const Extent& phase);
// From zero (or below) to a tenth over the largest delay, in the unit TimeUnitFor gives it;
// returns that unit's factor.
double SetDelayAxis(QValueAxis& axis, const Extent& delay);

}  // namespace mirelto
