// The analysis window's settings as a design file holds them: the preset and its fc, the op-amp's
// GBW, the tolerance run's settings and the optimiser's. Read from and shown in the window's
// controls as values, so that the design files never touch them.
#pragma once

#include "design_file.h"

namespace mirelto {

class TFormAnalysis;

void ApplyAnalysisSettings(TFormAnalysis& analysis, const AnalysisSettings& settings);
AnalysisSettings AnalysisSettingsShown(const TFormAnalysis& analysis);

}  // namespace mirelto
