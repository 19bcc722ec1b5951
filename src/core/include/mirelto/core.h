// Mirelto's calculation core, every public header in one, layer by layer from the bottom:
// numeric (checked arithmetic, root finders), values (value text, E-series), design (the design
// record, the window's analysis and synthesis, messages), response (transfer functions, the
// op-amp model, measures, the analysis window's curves), tools (presets, optimiser, tolerances,
// netlist) and, beside them, output (report, print layout). Standard C++ only; it knows nothing
// of any window.
#pragma once

#include "mirelto/numeric/fault.h"
#include "mirelto/numeric/finite.h"
#include "mirelto/numeric/polinom3.h"
#include "mirelto/numeric/polynomial.h"
#include "mirelto/numeric/portable_random.h"

#include "mirelto/values/eseries.h"
#include "mirelto/values/si_prefix.h"
#include "mirelto/values/value_format.h"
#include "mirelto/values/value_text.h"

#include "mirelto/design/circuit.h"
#include "mirelto/design/constant_calculation.h"
#include "mirelto/design/default_design.h"
#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/design/messages.h"

#include "mirelto/response/analysis.h"
#include "mirelto/response/cutoff.h"
#include "mirelto/response/op_amp.h"
#include "mirelto/response/op_amp_model.h"
#include "mirelto/response/op_amp_poles.h"
#include "mirelto/response/peak.h"
#include "mirelto/response/step.h"
#include "mirelto/response/transfer.h"

#include "mirelto/tools/compensation.h"
#include "mirelto/tools/design_warnings.h"
#include "mirelto/tools/netlist.h"
#include "mirelto/tools/noise.h"
#include "mirelto/tools/opamp_table.h"
#include "mirelto/tools/optimise.h"
#include "mirelto/tools/presets.h"
#include "mirelto/tools/ranking.h"
#include "mirelto/tools/run_control.h"
#include "mirelto/tools/signal_limits.h"
#include "mirelto/tools/spread.h"
#include "mirelto/tools/tolerance.h"

#include "mirelto/output/print_layout.h"
#include "mirelto/output/report.h"
