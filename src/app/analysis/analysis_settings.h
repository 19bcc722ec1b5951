// The analysis window's settings as a design file holds them: the preset and its fc, the op-amp's
// GBW, the tolerance run's settings and the optimiser's; and the op-amp and noise band. Read from
// and shown in the window's controls as values, so that the design files never touch them.
#pragma once

#include <optional>

#include "design_file.h"

namespace mirelto {

class TFormAnalysis;

void ApplyAnalysisSettings(TFormAnalysis& analysis, const AnalysisSettings& settings);
AnalysisSettings AnalysisSettingsShown(const TFormAnalysis& analysis);

// The op-amp row and the noise band as a design file keeps them: the part's name, the GBW and
// supply boxes as figures, the amplitude and the band. None while nothing of them is set but
// the GBW box (which AnalysisSettings keeps), so that such a design's file stays as it was.
std::optional<OpAmpSetting> OpAmpSettingShown(const TFormAnalysis& analysis);
// Shows a file's setting; none: typed figures, the other boxes empty.
void ApplyOpAmpSetting(TFormAnalysis& analysis, const std::optional<OpAmpSetting>& setting);

}  // namespace mirelto
