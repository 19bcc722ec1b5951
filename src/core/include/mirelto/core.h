// Mirelto's calculation core: engineering value text, E-series, the cubic root finder, the
// filter analysis and synthesis over the design record, the result report and where it prints.
// Standard C++ only; it knows nothing of any window.
#pragma once

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/design/messages.h"
#include "mirelto/numeric/fault.h"
#include "mirelto/numeric/polinom3.h"
#include "mirelto/output/print_layout.h"
#include "mirelto/output/report.h"
#include "mirelto/response/analysis.h"
#include "mirelto/response/response.h"
#include "mirelto/tools/netlist.h"
#include "mirelto/tools/optimise.h"
#include "mirelto/tools/presets.h"
#include "mirelto/tools/tolerance.h"
#include "mirelto/values/eseries.h"
#include "mirelto/values/value_text.h"
