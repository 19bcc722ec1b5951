// Mirelto's calculation core: engineering value text, E-series, the cubic root finder, the
// filter analysis and synthesis over the design record, the result report and where it prints.
// Standard C++ only; it knows nothing of any window.
#pragma once

#include "mirelto/analysis.h"
#include "mirelto/design_state.h"
#include "mirelto/eseries.h"
#include "mirelto/fault.h"
#include "mirelto/filter.h"
#include "mirelto/messages.h"
#include "mirelto/netlist.h"
#include "mirelto/optimise.h"
#include "mirelto/polinom3.h"
#include "mirelto/presets.h"
#include "mirelto/print_layout.h"
#include "mirelto/report.h"
#include "mirelto/response.h"
#include "mirelto/tolerance.h"
#include "mirelto/value_text.h"
