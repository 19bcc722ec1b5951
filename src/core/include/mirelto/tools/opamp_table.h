// Op-amp tables: the one Mirelto ships (resources/opamps.csv, compiled in) and the user's own in
// the same columns, read from CSV text into OpAmp values, and a part picked by name. Columns by
// header name, in any order; figures in the datasheet units the column names carry (gbw_hz,
// a0_db, slew_v_per_us, en_nv_rthz, in_pa_rthz, ...), converted to SI; an empty cell stays
// missing. Reading files is the programs' business: this module sees text only.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "mirelto/response/op_amp_model.h"

namespace mirelto {

enum class OpAmpTableProblem {
    None,
    NoPartColumn,  // the header has no "part" column
    BadNumber,     // a figure that is not a finite number (row `line`, column `column`)
    BadFlag,       // unity_gain_stable is not yes, no or empty
    NoName,        // a row without a part name
    Unterminated,  // a quoted field runs to the end of the text
};

struct OpAmpTableRead {
    std::vector<OpAmp> opAmps;
    OpAmpTableProblem problem = OpAmpTableProblem::None;  // the first; rows before it are kept
    std::size_t line = 0;                                 // 1-based line of the problem
    std::string_view column;                              // the column of a bad cell
};

// Reads a table; blank lines and lines starting with '#' are skipped.
OpAmpTableRead ParseOpAmpTable(std::string_view csv);

// The table that ships with Mirelto, parsed once.
std::span<const OpAmp> BuiltInOpAmps();

// The op-amp of that name, ignoring ASCII case; the last of equal names wins, so that a user's
// row replaces a shipped one. nullptr when none.
const OpAmp* FindOpAmp(std::span<const OpAmp> opAmps, std::string_view name);

}  // namespace mirelto
